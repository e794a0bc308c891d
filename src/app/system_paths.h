#ifndef ZENTROVA_APP_SYSTEM_PATHS_H_
#define ZENTROVA_APP_SYSTEM_PATHS_H_

// What paths.cpp asks of each system; paths_posix.cpp and paths_windows.cpp give it, beside
// the functions of paths.h that differ by system.

#include <filesystem>
#include <string_view>

namespace zentrova::app {

// The environment variable `name` (ASCII) as a path; empty when it is unset or empty. Windows
// keeps the environment in UTF-16 (its narrow copy is in the ANSI code page); elsewhere the
// value is taken as UTF-8.
std::filesystem::path EnvironmentPath(std::string_view name);

// The exchange folder when ZENTROVA_KTEMP does not name one (see DefaultExchangeFolder).
std::filesystem::path SystemExchangeFolder();

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_SYSTEM_PATHS_H_
