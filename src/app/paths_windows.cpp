// The program's places on Windows.
//
// Traps of this system:
// - The environment's narrow copy (getenv) is in the ANSI code page and loses what it lacks;
//   only _wgetenv gives the variable as it is.
// - GetModuleFileNameW cuts a path longer than its buffer without saying so, and a path may
//   be longer than MAX_PATH; the buffer is four times that.
// - %ProgramData% is a known folder (SHGetKnownFolderPath), not a fixed path; its string is
//   the caller's to free with CoTaskMemFree.

#include <shlobj.h>
#include <windows.h>

#include <string>

#include "app/paths.h"
#include "app/system_paths.h"
#include "files/find_file.h"
#include "store/table.h"

namespace zentrova::app {

std::filesystem::path EnvironmentPath(std::string_view name) {
  const wchar_t* value = _wgetenv(std::wstring(name.begin(), name.end()).c_str());
  return value != nullptr && *value != L'\0' ? std::filesystem::path(value)
                                             : std::filesystem::path();
}

std::filesystem::path SystemExchangeFolder() { return std::filesystem::path(L"C:\\KTEMP"); }

std::filesystem::path ExecutableFolder() {
  wchar_t buffer[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
  return std::filesystem::path(std::wstring(buffer, length)).parent_path();
}

// The installers and the documents name the same folder.
std::filesystem::path MachineDataFolder() {
  std::filesystem::path folder(L"C:\\ProgramData");
  wchar_t* known = nullptr;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &known))) {
    folder = std::filesystem::path(known);
  }
  CoTaskMemFree(known);
  return folder / "Zentrova";
}

// The installers let every user change the files of the program folder.
std::filesystem::path ResultFilePlace(std::string_view name) {
  return files::FindIgnoringCase(ExecutableFolder(), name);
}

}  // namespace zentrova::app
