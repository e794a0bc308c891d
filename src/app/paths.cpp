#include "app/paths.h"

#include <cstdlib>
#include <string>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#include <shlobj.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>
#endif

#include "import/level_table.h"
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

// Where each system keeps the machine's data and the result for the calling program. The
// installers and the documents name the same folders.
#ifdef _WIN32

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
  return store::FindIgnoringCase(ExecutableFolder(), name);
}

#else

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
  const std::filesystem::path there = store::FindIgnoringCase(folder, name);
  std::error_code error;
  // A file is replaced through the folder, or else rewritten where it is.
  if (MayWrite(folder, W_OK | X_OK) ||
      (std::filesystem::exists(there, error) && MayWrite(there, W_OK))) {
    return there;
  }
  return store::FindIgnoringCase(fallback, name);
}

std::filesystem::path ResultFilePlace(std::string_view name) {
  return WritablePlace(ExecutableFolder(), UserSettingsFolder(), name);
}

#endif

// Made as the XDG base directories ask: readable by the user alone. (Windows keeps only the
// read-only attribute of these permissions; the folder made there is an ordinary one.)
void MakePrivateFolder(const std::filesystem::path& folder) {
  std::error_code error;
  if (folder.empty() || std::filesystem::exists(folder, error)) return;
  MakePrivateFolder(folder.parent_path());
  if (std::filesystem::create_directory(folder, error)) {
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);
  }
}

RunPaths RunPathsLookingIn(std::filesystem::path ktemp,
                           const std::vector<std::filesystem::path>& folders) {
  RunPaths paths{std::move(ktemp), {}, {}};
  for (const auto& folder : folders) {
    paths.nivelex_places.push_back(store::FindIgnoringCase(folder, kLevelTableName));
  }
  // A school's table that is there but cannot be read is reported, not passed over for the
  // shipped one.
  for (const auto& place : paths.nivelex_places) {
    std::error_code error;
    paths.nivelex = place;
    if (std::filesystem::exists(std::filesystem::symlink_status(place, error))) break;
  }
  return paths;
}

RunPaths DefaultRunPaths() {
  return RunPathsLookingIn(DefaultExchangeFolder(), {MachineDataFolder(), ExecutableFolder()});
}

std::u16string LevelTableMissingMessage(const RunPaths& paths) {
  const std::vector<std::filesystem::path> places =
      paths.nivelex_places.empty() ? std::vector{paths.nivelex} : paths.nivelex_places;
  std::u16string message = std::u16string(import::kLevelTableMissingMessage) + u"\n";
  for (size_t i = 0; i < places.size(); ++i) {
    message += i == 0 ? u"Se ha buscado en «" : i + 1 == places.size() ? u" y en «" : u", en «";
    message += text::PathText(places[i]) + u"»";
  }
  return message + u".";
}

std::optional<std::u16string> LevelTableProblem(const RunPaths& paths) {
  auto problem = import::LevelTableProblem(paths.nivelex);
  if (problem && *problem == import::kLevelTableMissingMessage) {
    return LevelTableMissingMessage(paths);
  }
  return problem;
}

}  // namespace zentrova::app
