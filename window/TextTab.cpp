// The Text tab: the preface and the appendix of the page.
#include <QFrame>
#include <QPlainTextEdit>

#include "Legibility.h"
#include "TextArea.h"
#include "frmTessary.h"

namespace tessary {
namespace {

// The preface and the appendix may hold HTML laid out with tabs.
TextArea* MakeTextArea(QWidget* parent, const char* name, const char* tip,
                       TwipsRect place) {
  auto* area = new TextArea(parent, TextArea::Tabs::kTyped);
  area->setObjectName(name);
  area->setToolTip(tip);
  area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  PlaceTwips(area, place);
  return area;
}

ClickLabel* MakeHeading(QWidget* parent, int index, const char* caption,
                        TwipsRect place) {
  ClickLabel* label = MakeLabel(parent, Indexed("lblX", index), caption, place);
  label->setFont(NamedFont(kFormFont, 9.75, true));
  SetCaptionColour(label, kDarkBlue);
  return label;
}

}  // namespace

void frmTessary::InitTextTab() {
  QFrame* tab = fraOptions[2];
  lblX[3] = MakeHeading(tab, 3, "Preface ", {240, 240, 1095, 285});
  lblX[5] = MakeLabel(tab, Indexed("lblX", 5), "(appears before file list)",
                      {1320, 270, 3135, 255});
  txtPreface =
      MakeTextArea(tab, "txtPreface",
                   "Any text you wish to appear immediately after the title.",
                   {240, 570, 7575, 1875});
  lblX[4] = MakeHeading(tab, 4, "Appendix ", {240, 2640, 1095, 285});
  lblX[6] = MakeLabel(tab, Indexed("lblX", 6), "(appears after file list)",
                      {1320, 2670, 3135, 255});
  txtAppendix =
      MakeTextArea(tab, "txtAppendix",
                   "Any text you wish to appear at the bottom of the page.",
                   {240, 2970, 7575, 1875});
  NameAfter(lblX[3], txtPreface);
  NameAfter(lblX[4], txtAppendix);
  lblX[7] =
      MakeLabel(tab, Indexed("lblX", 7), "Note:  See Help for embedding HTML.",
                {240, 5010, 4335, 255});
}

}  // namespace tessary
