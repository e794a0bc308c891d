#ifndef ZENTROVA_APP_PATHS_H_
#define ZENTROVA_APP_PATHS_H_

// Where a run finds and leaves its files: the exchange folder, the level table, the result
// for the calling program. What differs by system is in paths_posix.cpp and
// paths_windows.cpp.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrova::app {

// The exchange folder: ZENTROVA_KTEMP when set; C:\KTEMP on Windows; elsewhere drive_c/KTEMP
// inside the Wine prefix (WINEPREFIX, or ~/.wine), where a timetabling product running
// under Wine finds its C:\KTEMP.
std::filesystem::path DefaultExchangeFolder();

// The folder of the running executable: the programs, the level table shipped with them, the
// help.
std::filesystem::path ExecutableFolder();

// The machine's own data folder, for what the school makes for every user of the machine (its
// own level table): %ProgramData%\Zentrova on Windows; elsewhere the folder chosen when the
// program was built (ZENTROVA_DATA_DIR, /var/lib/zentrova unless told otherwise). Installing,
// updating or removing the program leaves what is in it as it is. The folder may not exist.
std::filesystem::path MachineDataFolder();

inline constexpr char kLevelTableName[] = "NIVELEX.DBF";

// Where a run finds its files.
struct RunPaths {
  std::filesystem::path ktemp;    // the exchange folder
  std::filesystem::path nivelex;  // the level table
  // Every place the level table was looked for, in order; `nivelex` alone when empty.
  std::vector<std::filesystem::path> nivelex_places = {};
};

// The exchange folder `ktemp` and the level table of the first of `folders` that holds one
// (its name found without regard to letter case), or the one the last folder would hold when
// none does.
RunPaths RunPathsLookingIn(std::filesystem::path ktemp,
                           const std::vector<std::filesystem::path>& folders);

// The exchange folder above; the school's own level table in the machine's data folder, or
// else the one shipped beside the executable.
RunPaths DefaultRunPaths();

// What a run says when it finds no level table: "ATENCIÓN - NIVELEX.DBF No encontrado -
// Reinstale ZENTROVA", then a line naming every place it was looked for.
std::u16string LevelTableMissingMessage(const RunPaths& paths);

// What stops a run at the level table: LevelTableMissingMessage when none was found, the
// fixed message with the path and the cause when the table found cannot be read; nothing
// when it can.
std::optional<std::u16string> LevelTableProblem(const RunPaths& paths);

// Where batch mode leaves the file `name` (Orbelin.ini) for the program that started it: in
// the executable's folder. Elsewhere than Windows, when this user can neither write the file
// there (its name found without regard to letter case) nor add it (the folder of an installed
// package), in the user's own settings folder UserSettingsFolder() instead. Nothing is made:
// the folder may not exist yet (see MakePrivateFolder). See paths_posix.h.
std::filesystem::path ResultFilePlace(std::string_view name);

// Makes `folder` and the folders above it that are missing, each readable by this user alone,
// as settings folders are. A folder that cannot be made is left to the write that needs it,
// which names it.
void MakePrivateFolder(const std::filesystem::path& folder);

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_PATHS_H_
