// The program's places on POSIX systems.
//
// Traps of this system:
// - The executable's own path is known only through /proc/self/exe, where /proc is mounted;
//   without it the current folder stands in.
// - HOME may be unset (a service, a cron job): the password database then names the home.
// - access() asks for the real user, but the program writes as the effective one: faccessat
//   with AT_EACCESS asks for the one that writes.
// - The machine's data folder is chosen when the program is built (ZENTROVA_DATA_DIR), as
//   the packages install it.

#include "app/paths_posix.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

#include "app/paths.h"
#include "app/system_paths.h"
#include "files/find_file.h"
#include "store/table.h"
#include "text/encoding.h"

namespace zentrova::app {

std::filesystem::path EnvironmentPath(std::string_view name) {
  const char* value = std::getenv(std::string(name).c_str());
  return value != nullptr && *value != '\0' ? text::PathFromUtf8(value) : std::filesystem::path();
}

std::filesystem::path SystemExchangeFolder() {
  auto prefix = EnvironmentPath("WINEPREFIX");
  if (prefix.empty()) prefix = EnvironmentPath("HOME") / ".wine";
  return prefix / "drive_c" / "KTEMP";
}

std::filesystem::path ExecutableFolder() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path() : self.parent_path();
}

std::filesystem::path MachineDataFolder() { return text::PathFromUtf8(ZENTROVA_DATA_DIR); }

std::filesystem::path UserSettingsFolder() {
  std::filesystem::path config = EnvironmentPath("XDG_CONFIG_HOME");
  if (!config.is_absolute()) {
    std::filesystem::path home = EnvironmentPath("HOME");
    if (home.empty()) {
      if (const passwd* user = getpwuid(getuid()); user != nullptr && user->pw_dir != nullptr) {
        home = text::PathFromUtf8(user->pw_dir);
      }
    }
    config = home / ".config";
  }
  return config / "zentrova";
}

namespace {

// As the program's effective user, who is the one that writes.
bool MayWrite(const std::filesystem::path& path, int mode) {
  return faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0;
}

}  // namespace

std::filesystem::path WritablePlace(const std::filesystem::path& folder,
                                    const std::filesystem::path& fallback, std::string_view name) {
  const std::filesystem::path there = files::FindIgnoringCase(folder, name);
  std::error_code error;
  // A file is replaced through the folder, or else rewritten where it is.
  if (MayWrite(folder, W_OK | X_OK) ||
      (std::filesystem::exists(there, error) && MayWrite(there, W_OK))) {
    return there;
  }
  return files::FindIgnoringCase(fallback, name);
}

std::filesystem::path ResultFilePlace(std::string_view name) {
  return WritablePlace(ExecutableFolder(), UserSettingsFolder(), name);
}

}  // namespace zentrova::app
