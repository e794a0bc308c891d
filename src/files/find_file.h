#ifndef ZENTROVA_FILES_FIND_FILE_H_
#define ZENTROVA_FILES_FIND_FILE_H_

// Finding a file by name the way Windows does, without regard to letter case, on every system.

#include <filesystem>
#include <string_view>

namespace zentrova::files {

// Finds `name` (UTF-8) in `folder` without regard to the case of the letters A to Z, as
// Windows does: the exact name when it exists, else the smallest matching name in byte order
// (so the choice does not depend on the order the folder lists them in). The path holds the
// name as the folder does. Gives folder / name when no file matches.
std::filesystem::path FindIgnoringCase(const std::filesystem::path& folder, std::string_view name);

}  // namespace zentrova::files

#endif  // ZENTROVA_FILES_FIND_FILE_H_
