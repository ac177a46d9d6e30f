// The line under the tabs that tells, after a build, what the map left
// out because it could not be read; Details lists each entry.
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

#include "frmTessary.h"

namespace tessary {

void frmTessary::InitWarnings() {
  lblWarnings = new QLabel(this);
  lblWarnings->setObjectName("lblWarnings");
  lblWarnings->setTextFormat(Qt::PlainText);
  cmdWarnings = new QPushButton("&Details…", this);
  cmdWarnings->setObjectName("cmdWarnings");
  cmdWarnings->setAutoDefault(true);
  cmdWarnings->setAccessibleName("Details of what the map left out");
  statusBar()->addWidget(lblWarnings, 1);
  statusBar()->addPermanentWidget(cmdWarnings);
  statusBar()->hide();
  connect(cmdWarnings, &QPushButton::clicked, this, [this] {
    desktop_.messageBoxes.Show(
        this,
        {"Left out of the map", warnings_.Summary(), MessageIcon::kInformation,
         MessageButtons::kOk, warnings_.Details()});
  });
}

// The page is built all the same; the line goes with the next build.
void frmTessary::ShowWarnings(const BuildWarnings& warnings) {
  warnings_ = warnings;
  lblWarnings->setText(warnings.Empty()
                           ? QString()
                           : "Left out of the map: " + warnings.Summary());
  statusBar()->setVisible(!warnings.Empty());
}

}  // namespace tessary
