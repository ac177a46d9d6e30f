#pragma once

#include <QDialog>

#include "Desktop.h"

class QLabel;
class QPushButton;

namespace tessary {

class ClickLabel;

// The About box: the program's name and version, what it does, and the
// maker's pages and address. It closes itself when closed (OK, its frame
// or the program's end).
class frmAboutTessary : public QDialog {
  Q_OBJECT
 public:
  frmAboutTessary(Desktop& desktop, QWidget* parent);

  // Starts the desktop's system information tool, or says there is none.
  void StartSysInfo();

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void InitLinks();
  void lblEmail_Click();

  Desktop& desktop_;

  QLabel* picIcon;
  QLabel* lblTitle;
  ClickLabel* lblVersion;
  QLabel* lblDescription[3];
  QLabel* Label1;
  QLabel* Label2;
  ClickLabel* lblEmail;
  ClickLabel* lblCorvale;
  QLabel* lblDisclaimer;
  QPushButton* cmdOK;
  QPushButton* cmdSysInfo;
};

}  // namespace tessary
