#include "app/paths.h"

#include <cstdlib>
#include <string>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "store/table.h"
#include "text/encoding.h"

namespace zentrova::app {
namespace {

// The variable's value as a path; `name` is ASCII. Windows keeps the environment in UTF-16
// (its narrow copy is in the ANSI code page); elsewhere the value is taken as UTF-8.
std::filesystem::path EnvironmentPath(std::string_view name) {
#ifdef _WIN32
  const wchar_t* value = _wgetenv(std::wstring(name.begin(), name.end()).c_str());
  return value != nullptr && *value != L'\0' ? std::filesystem::path(value)
                                             : std::filesystem::path();
#else
  const char* value = std::getenv(std::string(name).c_str());
  return value != nullptr && *value != '\0' ? text::PathFromUtf8(value) : std::filesystem::path();
#endif
}

}  // namespace

std::filesystem::path DefaultExchangeFolder() {
  if (auto configured = EnvironmentPath("ZENTROVA_KTEMP"); !configured.empty()) {
    return configured;
  }
#ifdef _WIN32
  return std::filesystem::path(L"C:\\KTEMP");
#else
  auto prefix = EnvironmentPath("WINEPREFIX");
  if (prefix.empty()) prefix = EnvironmentPath("HOME") / ".wine";
  return prefix / "drive_c" / "KTEMP";
#endif
}

std::filesystem::path ExecutableFolder() {
#ifdef _WIN32
  wchar_t buffer[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
  return std::filesystem::path(std::wstring(buffer, length)).parent_path();
#else
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path() : self.parent_path();
#endif
}

RunPaths DefaultRunPaths() {
  const auto folder = ExecutableFolder();
  return RunPaths{DefaultExchangeFolder(), store::FindIgnoringCase(folder, "NIVELEX.DBF")};
}

}  // namespace zentrova::app
