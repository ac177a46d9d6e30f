#include "QtDesktop.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>

namespace tessary {
namespace {

QMessageBox::Icon ToQt(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation: return QMessageBox::Information;
    case MessageIcon::kQuestion: return QMessageBox::Question;
    case MessageIcon::kExclamation: return QMessageBox::Warning;
    case MessageIcon::kCritical: return QMessageBox::Critical;
    case MessageIcon::kNone: break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

ColorAnswer QtCommonDialog::ShowColor(QWidget* parent) {
  QColorDialog dialog(lastColor_, parent);
  if (dialog.exec() != QDialog::Accepted) return {};
  lastColor_ = dialog.selectedColor();
  return {DialogOutcome::kChosen, lastColor_, {}};
}

FileAnswer QtCommonDialog::ShowOpen(QWidget* parent,
                                    const FileOpenRequest& request) {
  QFileDialog dialog(parent, request.title, request.initialFolder);
  // An open dialog that takes a name not yet on disk: the output name
  // chooser uses it for files that a save will create.
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(request.filters);
  if (request.filterIndex >= 0 && request.filterIndex < request.filters.size()) {
    dialog.selectNameFilter(request.filters[request.filterIndex]);
  }
  if (!request.initialFileName.isEmpty()) {
    dialog.selectFile(request.initialFileName);
  }
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return {};
  return {DialogOutcome::kChosen, chosen.first(), {}};
}

MessageAnswer QtMessageBoxes::Show(QWidget* parent, const Message& message) {
  QMessageBox box(ToQt(message.icon), message.title, message.text,
                  message.buttons == MessageButtons::kYesNo
                      ? QMessageBox::Yes | QMessageBox::No
                      : QMessageBox::Ok,
                  parent);
  switch (box.exec()) {
    case QMessageBox::Yes: return MessageAnswer::kYes;
    case QMessageBox::No: return MessageAnswer::kNo;
    default: return MessageAnswer::kOk;
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
