// The tab strip: six labels along the top that the keyboard reaches too, one
// frame per tab under them, the switch that brings a frame to the front, and
// the hover highlight. The frames' mouse events pass through here too.
#include <QFrame>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>
#include <iterator>

#include "Legibility.h"
#include "TabLabel.h"
#include "frmTessary.h"

namespace tessary {
namespace {

constexpr int kTabs = frmTessary::kTabs;
constexpr int kTabStep = 1320;  // neighbouring labels overlap by 15
constexpr int kFrameTop = 240;  // the front frame covers the strip's foot
// Every frame ends where the command column begins, so the column stays
// visible and clickable whatever the tab.
constexpr int kFrameWidth = 8055;
constexpr int kFrameHeight = 5535;

const char* const kTabCaptions[kTabs] = {"Folder",     "Content", "Text",
                                         "Appearance", "Map",     "Publish"};

// No frame is the hover white: an active label is known by its frame's
// colour.
constexpr mapgen::Colour kFrameColours[kTabs] = {
    0x00E8FFFF, 0x00FFF4DF, 0x00FAFFEC, 0x00F0FFF0, 0x00FFFFFE, 0x00FFF0F8};

// The black edge along the top of each frame, open under its own tab.
struct Edge {
  int gapFrom;
  int gapTo;
  int end;
};
constexpr Edge kTopEdges[kTabs] = {{0, 1320, 8040},    {1320, 2640, 8040},
                                   {2640, 3960, 8040}, {3960, 5280, 8040},
                                   {5280, 6720, 8160}, {6600, 7935, 8040}};

void DrawTopEdge(QFrame* frame, Edge edge) {
  if (edge.gapFrom > 0) {
    MakeShape(frame, {}, kBlack, {0, 0, edge.gapFrom, 15});
  }
  MakeShape(frame, "lineTopEdge", kBlack,
            {edge.gapTo, 0, edge.end - edge.gapTo, 15});
}

}  // namespace

void frmTessary::InitTabStrip() {
  central_->setMouseTracking(true);
  central_->installEventFilter(this);
  auto* strip = new TabStrip(central_);
  strip->setObjectName("tabStrip");
  strip->setAccessibleName("Tabs");
  PlaceTwips(strip, {0, 0, kTabStep * (kTabs - 1) + 1335, 300});
  for (int i = 0; i < kTabs; ++i) {
    lblToolbar[i] = new TabLabel(kTabCaptions[i], strip);
    lblToolbar[i]->setObjectName(Indexed("lblToolbar", i));
    PlaceTwips(lblToolbar[i], {kTabStep * i, 0, 1335, 300});
    lblToolbar[i]->setAlignment(Qt::AlignCenter);
    lblToolbar[i]->setFrameStyle(QFrame::Box | QFrame::Plain);
    // The caption takes the hover colours; the border stays black.
    lblToolbar[i]->setForegroundRole(QPalette::Text);
    SetForeColor(lblToolbar[i], kBlack);
    SetBackColor(lblToolbar[i], kLightGrey);
    lblToolbar[i]->setMouseTracking(true);
    lblToolbar[i]->installEventFilter(this);
    connect(lblToolbar[i], &ClickLabel::clicked, this,
            [this, i] { lblToolbar_Click(i); });
    connect(lblToolbar[i], &TabLabel::stepRequested, this,
            &frmTessary::StepTab);
  }
  const auto shortcut = [this](QKeyCombination keys, int step) {
    connect(new QShortcut(keys, this), &QShortcut::activated, this,
            [this, step] { StepTab(step, false); });
  };
  shortcut(Qt::CTRL | Qt::Key_PageUp, -1);
  shortcut(Qt::CTRL | Qt::Key_PageDown, 1);
  for (int i = 0; i < kTabs; ++i) {
    fraOptions[i] = new QFrame(central_);
    fraOptions[i]->setObjectName(Indexed("fraOptions", i));
    PlaceTwips(fraOptions[i], {0, kFrameTop, kFrameWidth, kFrameHeight});
    SetSurfaceColour(fraOptions[i], kFrameColours[i]);
    fraOptions[i]->setMouseTracking(true);
    fraOptions[i]->installEventFilter(this);
    DrawTopEdge(fraOptions[i], kTopEdges[i]);
  }
}

void frmTessary::lblToolbar_Click(int index) {
  CheckBaseFolder();
  const bool inStrip = lblToolbar[activeTab_]->hasFocus();
  activeTab_ = index;
  fraOptions[index]->raise();
  for (int i = 0; i < kTabs; ++i) {
    lblToolbar[i]->setCurrent(i == index);
    SetBackColor(lblToolbar[i],
                 i == index ? BackColor(fraOptions[i]) : kLightGrey);
    fraOptions[i]->move(0, lblToolbar[0]->y() + Twips(kFrameTop));
    // Frames behind the front one take no keyboard focus.
    fraOptions[i]->setVisible(i == index);
  }
  RefreshPreview();
  if (inStrip) lblToolbar[index]->setFocus();
  if (index == 4) cmdBuildMap->setFocus();
}

// From the keyboard the focus stays in the strip, on the new tab, so the
// arrows can go on from there.
void frmTessary::StepTab(int step, bool toEnd) {
  const int index =
      toEnd ? (step < 0 ? 0 : kTabs - 1) : (activeTab_ + step + kTabs) % kTabs;
  lblToolbar_Click(index);
  lblToolbar[index]->setFocus();
}

// The hovered label shows blue text, on white unless it is the active tab;
// every other label returns to black text and, when inactive, to grey.
// A hovered index of -1 clears the highlight.
void frmTessary::HighlightTab(int hovered) {
  for (int i = 0; i < kTabs; ++i) {
    SetForeColor(lblToolbar[i], i == hovered ? kBlue : kBlack);
    if (BackColor(lblToolbar[i]) != BackColor(fraOptions[i])) {
      SetBackColor(lblToolbar[i], i == hovered ? kWhite : kLightGrey);
    }
  }
}

bool frmTessary::eventFilter(QObject* watched, QEvent* event) {
  if (watched == central_ && event->type() == QEvent::Resize) FollowSize();
  const auto frame =
      std::find(std::begin(fraOptions), std::end(fraOptions), watched);
  const bool overFrame = frame != std::end(fraOptions);
  if (overFrame && event->type() == QEvent::MouseButtonRelease) {
    fraOptions_MouseUp(int(frame - std::begin(fraOptions)),
                       static_cast<QMouseEvent*>(event)->position().toPoint());
  }
  const bool moved =
      event->type() == QEvent::MouseMove || event->type() == QEvent::Enter;
  // The pointer may leave a label where no frame or window surface lies,
  // such as the menu bar above it.
  const bool left = event->type() == QEvent::Leave;
  if (!moved && !left) return QMainWindow::eventFilter(watched, event);
  for (int i = 0; i < kTabs; ++i) {
    if (watched == lblToolbar[i]) {
      HighlightTab(left ? -1 : i);
      if (left) return false;
      // Handled here, so the move does not reach the window's surface too.
      return event->type() == QEvent::MouseMove;
    }
  }
  if (overFrame || watched == central_) HighlightTab(-1);
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace tessary
