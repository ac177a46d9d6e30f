#pragma once

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

#include "BuildMap.h"
#include "Controls.h"
#include "Desktop.h"
#include "Drives.h"
#include "MapFields.h"
#include "MapSettings.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace tessary {

class BuildRunner;
class ColorSwatch;
class FileList;
class FolderTree;
class Shape;
class frmAboutTessary;

// The main window: every option of the map on four tabs, the Map tab with
// the picture of the page and the output name, the command column and the
// menus. It owns the options (kept in step with the controls in one
// settings record), the base folder, and the state of the built map.
class frmTessary : public QMainWindow {
  Q_OBJECT
 public:
  // `endProgram` ends the whole program; Exit calls it, and so does closing
  // the window, unless the user keeps it open.
  frmTessary(Desktop& desktop, std::function<void()> endProgram,
             QWidget* parent = nullptr);
  ~frmTessary() override;

  // Puts the window into its start state: the current drive, the first
  // folder that can be shown, the first tab. A non-empty command line
  // opens on the Map tab.
  void Form_Load(const QString& commandLine);

  // Makes the command line's folder the base folder, or tells the user why
  // it cannot be; relative paths are taken from the current folder.
  void OpenCommandLine(const QString& commandLine);

  // Makes `folder` the folder tree's current folder, the base folder.
  // False, with the system's reason, when it cannot be shown.
  bool ChangeFolder(const QString& folder, QString& reason);

  void lblToolbar_Click(int index);
  // 1: the map is out of date; 2: a map has just been built.
  void SetButtons(int mode);
  void OpenBrowser(const QString& filename);

  const mapgen::MapSettings& settings() const { return settings_; }
  const QString& TempMapPath() const { return TempMapPath_; }
  const QString& SavedMapPath() const { return SavedMapPath_; }
  bool MapBuilt() const { return MapBuilt_; }
  bool MapSaved() const { return MapSaved_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Construction, one method per part of the window.
  void InitTabStrip();
  void InitCommandColumn();
  void InitMenus();
  void InitFolderTab();
  void InitContentTab();
  void InitStyleChooser(QGroupBox* frame);
  void InitTextTab();
  void InitAppearanceTab();
  void InitColourRows(QFrame* frame);
  void InitMapTab();
  void InitLayoutPreview(QWidget* tab);
  void InitOptionTracking();
  void InitFolderSelection();
  void InitBuild();
  void InitOutputCommands();
  void InitStyleSamples();

  // Tab strip.
  void HighlightTab(int hovered);

  // The picture of the page on the Map tab.
  void RefreshPreview();
  void RefreshBanner();
  void PlaceEntries(int style);
  void ColourPreview();
  void SetPreviewFont();
  void KeepTitlesWhole();
  void RefreshBackground();
  void lblMap_Click(int index);
  void Image1_Click();
  void fraOptions_MouseUp(int index, QPoint point);
  void ClickBanner();
  void ClickImageName();
  void SelectNextStyle();
  void ShowControl(int tab, QWidget* control);

  // Option editing.
  using ChangeHandler = void (frmTessary::*)();
  void BindField(const mapgen::MapField& field, ChangeHandler handler);
  void BindCheck(QCheckBox* box, mapgen::CheckState& field,
                 ChangeHandler handler);
  void BindText(QWidget* box, std::string& field, ChangeHandler handler);
  void BindStyle(QRadioButton* button, std::size_t index);
  void MarkChanged();
  void chkShowSubfolders_Click();
  void chkBannerImage_Click();
  void chkBgImage_Click();
  void txtBannerImage_Change();
  void optStyle_Click(int index);
  void cmdColor_Click(int index);
  void ChooseImage(const QString& title, QLineEdit* target);
  void SetOutputCommands(bool enabled);

  // Folder selection.
  void SetForNewMap(const QString& newpath);
  void SetFileBoxes();
  void Dir1_Change();
  void Drive1_Change();
  void Dir1_Chosen(const QString& folder);
  void RecordDriveFolder();
  void ChooseStartFolder();

  // Build and the commands of the right-hand column.
  void cmdBuildMap_Click();
  void BuildProgress(const QString& folder, double fraction);
  void BuildFinished(const mapgen::BuildResult& result);
  void ReturnToBaseFolder();
  void ShowProgress(bool visible, double fraction);

  // What happens to the built map: save, preview, edit, and the end.
  void SetTempMapPath(const QString& path);
  bool IsTemporaryFile(const QString& path) const;
  bool CopyMapFile(QString& Source, const QString& Destination);
  bool CopyOrTell(const QString& source, const QString& target);
  QString OutputPath() const;
  void RemovePreview();
  bool AskOutputFile(QString& filename);
  void cmdSave_Click();
  void mnuSaveAs_Click();
  void cmdChangeOutputPath_Click();
  void cmdPreview_Click();
  void mnuEditSource_Click();
  void mnuHelp_Click();
  void mnuAboutTessary_Click();
  void cmdExit_Click();
  bool Exit();

  Desktop& desktop_;
  std::function<void()> endProgram_;
  mapgen::MapSettings settings_;
  BuildRunner* builder_;
  QString buildBase_;
  bool buildWalks_ = false;          // the running build maps subfolders
  bool changedDuringBuild_ = false;  // so its page is out of date at once
  QString previewPath_;  // the page as the browser was last handed it
  std::vector<Drive> drives_;
  QMap<QString, QString> DriveFolders_;

  QString TempMapPath_;
  QString SavedMapPath_;
  bool MapBuilt_ = false;
  bool MapSaved_ = false;
  bool leaving_ = false;  // Exit has ended the program
  QPointer<frmAboutTessary> aboutBox_;

  QWidget* central_;

  // Tab strip, frames and the command column.
  ClickLabel* lblToolbar[5];
  QFrame* fraOptions[5];
  ClickLabel* lblCorvaleSoftware;
  QLabel* Label3[1];
  QPushButton* cmdBuildMap;
  QPushButton* cmdPreview;
  QPushButton* cmdSave;
  QPushButton* cmdExit;
  QFrame* shpProgressBorder;
  QWidget* shpProgressPercent;

  // Folder tab.
  QLabel* Label4;
  QLabel* Label5;
  QLabel* Label6;
  QLabel* Label7;
  QLabel* Label8;
  QLabel* Label9;
  QComboBox* Drive1;
  FolderTree* Dir1;
  FileList* File1;
  QLabel* lblSelectedFolder;
  QPushButton* cmdOK;

  // Content tab.
  QLabel* Label1[7];
  QLineEdit* txtTitle;
  ClickLabel* lblX[8];
  QLineEdit* txtDir;
  QPushButton* cmdChangeDirectory;
  QCheckBox* chkShowSubfolders;
  QCheckBox* chkShowEmpties;
  QCheckBox* chkExtension[6];
  QLineEdit* txtExtensions;
  QCheckBox* chkBannerImage;
  QLineEdit* txtBannerImage;
  QPushButton* cmdImageBrowse;
  QComboBox* cmbBannerAlign;
  QRadioButton* optStyle[4];
  QCheckBox* chkHTMext;
  QCheckBox* chkSafeLinks;
  QWidget* Shape1;
  QWidget* Shape2;
  ClickLabel* lblStyle[5];

  // Text tab.
  QPlainTextEdit* txtPreface;
  QPlainTextEdit* txtAppendix;

  // Appearance tab.
  QCheckBox* chkBullets;
  QCheckBox* chkLines;
  QCheckBox* chkIndent;
  QCheckBox* chkBgImage;
  QLineEdit* txtImage;
  QPushButton* cmdFindImage;
  QComboBox* cmbFont;
  QLabel* Label2[7];
  ColorSwatch* cmdColor[6];
  QCheckBox* chkColor[6];
  QComboBox* cmbSize[3];
  QComboBox* cmbTitleAlign;

  // Map tab.
  Shape* shpMap;
  ClickLabel* Image1;
  ClickLabel* lblMap[16];
  Shape* shpBullet[5];
  QWidget* lineMap;
  ClickLabel* lblDir;
  QLineEdit* txtMapFile;
  QPushButton* cmdChangeOutputPath;
  QCheckBox* chkLockFilename;

  // Menus.
  QAction* mnuBuildMap;
  QAction* mnuPreview;
  QAction* mnuSave;
  QAction* mnuSaveAs;
  QAction* mnuExit;
  QAction* mnuFolder;
  QAction* mnuContent;
  QAction* mnuText;
  QAction* mnuAppearance;
  QAction* mnuMap;
  QAction* mnuEditSource;
  QAction* mnuHelp;
  QAction* mnuAboutTessary;
};

}  // namespace tessary
