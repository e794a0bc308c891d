#include "gui/qt/qt_host.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include "gui/qt/informe.h"
#include "gui/qt/plantillas.h"

namespace zentrova::gui {
namespace {

// A modal window that waits for the user shows the normal cursor, also during a run.
class NormalCursorWhileWaiting {
 public:
  NormalCursorWhileWaiting() : pushed_(QApplication::overrideCursor() != nullptr) {
    if (pushed_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~NormalCursorWhileWaiting() {
    if (pushed_) QApplication::restoreOverrideCursor();
  }
  NormalCursorWhileWaiting(const NormalCursorWhileWaiting&) = delete;
  NormalCursorWhileWaiting& operator=(const NormalCursorWhileWaiting&) = delete;

 private:
  bool pushed_;
};

}  // namespace

void ShowMessageBox(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox box(icon, QString::fromUtf8(kApplicationTitle), shown, QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("ZentrovaMessage"));
  NormalCursorWhileWaiting normal_cursor;
  box.exec();
}

void ReportError(QWidget* parent, const QString& message) {
  ShowMessageBox(parent, message, QMessageBox::Critical);
}

QtHost::QtHost(QWidget* window, QPushButton* exportar, QPushButton* importar)
    : window_(window), exportar_(exportar), importar_(importar) {}

QtHost::~QtHost() { EndBusy(); }

std::optional<std::filesystem::path> QtHost::ChooseXmlFile() {
  QFileDialog dialog(window_, QString::fromUtf8(kOpenDialogTitle));
  dialog.setObjectName(QStringLiteral("OpenDialogXML"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // Like the common dialog without "file must exist": a typed name that does not exist is
  // returned, and the run says "No existe archivo".
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QStringLiteral("*.xml (*.xml)"));
  dialog.setDefaultSuffix(QStringLiteral("xml"));
  if (!native_dialogs_) dialog.setOption(QFileDialog::DontUseNativeDialog);
  // The first time in the user's documents; afterwards where the last file was chosen.
  dialog.setDirectory(!last_folder_.isEmpty()
                          ? last_folder_
                          : QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.first().isEmpty()) return std::nullopt;
  last_folder_ = QFileInfo(files.first()).absolutePath();
  return std::filesystem::path(files.first().toStdU16String());
}

void QtHost::ShowMessage(const std::u16string& text) {
  ShowMessageBox(window_, QString::fromStdU16String(text));
}

void QtHost::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void QtHost::EndBusy() { SetBusy(false); }

app::FrameAnswer QtHost::ChooseTimeFrames(const std::filesystem::path& export_file,
                                          const xml::Document& loaded) {
  gui::TPlantillas dialog(export_file, window_, &loaded);
  NormalCursorWhileWaiting normal_cursor;
  dialog.exec();
  return dialog.answer();
}

void QtHost::ShowReport(const report::RunReport& report) {
  TInforme window(report, window_);
  window.set_native_dialogs(native_dialogs_);
  NormalCursorWhileWaiting normal_cursor;
  window.exec();
}

void QtHost::SetDirectionButtonsEnabled(bool enabled) {
  if (exportar_) exportar_->setEnabled(enabled);
  if (importar_) importar_->setEnabled(enabled);
}

void QtHost::CloseWindow() {
  if (window_) window_->close();
}

}  // namespace zentrova::gui
