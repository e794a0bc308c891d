#ifndef ZENTROVA_APP_PATHS_POSIX_H_
#define ZENTROVA_APP_PATHS_POSIX_H_

// What only POSIX systems have among the paths: the user's settings folder, where batch mode
// leaves its result when the program's folder is not the user's to write (an installed
// package). Windows' installers let every user change the program folder, so it has none.

#include <filesystem>
#include <string_view>

namespace zentrova::app {

// $XDG_CONFIG_HOME/zentrova; ~/.config/zentrova when XDG_CONFIG_HOME is unset or not absolute.
std::filesystem::path UserSettingsFolder();

// `name` in `folder` (found without regard to letter case) when this user may write that file
// or add it there; else `name` in `fallback`.
std::filesystem::path WritablePlace(const std::filesystem::path& folder,
                                    const std::filesystem::path& fallback, std::string_view name);

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_PATHS_POSIX_H_
