#include "app/paths.h"

#include <cstdlib>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "store/table.h"

namespace zentrova::app {
namespace {

std::filesystem::path EnvironmentPath(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::filesystem::path(value)
                                            : std::filesystem::path();
}

}  // namespace

std::filesystem::path DefaultExchangeFolder() {
  if (auto configured = EnvironmentPath("ZENTROVA_KTEMP"); !configured.empty()) {
    return configured;
  }
#ifdef _WIN32
  return std::filesystem::path("C:\\KTEMP");
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
