#include "QtDesktop.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QProcess>

namespace tessary {
namespace {

QMessageBox::Icon ToQt(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation:
      return QMessageBox::Information;
    case MessageIcon::kQuestion:
      return QMessageBox::Question;
    case MessageIcon::kExclamation:
      return QMessageBox::Warning;
    case MessageIcon::kCritical:
      return QMessageBox::Critical;
    case MessageIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQt(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::kYesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::kYesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::kOk:
      break;
  }
  return QMessageBox::Ok;
}

// The window manager cuts a title that its box is too narrow for; the
// allowance leaves room for the frame's own buttons beside the title.
void FitTitle(QMessageBox& box) {
  constexpr int kFrameButtons = 120;
  const int width =
      box.fontMetrics().horizontalAdvance(box.windowTitle()) + kFrameButtons;
  auto* layout = qobject_cast<QGridLayout*>(box.layout());
  if (layout == nullptr) return;
  layout->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum),
                  layout->rowCount(), 0, 1, layout->columnCount());
}

// The box opens with its details shown: they are what the user asked for.
void ShowDetails(QMessageBox& box, const QString& details) {
  box.setDetailedText(details);
  for (QAbstractButton* button : box.buttons()) {
    if (box.buttonRole(button) == QMessageBox::ActionRole) button->click();
  }
}

FileAnswer AskFile(QWidget* parent, const FileOpenRequest& request,
                   QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent, request.title, request.initialFolder);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilters(request.filters);
  const QString filter = request.filters.value(request.filterIndex);
  if (!filter.isEmpty()) dialog.selectNameFilter(filter);
  if (!request.initialFileName.isEmpty()) {
    dialog.selectFile(request.initialFileName);
  }
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return {};
  return {DialogOutcome::kChosen, chosen.first(), {}};
}

}  // namespace

ColorAnswer QtCommonDialog::ShowColor(QWidget* parent, const QColor& initial) {
  QColorDialog dialog(initial, parent);
  if (dialog.exec() != QDialog::Accepted) return {};
  return {DialogOutcome::kChosen, dialog.selectedColor(), {}};
}

// The image and browser choosers take names that need not exist yet.
FileAnswer QtCommonDialog::ShowOpen(QWidget* parent,
                                    const FileOpenRequest& request) {
  return AskFile(parent, request, QFileDialog::AcceptOpen);
}

FileAnswer QtCommonDialog::ShowSave(QWidget* parent,
                                    const FileOpenRequest& request) {
  return AskFile(parent, request, QFileDialog::AcceptSave);
}

MessageAnswer QtMessageBoxes::Show(QWidget* parent, const Message& message) {
  QMessageBox box(ToQt(message.icon), message.title, message.text,
                  ToQt(message.buttons), parent);
  box.setTextFormat(Qt::PlainText);
  if (!message.details.isEmpty()) ShowDetails(box, message.details);
  FitTitle(box);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return MessageAnswer::kYes;
    case QMessageBox::No:
      return MessageAnswer::kNo;
    case QMessageBox::Cancel:
      return MessageAnswer::kCancel;
    default:
      return MessageAnswer::kOk;
  }
}

bool QtProgramLauncher::Start(const QString& program,
                              const QStringList& arguments, QString& reason) {
  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  if (process.startDetached()) return true;
  reason = process.errorString();
  return false;
}

QString QtProgramLauncher::Output(const QString& program,
                                  const QStringList& arguments) {
  // Short enough that a hanging query does not freeze the window for long.
  constexpr int kWaitMilliseconds = 3000;
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(kWaitMilliseconds)) {
    process.kill();
    process.waitForFinished();
    return {};
  }
  const bool succeeded =
      process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
  if (!succeeded) return {};
  return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

}  // namespace tessary
