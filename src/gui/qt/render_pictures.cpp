// zentrova-pictures OUTPUT_FOLDER EXPORT.xml: draws the main window, the time-frame dialog
// (over EXPORT.xml, its first frame clicked) and the report window (of EXPORT.xml converted
// with its first frame, into a temporary exchange folder) into PNG files, for the
// documentation. Meant for the offscreen platform.

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPixmap>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <filesystem>
#include <optional>
#include <vector>

#include "app/directions.h"
#include "app/paths.h"
#include "app/process_state.h"
#include "gui/qt/informe.h"
#include "gui/qt/main_window.h"
#include "gui/qt/plantillas.h"
#include "import/dialog/time_frame_model.h"

namespace {

using namespace zentrova;

// The first direction's run as the window makes it, answered without a screen: the export,
// its first time frame, and the report kept instead of shown.
class PictureHost : public app::Host {
 public:
  explicit PictureHost(std::filesystem::path export_file) : export_file_(std::move(export_file)) {}
  std::optional<std::filesystem::path> ChooseXmlFile() override { return export_file_; }
  void ShowMessage(const std::u16string&) override {}
  void SetBusy(bool) override {}
  app::FrameAnswer ChooseTimeFrames(const std::filesystem::path& export_file,
                                    const xml::Document& loaded) override {
    import::TimeFrameModel model(export_file, &loaded);
    model.FormActivate();
    std::vector<bool> first(model.frames().size(), false);
    if (!first.empty()) first[0] = true;
    return import::AnswerFor(model.frames(), first);
  }
  void SetDirectionButtonsEnabled(bool) override {}
  void CloseWindow() override {}
  void ShowReport(const report::RunReport& report) override { report_ = report; }
  bool ShowsReports() const override { return true; }

  const std::optional<report::RunReport>& report() const { return report_; }

 private:
  std::filesystem::path export_file_;
  std::optional<report::RunReport> report_;
};

bool Save(QWidget& widget, const QString& file) {
  widget.show();
  QCoreApplication::processEvents();
  const bool saved = widget.grab().save(file, "PNG");
  QTextStream(saved ? stdout : stderr)
      << (saved ? "Escrita " : "No se puede escribir ") << file << Qt::endl;
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zentrova"));
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() != 3) {
    QTextStream(stderr) << "Uso: zentrova-pictures CARPETA EXPORTACION.xml" << Qt::endl;
    return 2;
  }
  const QDir folder(arguments[1]);
  if (!folder.mkpath(QStringLiteral("."))) return 1;
  const std::filesystem::path export_file(arguments[2].toStdU16String());

  // No parameters: the window is shown as a secretary opens it, and nothing runs.
  zentrova::gui::TMForm form({});
  bool ok = Save(form, folder.filePath(QStringLiteral("ventana-principal.png")));

  zentrova::gui::TPlantillas dialog(export_file, &form);
  dialog.show();
  QCoreApplication::processEvents();
  if (auto* frames = dialog.findChild<QListWidget*>(QStringLiteral("ListBox2"))) {
    frames->setCurrentRow(0);
  }
  ok = Save(dialog, folder.filePath(QStringLiteral("marcos-horarios.png"))) && ok;

  const QTemporaryDir ktemp;
  app::ProcessState state(
      app::RunPaths{ktemp.path().toStdU16String(), app::DefaultRunPaths().nivelex});
  PictureHost host(export_file);
  app::BExportarClick(state, host);
  if (!host.report()) {
    QTextStream(stderr) << "La conversión de " << arguments[2] << " no da informe" << Qt::endl;
    return 1;
  }
  zentrova::gui::TInforme report(*host.report(), &form);
  return Save(report, folder.filePath(QStringLiteral("informe.png"))) && ok ? 0 : 1;
}
