#include "Legibility.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "Colours.h"

namespace tessary {
namespace {

constexpr const char* kCaptionColour = "captionColour";
constexpr const char* kSurfaceColour = "surfaceColour";

double Channel(int value) {
  const double c = value / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& colour) {
  return 0.2126 * Channel(colour.red()) + 0.7152 * Channel(colour.green()) +
         0.0722 * Channel(colour.blue());
}

// The theme's own text on a designed background reads as well as dark
// text on white nearly does; disabled text need not meet the full
// contrast, but should still be seen.
constexpr double kSurfaceContrast = 7.0;
constexpr double kDisabledContrast = 3.0;

// The theme's text colours for `role`, each made to read on `background`.
void ReadableRole(QPalette& palette, QPalette::ColorRole role,
                  const QColor& background) {
  const QPalette theme = QApplication::palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(
        group, role,
        ReadableOn(theme.color(group, role), background, kSurfaceContrast));
  }
  palette.setColor(QPalette::Disabled, role,
                   ReadableOn(theme.color(QPalette::Disabled, role), background,
                              kDisabledContrast));
}

}  // namespace

double ContrastRatio(const QColor& first, const QColor& second) {
  const double a = Luminance(first);
  const double b = Luminance(second);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor ReadableOn(const QColor& wanted, const QColor& background,
                  double contrast) {
  if (ContrastRatio(wanted, background) >= contrast) return wanted;
  const bool darken = Luminance(background) > 0.18;
  const QColor hsl = wanted.toHsl();
  for (int lightness = hsl.lightness(); lightness >= 0 && lightness <= 255;
       lightness += darken ? -8 : 8) {
    const QColor tried =
        QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), lightness);
    if (ContrastRatio(tried, background) >= contrast) return tried;
  }
  return darken ? Qt::black : Qt::white;
}

QColor BackgroundOf(const QWidget* widget) {
  for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    if (w->autoFillBackground() || w->isWindow()) {
      return w->palette().color(w->backgroundRole());
    }
  }
  return QApplication::palette().color(QPalette::Window);
}

void SetCaptionColour(QWidget* caption, mapgen::Colour colour) {
  caption->setProperty(kCaptionColour, ToQColor(colour));
  SetForeColor(caption, colour);
}

void SetSurfaceColour(QWidget* surface, mapgen::Colour colour) {
  surface->setProperty(kSurfaceColour, true);
  SetBackColor(surface, colour);
}

void KeepReadable(QWidget* top) {
  for (QWidget* widget : top->findChildren<QWidget*>()) {
    const QVariant wanted = widget->property(kCaptionColour);
    if (wanted.isValid()) {
      QPalette palette = widget->palette();
      palette.setColor(
          widget->foregroundRole(),
          ReadableOn(wanted.value<QColor>(), BackgroundOf(widget)));
      widget->setPalette(palette);
    } else if (widget->property(kSurfaceColour).isValid()) {
      QPalette palette = widget->palette();
      ReadableRole(palette, QPalette::WindowText,
                   palette.color(widget->backgroundRole()));
      widget->setPalette(palette);
    }
  }
}

}  // namespace tessary
