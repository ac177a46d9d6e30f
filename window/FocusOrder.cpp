// The order Tab goes through the window: from the tab strip through the
// front tab's controls, in the order each tab makes them, to the command
// column, the warnings' Details, and round to the strip. Tabs behind the
// front one are hidden, so Tab passes over their controls.
#include <QPushButton>
#include <vector>

#include "TabLabel.h"
#include "frmTessary.h"

namespace tessary {
namespace {

// A control that Tab stops on by itself, not one that hands its focus on
// (the line of an editable list) nor a part of another window (a list's
// drop-down).
bool TakesTabFocus(const QWidget* widget, const QWidget* window) {
  return (widget->focusPolicy() & Qt::TabFocus) != 0 &&
         widget->focusProxy() == nullptr && widget->window() == window;
}

}  // namespace

void frmTessary::InitFocusOrder() {
  std::vector<QWidget*> order(std::begin(lblToolbar), std::end(lblToolbar));
  for (QFrame* tab : fraOptions) {
    for (QWidget* control : tab->findChildren<QWidget*>()) {
      if (TakesTabFocus(control, this)) order.push_back(control);
    }
  }
  order.insert(order.end(),
               {cmdBuildMap, cmdPreview, cmdSave, cmdExit, cmdWarnings});
  for (std::size_t i = 1; i < order.size(); ++i) {
    QWidget::setTabOrder(order[i - 1], order[i]);
  }
}

}  // namespace tessary
