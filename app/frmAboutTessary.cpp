#include "frmAboutTessary.h"

#include <QEvent>
#include <QPixmap>
#include <QPushButton>

#include "Controls.h"
#include "Legibility.h"
#include "OpenBrowser.h"
#include "Version.h"

namespace tessary {
namespace {

const char* const kDescriptions[3] = {
    "Tessary automatically generates an HTML formatted index of selected "
    "file types within a directory (folder) and its subdirectories.    ",
    "The generated file can be used as a \"site map\" page on a website or as "
    "a convenient way to access browser viewable files on a personal "
    "computer.",
    "Free software: please feel free to copy and share."};
constexpr TwipsRect kDescriptionPlaces[3] = {
    {1200, 960, 4800, 615}, {1200, 1620, 4800, 780}, {1200, 2460, 4800, 255}};

// The first of these that starts shows the system's hardware and software.
const char* const kSystemTools[] = {"hardinfo2",
                                    "hardinfo",
                                    "gnome-system-monitor",
                                    "plasma-systemmonitor",
                                    "ksysguard",
                                    "xfce4-taskmanager"};

ClickLabel* MakeLink(QWidget* parent, const QString& name,
                     const QString& caption, TwipsRect place) {
  ClickLabel* label = MakeLabel(parent, name, caption, place);
  QFont font = label->font();
  font.setUnderline(true);
  label->setFont(font);
  SetCaptionColour(label, kBlue);
  label->setCursor(Qt::PointingHandCursor);
  return label;
}

}  // namespace

frmAboutTessary::frmAboutTessary(Desktop& desktop, QWidget* parent)
    : QDialog(parent), desktop_(desktop) {
  setObjectName("frmAboutTessary");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("About " + kAppTitle);
  setFont(NamedFont(kFormFont, 8.25));
  setFixedSize(Twips(6240), Twips(4620));

  picIcon = MakeLabel(this, "picIcon", {}, {240, 240, 720, 720});
  picIcon->setPixmap(QPixmap(":/icons/tessary.png"));
  lblTitle = MakeLabel(this, "lblTitle", kAppTitle, {1200, 240, 4800, 360});
  lblTitle->setFont(NamedFont(kFormFont, 12, true));
  lblVersion = MakeLink(this, "lblVersion",
                        "Version " + QString::fromUtf8(mapgen::kVersion),
                        {1200, 600, 4800, 255});
  lblVersion->setToolTip("Click to download latest version");
  for (int i = 0; i < 3; ++i) {
    lblDescription[i] = MakeLabel(this, Indexed("lblDescription", i),
                                  kDescriptions[i], kDescriptionPlaces[i]);
  }
  InitLinks();
  lblDisclaimer = MakeLabel(this, "lblDisclaimer",
                            "Corvale Software provides affordable, quality "
                            "custom software for business and personal use.",
                            {240, 3600, 4200, 615});
  cmdOK = MakeButton(this, "cmdOK", "OK", {4680, 3540, 1320, 375});
  cmdOK->setDefault(true);
  cmdSysInfo = MakeButton(this, "cmdSysInfo", "&System Info...",
                          {4680, 4020, 1320, 375});
  connect(cmdOK, &QPushButton::clicked, this, &frmAboutTessary::close);
  connect(cmdSysInfo, &QPushButton::clicked, this,
          &frmAboutTessary::StartSysInfo);
  KeepReadable(this);
}

// The links keep a colour that reads on the theme's background.
void frmAboutTessary::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) KeepReadable(this);
}

void frmAboutTessary::InitLinks() {
  Label2 = MakeLabel(this, "Label2", "Email :", {1200, 2820, 1440, 255});
  lblEmail =
      MakeLink(this, "lblEmail", kContactAddress, {2640, 2820, 3360, 255});
  Label1 =
      MakeLabel(this, "Label1", "Visit Corvale at ", {1200, 3120, 1440, 255});
  lblCorvale = MakeLink(this, "lblCorvale", kHomePage, {2640, 3120, 3360, 255});
  connect(lblEmail, &ClickLabel::clicked, this,
          &frmAboutTessary::lblEmail_Click);
  connect(lblCorvale, &ClickLabel::clicked, this,
          [this] { OpenBrowser(kHomePage, desktop_, this); });
  connect(lblVersion, &ClickLabel::clicked, this,
          [this] { OpenBrowser(kDownloadPage, desktop_, this); });
}

// A mail program that cannot be started leaves nothing to tell the user
// that the address shown does not already.
void frmAboutTessary::lblEmail_Click() {
  const QString subject = QStringLiteral("Request-Information");
  const QString address = lblEmail->text();
  QString reason;
  StartFirst({{"xdg-email", "--subject", subject, address},
              {"xdg-open", "mailto:" + address + "?subject=" + subject}},
             desktop_.launcher, reason);
}

void frmAboutTessary::StartSysInfo() {
  QList<QStringList> tools;
  for (const char* tool : kSystemTools) tools.append({tool});
  QString reason;
  if (StartFirst(tools, desktop_.launcher, reason)) return;
  desktop_.messageBoxes.Show(
      this, {kAppTitle, "System Information Is Unavailable At This Time"});
}

}  // namespace tessary
