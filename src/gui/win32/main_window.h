#ifndef ZENTROVA_GUI_WIN32_MAIN_WINDOW_H_
#define ZENTROVA_GUI_WIN32_MAIN_WINDOW_H_

// TMForm: the main window. One button per direction; in batch mode (two command-line
// parameters) the direction the first one names runs as soon as the window is shown, and
// every closing writes the result code into Orbelin.ini.

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/directions.h"
#include "app/paths.h"
#include "app/process_state.h"
#include "gui/win32/button_glyphs.h"
#include "gui/win32/controls.h"
#include "gui/win32/gradient_panel.h"
#include "gui/win32/win32_host.h"
#include "gui/win32/window_base.h"

namespace zentrova::gui {

inline constexpr wchar_t kMainClass[] = L"TMForm";
inline constexpr wchar_t kMainCaption[] = L"Exportar e importar datos entre Orbelin y Vetrana";

class TMForm : public WindowBase {
 public:
  // Control identifiers.
  enum : int {
    kDraw3D2 = 100,
    kLabel3,
    kBExportar,
    kDraw3D3,
    kLabel4,
    kBImportar,
    kDraw3D1,
    kBClose,
    kButton1,
  };

  // `parameters`: the command line, UTF-8, the program's own path not counted. A run finds
  // its files through `paths`; batch mode writes its result into `ini_file`.
  TMForm(std::vector<std::string> parameters, app::RunPaths paths, std::filesystem::path ini_file);
  // The installed program's files: app::DefaultRunPaths() and Orbelin.ini beside the executable.
  explicit TMForm(std::vector<std::string> parameters);
  ~TMForm() override;

  // Shows the window; FormShow follows once it is on the screen (a posted message).
  void Show();
  // Closes the window as BClose does (FormClose runs); it is hidden, not destroyed.
  void Close();
  bool closed() const { return closed_; }

  app::ProcessState& state() { return state_; }
  Win32Host& host() { return *host_; }

  void BExportarClick();
  void BImportarClick();
  void Button1Click();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void BuildControls();
  void ApplyDpi(int dpi, const RECT* suggested);
  void FormCreate();
  void FormShow();
  void FormClose();
  // Runs a direction; whatever escapes it is shown by the default error report, in the words
  // of app::CurrentErrorMessage.
  void Run(app::RunOutcome (*direction)(app::ProcessState&, app::Host&));
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void OnCommand(int id);
  LRESULT DefaultButton() const;

  std::vector<std::string> parameters_;
  std::filesystem::path ini_file_;
  app::ProcessState state_;
  std::unique_ptr<Win32Host> host_;
  bool shown_ = false;
  bool closed_ = false;
  HWND last_focus_ = nullptr;
  Layout layout_;
  ButtonGlyphs glyphs_;

  std::unique_ptr<GradientPanel> Draw3D2;
  HWND Label3 = nullptr;
  HWND BExportar = nullptr;
  std::unique_ptr<GradientPanel> Draw3D3;
  HWND Label4 = nullptr;
  HWND BImportar = nullptr;
  std::unique_ptr<GradientPanel> Draw3D1;
  HWND BClose = nullptr;
  HWND Button1 = nullptr;
};

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_WIN32_MAIN_WINDOW_H_
