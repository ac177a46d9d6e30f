#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QMainWindow>
#include <QMap>
#include <QString>
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "BuildMap.h"
#include "BuildWarnings.h"
#include "Controls.h"
#include "Desktop.h"
#include "FileCopy.h"
#include "Growth.h"
#include "MapField.h"
#include "MapSettings.h"
#include "PageStaging.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace tessary {

class BackgroundWork;
class ColorSwatch;

// A build as the window hears of it: the core's result and what the
// build passed over.
struct WindowBuild {
  mapgen::BuildResult result;
  BuildWarnings warnings;
};
class FileList;
class FolderTree;
class PathEdit;
class Shape;
class TabLabel;

// The main window: every option of the map on five tabs, the Map tab with
// the picture of the page and the output name, the command column and the
// menus. It owns the options (kept in step with the controls in one
// settings record), the base folder, and the state of the built map.
class frmTessary : public QMainWindow {
  Q_OBJECT
 public:
  // `endProgram` ends the whole program; Exit calls it, and so does closing
  // the window, unless the user keeps it open.
  // Builds, saves and the folder views go through `fs`.
  frmTessary(Desktop& desktop, const mapgen::FileSystem& fs,
             std::function<void()> endProgram, QWidget* parent = nullptr);
  ~frmTessary() override;

  // Puts the window into its start state: the current drive, the first
  // folder that can be shown, the first tab. A non-empty command line
  // opens on the Map tab.
  void Form_Load(const std::string& commandLine);

  // Makes the command line's folder the base folder, or tells the user why
  // it cannot be; relative paths are taken from the current folder.
  void OpenCommandLine(const std::string& commandLine);

  // Makes `folder`, in the file system's bytes, the folder tree's current
  // folder, the base folder. False, with the system's reason, when it
  // cannot be shown.
  bool ChangeFolder(const std::string& folder, QString& reason);

  // Folder, Content, Text, Appearance, Map and Publish.
  static constexpr int kTabs = 6;
  // The designed size of the window below its menus, in twips; the least
  // it takes.
  static constexpr int kFormWidth = 9480;
  static constexpr int kFormHeight = 5760;
  void lblToolbar_Click(int index);
  // 1: the map is out of date; 2: a map has just been built.
  void SetButtons(int mode);
  void OpenBrowser(const QString& filename);

  // The options as the controls show them.
  const mapgen::MapSettings& settings();
  const std::string& TempMapPath() const { return TempMapPath_; }
  const std::string& SavedMapPath() const { return SavedMapPath_; }
  bool MapBuilt() const { return MapBuilt_; }
  bool MapSaved() const { return MapSaved_; }
  // No build, copy or other work of the window is running or waiting to
  // be heard of.
  bool Idle() const;

 signals:
  // Help > About Tessary: the program around the window shows its box.
  void aboutRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
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
  void InitSizeRow(QFrame* frame, int index, const QString& row);
  void InitMapTab();
  void InitLayoutPreview(QWidget* tab);
  void InitTemplateParts(QWidget* tab);
  void InitPublishTab();
  void InitSettingsFiles();
  void InitOptionTracking();
  void InitFolderSelection();
  void InitBuild();
  void InitOutputCommands();
  void InitStyleSamples();

  // Tab strip and the keyboard's way through the window.
  void HighlightTab(int hovered);
  void StepTab(int step, bool toEnd);
  void InitFocusOrder();
  void InitGrowth();
  void FollowSize();

  // The picture of the page on the Map tab.
  void RefreshPreview();
  void RefreshBanner();
  void PlaceEntries(int style);
  void ColourPreview();
  void SetPreviewFont();
  void KeepTitlesWhole();
  void RefreshBackground();
  void ShowTemplate();
  void PlaceCounts();
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
  void BindCheck(QCheckBox* box, const mapgen::MapField& field,
                 ChangeHandler handler);
  void BindText(QWidget* box, const mapgen::MapField& field,
                ChangeHandler handler);
  void BindStyle(QRadioButton* button, const mapgen::MapField& field);
  void BindColour(ColorSwatch* swatch, const mapgen::MapField& field);
  // Shows every field of `settings` in its control, whose change then
  // reaches the window's settings as an edit's does.
  void ShowSettings(const mapgen::MapSettings& settings);
  void MarkChanged();
  void InitTyping();
  void TakeTypedText();
  void chkShowSubfolders_Click();
  void chkBannerImage_Click();
  void chkBgImage_Click();
  void txtBannerImage_Change();
  void chkSitemapXml_Click();
  void txtSitemapXml_Change();
  QString SitemapName() const;
  void optStyle_Click(int index);
  void cmdColor_Click(int index);
  void ChooseImage(const QString& title, QLineEdit* target);
  void SetOutputCommands(bool enabled);
  // Whether the user chose a file in the dialog; a dialog that failed is
  // told of with its own description, a cancel is not.
  bool Chosen(const FileAnswer& answer);

  // Folder selection.
  void SetForNewMap(const std::string& newpath);
  void SetFileBoxes();
  void Dir1_Change();
  void Drive1_Change();
  void Dir1_Chosen(const std::string& folder);
  void RecordDriveFolder();
  bool CheckBaseFolder();
  void ChooseStartFolder();

  // Build and the commands of the right-hand column.
  void cmdBuildMap_Click();
  bool UsableSettings();
  std::string SaveFolderAfterBuild() const;
  void AbandonBuild();
  void BuildProgress(int done);
  void BuildFinished();
  void ReturnToBaseFolder();
  void ShowProgress(bool visible, double fraction);
  void InitWarnings();
  void ShowWarnings(const BuildWarnings& warnings);

  // The background picture of the page, read off the window's thread.
  void LoadBackground(const std::string& path);
  void BackgroundLoaded();

  // What happens to the built map: save, preview, edit, and the end.
  enum class AfterCopy { kSaved, kSavedThenLeave, kPreview };
  void SetTempMapPath(const std::string& path);
  bool IsTemporaryFile(const std::string& path) const;
  void CopyMapFile(const std::string& destination, AfterCopy after);
  void CopyFinished();
  std::string OutputPath() const;
  void RefuseSave();
  bool MapFileNamed();
  void RemovePreview();
  bool AskOutputFile(std::string& filename);
  void cmdSave_Click();
  void mnuSaveAs_Click();
  void cmdChangeOutputPath_Click();
  void cmdPreview_Click();
  void mnuEditSource_Click();
  void EditorsFound();
  void mnuHelp_Click();
  void mnuOpenSettings_Click();
  void mnuSaveSettings_Click();
  void cmdExit_Click();
  void Exit();
  void Leave(std::chrono::milliseconds wait);

  Desktop& desktop_;
  const mapgen::FileSystem& fs_;
  std::function<void()> endProgram_;
  mapgen::MapSettings settings_;
  BackgroundWork* work_;
  QFutureWatcher<WindowBuild>* build_;
  QFutureWatcher<CopyOutcome>* copy_;
  QFutureWatcher<QImage>* picture_;
  QFutureWatcher<QList<QStringList>>* editors_;
  std::string buildBase_;
  StagedPage buildPage_;  // where the running or last build writes
  // Set by the build once its page is written, and by the window once it
  // abandons the build: the second of the two removes the page.
  std::shared_ptr<std::atomic_flag> pageHandover_;
  // The XML sitemap staged by the running build, and the one of the built
  // map, which Save puts beside the saved page.
  std::shared_ptr<SitemapAtSave> buildSitemap_;
  std::shared_ptr<SitemapAtSave> sitemap_;
  bool buildWalks_ = false;          // the running build maps subfolders
  bool changedDuringBuild_ = false;  // so its page is out of date at once
  std::string copyTarget_;           // where the running copy writes
  AfterCopy afterCopy_ = AfterCopy::kSaved;
  std::string loadingPicture_;  // the background picture being read
  std::string wantedPicture_;   // the one the options name, empty for none
  std::string editedPage_;      // the page Edit Source looks for an editor for
  std::string previewPath_;     // the page as the browser was last handed it
  // One for each field: puts the field's value in `settings` into the
  // field's control.
  std::vector<std::function<void(const mapgen::MapSettings&)>> showField_;
  // The boxes of several lines typed in since their text last reached the
  // settings, and how each puts it there.
  std::map<QPlainTextEdit*, std::function<void()>> typedText_;
  std::set<QPlainTextEdit*> typedIn_;
  QTimer* typing_;
  static constexpr std::chrono::milliseconds kTypingPause{300};
  QString settingsFile_;  // the settings file opened or saved last
  std::vector<Drive> drives_;
  QMap<QString, std::string> DriveFolders_;

  std::string TempMapPath_;
  std::string SavedMapPath_;
  bool MapBuilt_ = false;
  bool MapSaved_ = false;
  bool leaving_ = false;   // Exit has begun to end the program
  bool baseGone_ = false;  // the base folder was removed under the window

  QWidget* central_;
  QSize designedSize_;
  Growth growth_;

  // Tab strip, frames and the command column.
  TabLabel* lblToolbar[kTabs];
  int activeTab_ = 0;
  QFrame* fraOptions[kTabs];
  ClickLabel* lblCorvaleSoftware;
  QLabel* Label3[1];
  QPushButton* cmdBuildMap;
  QPushButton* cmdPreview;
  QPushButton* cmdSave;
  QPushButton* cmdExit;
  QFrame* shpProgressBorder;
  QWidget* shpProgressPercent;
  QLabel* lblWarnings;
  QPushButton* cmdWarnings;
  BuildWarnings warnings_;  // of the last build

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
  PathEdit* txtMapFile;
  QPushButton* cmdChangeOutputPath;
  QCheckBox* chkLockFilename;
  QLabel* lblFilterBox;
  QLabel* lblDisclosure;
  QLabel* lblBaseFolder;
  QLabel* lblBaseDisclosure;
  QLabel* lblBaseCount;
  QLabel* lblFolderCount;

  // Publish tab.
  QPlainTextEdit* txtExclude;
  QCheckBox* chkLastExtension;
  QCheckBox* chkUtf8;
  QCheckBox* chkFollowOutside;
  QComboBox* cmbTemplate;
  QLineEdit* txtLang;
  QCheckBox* chkCollapsed;
  QLineEdit* txtLinkPrefix;
  QCheckBox* chkSitemapXml;
  QCheckBox* chkSitemapGz;
  QLineEdit* txtSitemapXml;
  QLineEdit* txtSiteUrl;
  QComboBox* cmbLastmod;
  QLineEdit* txtRobotsTxt;

  // Menus.
  QAction* mnuBuildMap;
  QAction* mnuPreview;
  QAction* mnuSave;
  QAction* mnuSaveAs;
  QAction* mnuOpenSettings;
  QAction* mnuSaveSettings;
  QAction* mnuExit;
  QAction* mnuFolder;
  QAction* mnuContent;
  QAction* mnuText;
  QAction* mnuAppearance;
  QAction* mnuMap;
  QAction* mnuPublish;
  QAction* mnuEditSource;
  QAction* mnuHelp;
  QAction* mnuAboutTessary;
};

}  // namespace tessary
