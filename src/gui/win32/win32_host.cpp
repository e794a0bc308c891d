#include "gui/win32/win32_host.h"

#include <commdlg.h>
#include <shlobj.h>

#include <string>

#include "gui/win32/informe.h"
#include "gui/win32/message_box.h"
#include "gui/win32/plantillas.h"
#include "gui/win32/wait_cursor.h"

namespace zentrova::gui {
namespace {

// One filter entry whose description and pattern are both *.xml.
constexpr wchar_t kXmlFilter[] = L"*.xml\0*.xml\0";
// Long paths (\\?\ and beyond MAX_PATH) fit.
constexpr size_t kFileBufferLength = 32768;

}  // namespace

std::filesystem::path DocumentsFolder() {
  wchar_t folder[MAX_PATH] = L"";
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder))) {
    return {};
  }
  return std::filesystem::path(folder);
}

Win32Host::Win32Host(HWND window, HWND exportar, HWND importar, HWND close_button)
    : window_(window), exportar_(exportar), importar_(importar), close_button_(close_button) {}

Win32Host::~Win32Host() { EndBusy(); }

std::optional<std::filesystem::path> Win32Host::ChooseXmlFile() {
  std::wstring file(kFileBufferLength, L'\0');
  // The first time in the user's documents; afterwards where the last file was chosen.
  const std::wstring folder = (last_folder_.empty() ? DocumentsFolder() : last_folder_).wstring();
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = window_;
  dialog.lpstrFilter = kXmlFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = kOpenDialogTitle;
  dialog.lpstrDefExt = L"xml";
  // Without "file must exist": a typed name that does not exist is returned, and the run
  // says "No existe archivo". The current folder of the process stays as it is.
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  NormalCursorWhileWaiting normal_cursor;
  if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  std::filesystem::path chosen(file.c_str());
  if (chosen.empty()) return std::nullopt;
  last_folder_ = chosen.parent_path();
  return chosen;
}

void Win32Host::ShowMessage(const std::u16string& text) { ShowMessageBox(window_, text); }

void Win32Host::SetBusy(bool busy) {
  busy_ = busy;
  SetWaitCursor(busy);
}

void Win32Host::EndBusy() { SetBusy(false); }

app::FrameAnswer Win32Host::ChooseTimeFrames(const std::filesystem::path& export_file,
                                             const xml::Document& loaded) {
  TPlantillas dialog(export_file, window_, &loaded);
  NormalCursorWhileWaiting normal_cursor;
  dialog.ShowModal();
  return dialog.answer();
}

void Win32Host::ShowReport(const report::RunReport& report) {
  TInforme window(report, window_);
  NormalCursorWhileWaiting normal_cursor;
  window.ShowModal();
}

void Win32Host::SetDirectionButtonsEnabled(bool enabled) {
  HWND focus = GetFocus();
  if (!enabled && (focus == exportar_ || focus == importar_)) SetFocus(close_button_);
  EnableWindow(exportar_, enabled);
  EnableWindow(importar_, enabled);
}

void Win32Host::CloseWindow() { SendMessageW(window_, WM_CLOSE, 0, 0); }

}  // namespace zentrova::gui
