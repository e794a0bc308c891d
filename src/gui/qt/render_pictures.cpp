// zentrova-pictures OUTPUT_FOLDER EXPORT.xml: draws the main window and the time-frame
// dialog (over EXPORT.xml, its first frame clicked) into PNG files, for the documentation.
// Meant for the offscreen platform; nothing is converted.

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPixmap>
#include <QStringList>
#include <QTextStream>
#include <filesystem>

#include "gui/qt/main_window.h"
#include "gui/qt/plantillas.h"

namespace {

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
  return ok ? 0 : 1;
}
