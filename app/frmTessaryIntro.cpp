#include "frmTessaryIntro.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

#include "Controls.h"
#include "Landscape.h"
#include "OpenBrowser.h"

namespace tessary {
namespace {

const char* const kClickHere = "Click Here !";

}  // namespace

frmTessaryIntro::frmTessaryIntro(Desktop& desktop, QWidget& mainWindow,
                                 std::function<void()> endProgram)
    : desktop_(desktop),
      mainWindow_(mainWindow),
      endProgram_(std::move(endProgram)) {
  setObjectName("frmTessaryIntro");
  setWindowTitle("Tessary by Corvale Software");
  setFont(NamedFont(kFormFont, 8.25));
  setFixedSize(Twips(6000), Twips(4320));

  auto* picture = MakeLabel(this, "Image1", {}, {240, 240, 5520, 2160});
  picture->setPixmap(Landscape(picture->width(), picture->height()));
  picture->setToolTip(kClickHere);
  picture->setCursor(Qt::PointingHandCursor);
  connect(picture, &ClickLabel::clicked, this, &frmTessaryIntro::OpenHomePage);
  Image1 = picture;

  const char* const texts[2] = {
      "Free software from Corvale Software",
      "Welcome!   With Tessary by Corvale Software you can automatically "
      "create a site map webpage.  This software is free.  Please feel free "
      "to copy and share.  Click the picture to learn more about Corvale "
      "Software."};
  const TwipsRect places[2] = {{240, 2520, 5520, 255}, {240, 2820, 5520, 840}};
  for (int i = 0; i < 2; ++i) {
    auto* label = MakeLabel(this, Indexed("Label1", i), texts[i], places[i]);
    label->setToolTip(kClickHere);
    connect(label, &ClickLabel::clicked, this, &frmTessaryIntro::OpenHomePage);
    Label1[i] = label;
  }
  Label1[0]->setFont(NamedFont(kFormFont, 8.25, true));

  cmdStart = MakeButton(this, "cmdStart", "Start", {2520, 3780, 975, 375});
  cmdStart->setDefault(true);
  connect(cmdStart, &QPushButton::clicked, this,
          &frmTessaryIntro::cmdStart_Click);
}

void frmTessaryIntro::cmdStart_Click() {
  started_ = true;
  mainWindow_.show();
  close();
}

void frmTessaryIntro::OpenHomePage() { OpenBrowser(kHomePage, desktop_, this); }

void frmTessaryIntro::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (!started_) endProgram_();
}

}  // namespace tessary
