// The Publish tab: what a page needs beyond the classic one to be put on
// a site, shown in any language and found by search engines.
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "TextArea.h"
#include "frmTessary.h"

namespace tessary {
namespace {

// The name the window writes the XML sitemap under, beside the page, and
// what a compressed one's name ends in.
const QString kSitemapName = QStringLiteral("sitemap.xml");
const QString kCompressed = QStringLiteral(".gz");

}  // namespace

void frmTessary::InitPublishTab() {
  QFrame* tab = fraOptions[5];
  QGroupBox* Frame5 =
      MakeGroup(tab, "Frame5", "Leave out", {120, 240, 3735, 3480});
  Frame5->setToolTip(" Files and folders the map leaves out ");
  QLabel* lblExclude =
      MakeLabel(Frame5, "lblExclude",
                "Names like these, one a line:", {120, 300, 3495, 255});
  // No name to leave out holds a tab.
  txtExclude = new TextArea(Frame5, TextArea::Tabs::kNone);
  txtExclude->setObjectName("txtExclude");
  txtExclude->setToolTip(
      "node_modules, *.bak, draft-?.html: a folder left out is not opened");
  txtExclude->setLineWrapMode(QPlainTextEdit::NoWrap);
  PlaceTwips(txtExclude, {120, 600, 3495, 2760});
  NameAfter(lblExclude, txtExclude);
  txtExclude->setAccessibleName("Names to leave out");

  QGroupBox* Frame6 =
      MakeGroup(tab, "Frame6", "Names and titles", {3960, 240, 3975, 1440});
  chkLastExtension =
      MakeCheck(Frame6, "chkLastExtension", "Match the last extension",
                {120, 300, 3735, 255});
  chkLastExtension->setToolTip(
      "report.2024.pdf counts as .pdf, struct.Foo.html as .html");
  chkUtf8 = MakeCheck(Frame6, "chkUtf8", "Declare UTF-8 and convert titles",
                      {120, 660, 3735, 255});
  chkUtf8->setToolTip("Names and titles in any language show as they should");
  chkFollowOutside = MakeCheck(Frame6, "chkFollowOutside",
                               "Read links that lead outside the folder",
                               {120, 1020, 3735, 255});
  chkFollowOutside->setToolTip(
      "Otherwise such a link is listed by its name alone and left out of the "
      "sitemap");

  QGroupBox* Frame7 =
      MakeGroup(tab, "Frame7", "Page", {3960, 1800, 3975, 1980});
  QLabel* lblTemplate =
      MakeLabel(Frame7, "lblTemplate", "Template :", {120, 345, 1000, 255});
  cmbTemplate = MakeCombo(Frame7, "cmbTemplate", {"classic", "modern"},
                          {1200, 300, 1335, 315});
  NameAfter(lblTemplate, cmbTemplate);
  // Only the two templates there are.
  cmbTemplate->setEditable(false);
  cmbTemplate->setToolTip(
      "modern: folders that fold, a filter box, sizes and dates");
  QLabel* lblLang =
      MakeLabel(Frame7, "lblLang", "Language :", {120, 735, 1000, 255});
  txtLang = MakeText(Frame7, "txtLang", {1200, 690, 900, 315});
  NameAfter(lblLang, txtLang);
  txtLang->setToolTip("The language of the modern page, such as de or pt-BR");
  chkCollapsed =
      MakeCheck(Frame7, "chkCollapsed", "Collapsed", {2280, 720, 1575, 255});
  chkCollapsed->setToolTip(
      "The modern page opens with only the base folder open");
  QLabel* lblLinkPrefix = MakeLabel(Frame7, "lblLinkPrefix",
                                    "Link prefix :", {120, 1125, 1000, 255});
  txtLinkPrefix = MakeText(Frame7, "txtLinkPrefix", {1200, 1080, 2655, 315});
  NameAfter(lblLinkPrefix, txtLinkPrefix);
  txtLinkPrefix->setToolTip(
      "Put before every link, such as https://example.org/docs/");
  MakeLabel(Frame7, "lblLinkNote",
            "Empty: links lead from the folder the page is saved in.",
            {120, 1440, 3735, 480});

  QGroupBox* Frame8 =
      MakeGroup(tab, "Frame8", "Search engines", {120, 3840, 7815, 1620});
  chkSitemapXml = MakeCheck(Frame8, "chkSitemapXml", "Also write sitemap.xml",
                            {120, 300, 2535, 255});
  chkSitemapXml->setToolTip("An XML sitemap beside the saved page");
  chkSitemapGz =
      MakeCheck(Frame8, "chkSitemapGz", "Compressed", {2760, 300, 1335, 255});
  chkSitemapGz->setToolTip(
      "Write sitemap.xml.gz, which search engines read "
      "as they read sitemap.xml");
  QLabel* lblSitemapXml =
      MakeLabel(Frame8, "lblSitemapXml", "File :", {4200, 330, 540, 255});
  txtSitemapXml = MakeText(Frame8, "txtSitemapXml", {4740, 255, 2955, 315});
  NameAfter(lblSitemapXml, txtSitemapXml);
  txtSitemapXml->setAccessibleName("Sitemap file");
  txtSitemapXml->setReadOnly(true);
  txtSitemapXml->setToolTip("Beside the saved page");
  QLabel* lblSiteUrl =
      MakeLabel(Frame8, "lblSiteUrl", "Site URL :", {120, 765, 1000, 255});
  txtSiteUrl = MakeText(Frame8, "txtSiteUrl", {1200, 720, 6495, 315});
  NameAfter(lblSiteUrl, txtSiteUrl);
  txtSiteUrl->setToolTip("Where the site starts, such as https://example.org/");
  QLabel* lblLastmod =
      MakeLabel(Frame8, "lblLastmod", "Dates :", {120, 1185, 1000, 255});
  cmbLastmod =
      MakeCombo(Frame8, "cmbLastmod", {"file", "git"}, {1200, 1140, 1335, 315});
  NameAfter(lblLastmod, cmbLastmod);
  cmbLastmod->setEditable(false);
  cmbLastmod->setToolTip(
      "file: each file's time; git: the last commit that changed the file");
  QLabel* lblRobotsTxt = MakeLabel(Frame8, "lblRobotsTxt",
                                   "Robots file :", {2760, 1185, 1080, 255});
  txtRobotsTxt = MakeText(Frame8, "txtRobotsTxt", {3840, 1140, 3855, 315});
  NameAfter(lblRobotsTxt, txtRobotsTxt);
  txtRobotsTxt->setToolTip(
      "Such as robots.txt, from the saved page's folder: Save adds the "
      "sitemap's line to it");
  connect(chkSitemapXml, &QCheckBox::toggled, this,
          &frmTessary::chkSitemapXml_Click);
  connect(chkSitemapGz, &QCheckBox::toggled, this,
          &frmTessary::chkSitemapXml_Click);
}

// The name the check boxes choose: compressed, the file's name ends in
// ".gz", whatever name a settings file gave it.
QString frmTessary::SitemapName() const {
  QString name = QString::fromStdString(settings_.txtSitemapXml);
  if (name.isEmpty()) name = kSitemapName;
  const bool compressed = chkSitemapGz->isChecked();
  if (compressed && !name.endsWith(kCompressed)) name += kCompressed;
  if (!compressed && name.endsWith(kCompressed)) name.chop(kCompressed.size());
  return name;
}

// The boxes only name the file; the field holds the name, which a settings
// file may have given.
void frmTessary::chkSitemapXml_Click() {
  const QString name = chkSitemapXml->isChecked() ? SitemapName() : QString();
  if (name.toStdString() != settings_.txtSitemapXml)
    txtSitemapXml->setText(name);
}

// The check boxes follow the field, also when a settings file sets it.
void frmTessary::txtSitemapXml_Change() {
  const bool wanted = !settings_.txtSitemapXml.empty();
  if (chkSitemapXml->isChecked() != wanted) chkSitemapXml->setChecked(wanted);
  if (wanted) {
    chkSitemapGz->setChecked(
        QString::fromStdString(settings_.txtSitemapXml).endsWith(kCompressed));
  }
  for (QWidget* control :
       {static_cast<QWidget*>(chkSitemapGz), static_cast<QWidget*>(txtSiteUrl),
        static_cast<QWidget*>(cmbLastmod),
        static_cast<QWidget*>(txtRobotsTxt)}) {
    control->setEnabled(wanted);
  }
  SetButtons(1);
}

}  // namespace tessary
