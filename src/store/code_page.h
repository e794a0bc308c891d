#ifndef ZENTROVA_STORE_CODE_PAGE_H_
#define ZENTROVA_STORE_CODE_PAGE_H_

// The code page of a table's text fields, from the language driver id (byte 29) or, in a
// level-7 table, the driver name; and the conversions through it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zentrova::store {

// ICU name of the code page: 0x57/0x58/0x59/0x03 -> "windows-1252", 0x01/0x1B -> "ibm-437",
// 0x02 -> "ibm-850", 0x64 -> "ibm-852", 0xC8 -> "windows-1250", 0xC9 -> "windows-1251";
// 0 or an unknown id gives "windows-1252".
const char* CodePageOfDriverId(uint8_t id);

// From a level-7 driver name: "DBWINUS0" -> "windows-1252", "DB437US0" -> "ibm-437",
// "DB850..." -> "ibm-850", "FOX..WIN" -> "windows-1252". Nothing for a name of another form,
// or one whose code page ICU cannot open: its text cannot be read.
std::optional<std::string> CodePageOfDriverName(std::string_view name);

std::u16string FromCodePage(std::string_view bytes, const std::string& code_page);
// One byte per character, '?' for what the code page lacks.
std::string ToCodePage(std::u16string_view text, const std::string& code_page);

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_CODE_PAGE_H_
