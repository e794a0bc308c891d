#include "app/paths.h"

#include <string>
#include <system_error>

#include "app/system_paths.h"
#include "files/find_file.h"
#include "import/level_table.h"
#include "store/table.h"
#include "text/encoding.h"

namespace zentrova::app {

std::filesystem::path DefaultExchangeFolder() {
  if (auto configured = EnvironmentPath("ZENTROVA_KTEMP"); !configured.empty()) {
    return configured;
  }
  return SystemExchangeFolder();
}

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
    paths.nivelex_places.push_back(files::FindIgnoringCase(folder, kLevelTableName));
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
