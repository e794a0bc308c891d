#ifndef ZENTROVA_TEXT_ENCODING_H_
#define ZENTROVA_TEXT_ENCODING_H_

// Conversions at the edges of the core: UTF-8 (pugixml, console, messages), and the
// one-byte code pages of the tables. Ill-formed input never fails: U+FFFD replaces it.

#include <filesystem>
#include <string>
#include <string_view>

namespace zentrova::text {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// A path as text, for messages.
std::u16string PathText(const std::filesystem::path& path);

// The path that UTF-8 text names. Every path made from a std::string is made here: on
// Windows std::filesystem::path would read the bytes in the ANSI code page.
std::filesystem::path PathFromUtf8(std::string_view utf8);
// The other way: a path (or a file's name) as UTF-8 text.
std::string PathUtf8(const std::filesystem::path& path);

// Windows-1252, one byte per character; a character the code page lacks becomes '?'.
std::string Utf16ToCp1252(std::u16string_view text);
std::u16string Cp1252ToUtf16(std::string_view bytes);

// The text as a Windows-1252 table stores it: what Cp1252ToUtf16(Utf16ToCp1252(text)) gives.
std::u16string AsCp1252(std::u16string_view text);

// Any code page ICU knows by name ("ibm-850", "windows-1250", a locale's "ISO-8859-15"): its
// bytes to text, and text to its bytes with '?' for what the code page lacks. Raises
// zentrova::Error for a name ICU does not know.
std::u16string DecodeCodePage(std::string_view bytes, const char* icu_name);
std::string EncodeCodePage(std::u16string_view text, const char* icu_name);
bool IsKnownCodePage(const std::string& icu_name);

}  // namespace zentrova::text

#endif  // ZENTROVA_TEXT_ENCODING_H_
