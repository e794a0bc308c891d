#ifndef ZENTROVA_APP_PRIVATE_PROFILE_H_
#define ZENTROVA_APP_PRIVATE_PROFILE_H_

// A private-profile (INI) file's text with one key set, every other byte as it was: the
// calling program's own sections, keys, comments, blank lines, line ends and signature stay.

#include <string>
#include <string_view>

namespace zentrova::app {

// Sets `key` of `section` to `value` in `content`, as Windows' WritePrivateProfileString
// does: section and key names match without regard to the case of A to Z and to blanks around
// them; the first such key line gets the new value after its '=' (the rest of the line as it
// was before the value); a section without the key gets it after its last entry; a file
// without the section gets it at its end. New lines take the file's line ends (CRLF for a
// file that has none yet).
std::string WithProfileValue(std::string_view content, std::string_view section,
                             std::string_view key, std::string_view value);

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_PRIVATE_PROFILE_H_
