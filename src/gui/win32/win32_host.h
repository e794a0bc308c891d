#ifndef ZENTROVA_GUI_WIN32_WIN32_HOST_H_
#define ZENTROVA_GUI_WIN32_WIN32_HOST_H_

// The window's side of a run: the open-file dialog, message boxes titled "Zentrova", the busy
// cursor, the time-frame dialog, the direction buttons, closing the window and the report.

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "app/host.h"

namespace zentrova::gui {

inline constexpr wchar_t kOpenDialogTitle[] = L"Seleccionar Archivo XML obtenido de VETRANA";

// The user's documents folder; empty where Windows names none.
std::filesystem::path DocumentsFolder();

class Win32Host : public app::Host {
 public:
  // `window` is the main window; `exportar` and `importar` its direction buttons; the focus
  // goes to `close_button` when a disabled direction button had it.
  Win32Host(HWND window, HWND exportar, HWND importar, HWND close_button);
  ~Win32Host() override;

  std::optional<std::filesystem::path> ChooseXmlFile() override;
  void ShowMessage(const std::u16string& text) override;
  // The busy cursor over the whole main window; message boxes and the dialogs, which wait for
  // the user, show the normal cursor while they are open.
  void SetBusy(bool busy) override;
  app::FrameAnswer ChooseTimeFrames(const std::filesystem::path& export_file,
                                    const xml::Document& loaded) override;
  void SetDirectionButtonsEnabled(bool enabled) override;
  void CloseWindow() override;
  // TInforme, modal.
  void ShowReport(const report::RunReport& report) override;
  bool ShowsReports() const override { return true; }

  // Takes the busy cursor away, whatever the run left (an error ended it).
  void EndBusy();
  bool busy() const { return busy_; }

 private:
  HWND window_;
  HWND exportar_;
  HWND importar_;
  HWND close_button_;
  bool busy_ = false;
  std::filesystem::path last_folder_;
};

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_WIN32_WIN32_HOST_H_
