#ifndef ZENTROVA_APP_PRIVATE_PROFILE_H_
#define ZENTROVA_APP_PRIVATE_PROFILE_H_

// A private-profile (INI) file's text with one key set, every other byte as it was: the
// calling program's own sections, keys, comments, blank lines, line ends and signature stay.

#include <string>
#include <string_view>

namespace zentrova::app {

// Sets `key` of `section` to `value` (all three ASCII) in `content`, as Windows'
// WritePrivateProfileString does: section and key names match without regard to the case of
// A to Z and to blanks around them; the first such key line gets the new value after its '='
// (the rest of the line as it was before the value); a section without the key gets it after
// its last entry; a file without the section gets it at its end. New lines take the file's
// line ends (CRLF for a file that has none yet). `content` is one byte per unit (the ANSI
// code page, or UTF-8 with or without its signature) or UTF-16 code units.
std::string WithProfileValue(std::string_view content, std::string_view section,
                             std::string_view key, std::string_view value);
std::u16string WithProfileValue(std::u16string_view content, std::string_view section,
                                std::string_view key, std::string_view value);

// The same on a whole file's bytes, in the encoding they are in: UTF-16 (little- or
// big-endian, told by its byte-order mark, or without one by the zero bytes of its first
// character), or else bytes of the ANSI code page or UTF-8. The result is in that same
// encoding, its byte-order mark kept; an empty file gets one-byte text.
std::string ProfileFileWithValue(std::string_view file, std::string_view section,
                                 std::string_view key, std::string_view value);

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_PRIVATE_PROFILE_H_
