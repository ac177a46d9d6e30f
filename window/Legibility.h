#pragma once

#include <QColor>

#include "MapSettings.h"

class QWidget;

namespace tessary {

// Text the designed colours put on a designed background, such as the
// tabs' pastel pages, meets whatever colours the desktop's theme gives
// the rest: each caption keeps its colour only where it reads.

// How far apart two colours stand for the eye, from 1 to 21, as the web's
// accessibility guidelines measure it; text wants 4.5 at least.
double ContrastRatio(const QColor& first, const QColor& second);

inline constexpr double kReadableContrast = 4.5;

// `wanted` where it reads on `background`, else the colour of its hue
// nearest to it that does, lighter or darker as the background needs.
QColor ReadableOn(const QColor& wanted, const QColor& background,
                  double contrast = kReadableContrast);

// What a widget's text stands on: the nearest of it and its parents that
// paints its own background, or the window's.
QColor BackgroundOf(const QWidget* widget);

// A caption in a colour of its own, such as a blue link; kept readable by
// KeepReadable.
void SetCaptionColour(QWidget* caption, mapgen::Colour colour);

// A surface painted in a colour of its own, such as a tab's page, whose
// captions take the theme's text colour made to read on it.
void SetSurfaceColour(QWidget* surface, mapgen::Colour colour);

// Gives every caption below `top` that has a colour of its own the
// nearest colour that reads on its background, and every surface with a
// colour of its own the theme's text colours, made to read on it. Called
// again whenever the theme's colours change.
void KeepReadable(QWidget* top);

}  // namespace tessary
