#ifndef ZENTROVA_GUI_QT_MAIN_WINDOW_H_
#define ZENTROVA_GUI_QT_MAIN_WINDOW_H_

// TMForm: the main window. One button per direction; in batch mode (two command-line
// parameters) the direction the first one names runs as soon as the window is shown, and
// every closing writes the result code into Orbelin.ini.

#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/directions.h"
#include "app/paths.h"
#include "app/process_state.h"
#include "gui/qt/gradient_panel.h"
#include "gui/qt/qt_host.h"

namespace zentrova::gui {

inline constexpr char kMainCaption[] = "Exportar e importar datos entre Orbelin y Vetrana";

class TMForm : public QWidget {
  Q_OBJECT

 public:
  // `parameters`: the command line, UTF-8, the program's own path not counted. A run finds
  // its files through `paths`; batch mode writes its result into `ini_file`.
  TMForm(std::vector<std::string> parameters, app::RunPaths paths, std::filesystem::path ini_file,
         QWidget* parent = nullptr);
  // The installed program's files: app::DefaultRunPaths() and Orbelin.ini beside the executable.
  explicit TMForm(std::vector<std::string> parameters);
  ~TMForm() override;

  app::ProcessState& state() { return state_; }
  QtHost& host() { return *host_; }

  void BExportarClick();
  void BImportarClick();
  void Button1Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Enter presses the focused button, as on Windows.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FormCreate();
  void FormShow();
  void FormClose();
  // Runs a direction; whatever escapes it is shown by the default error report, in the words
  // of app::ErrorMessage.
  void Run(app::RunOutcome (*direction)(app::ProcessState&, app::Host&));

  std::vector<std::string> parameters_;
  std::filesystem::path ini_file_;
  app::ProcessState state_;
  std::unique_ptr<QtHost> host_;
  bool shown_ = false;

  GradientPanel* Draw3D2;
  QLabel* Label3;
  QPushButton* BExportar;
  GradientPanel* Draw3D3;
  QLabel* Label4;
  QPushButton* BImportar;
  GradientPanel* Draw3D1;
  QPushButton* BClose;
  QPushButton* Button1;
};

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_QT_MAIN_WINDOW_H_
