// The colour swatches and the two image "browse" buttons, which ask the
// user through the common dialogs.
#include <QCheckBox>
#include <QLineEdit>

#include "ColorSwatch.h"
#include "FolderViews.h"
#include "ImageInBase.h"
#include "NativePath.h"
#include "frmTessary.h"

namespace tessary {
namespace {

const QStringList kImageFilters = {"All Files (*)",
                                   "Image Files (*.jpg *.jpeg *.gif *.bmp)",
                                   "JPEG Files (*.jpg)", "GIF Files (*.gif)"};
constexpr int kImageFilesFilter = 1;

}  // namespace

// A colour that no check box puts on the page leaves the map as built.
void frmTessary::cmdColor_Click(int index) {
  const ColorAnswer answer = desktop_.CommonDialog1.ShowColor(
      this, ToQColor(cmdColor[index]->colour()));
  if (answer.outcome != DialogOutcome::kChosen) return;
  settings_.shpColor[index] = FromQColor(answer.color);
  cmdColor[index]->setColour(settings_.shpColor[index]);
  if (settings_.chkColor[index] == mapgen::kChecked) SetButtons(1);
}

// The page lives in the base folder, so an image outside it could not be
// referred to from the published site.
void frmTessary::ChooseImage(const QString& title, QLineEdit* target) {
  const QString base = ShownPath(Dir1->path());
  const FileAnswer answer = desktop_.CommonDialog1.ShowOpen(
      this, {title, base, QString(), kImageFilters, kImageFilesFilter});
  if (!Chosen(answer)) return;
  const std::optional<QString> name = NameInBase(answer.path, base);
  if (!name) {
    desktop_.messageBoxes.Show(
        this, {kAppTitle, "File should reside within " + base});
    return;
  }
  // Through the full path first, so that choosing the name the box already
  // holds still counts as a change.
  target->setText(answer.path);
  target->setText(*name);
}

}  // namespace tessary
