#pragma once

#include <QWidget>
#include <functional>

#include "Desktop.h"

class QLabel;
class QPushButton;

namespace tessary {

// The welcome window. Start shows the main window and closes the welcome
// window; the picture and the texts open the maker's home page. Closing it
// through its frame ends the program, as the main window is still hidden.
class frmTessaryIntro : public QWidget {
  Q_OBJECT
 public:
  frmTessaryIntro(Desktop& desktop, QWidget& mainWindow,
                  std::function<void()> endProgram);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void cmdStart_Click();
  void OpenHomePage();

  Desktop& desktop_;
  QWidget& mainWindow_;
  std::function<void()> endProgram_;
  bool started_ = false;

  QPushButton* cmdStart;
  QLabel* Image1;
  QLabel* Label1[2];
};

}  // namespace tessary
