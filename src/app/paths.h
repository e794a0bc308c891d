#ifndef ZENTROVA_APP_PATHS_H_
#define ZENTROVA_APP_PATHS_H_

#include <filesystem>

namespace zentrova::app {

// The exchange folder: ZENTROVA_KTEMP when set; C:\KTEMP on Windows; elsewhere drive_c/KTEMP
// inside the Wine prefix (WINEPREFIX, or ~/.wine), where a timetabling product running
// under Wine finds its C:\KTEMP.
std::filesystem::path DefaultExchangeFolder();

// The folder of the running executable (NIVELEX.DBF, Orbelin.ini and the help beside it).
std::filesystem::path ExecutableFolder();

// Where a run finds its files.
struct RunPaths {
  std::filesystem::path ktemp;    // the exchange folder
  std::filesystem::path nivelex;  // the level table
};

// The exchange folder above and NIVELEX.DBF beside the executable (found without regard to
// letter case).
RunPaths DefaultRunPaths();

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_PATHS_H_
