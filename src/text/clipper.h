#ifndef ZENTROVA_TEXT_CLIPPER_H_
#define ZENTROVA_TEXT_CLIPPER_H_

// The text functions the converters clean values and build codes with. A character is one
// UTF-16 code unit and only U+0020 is a space: tabs, line breaks and U+00A0 are ordinary
// characters. None of them fails.

#include <string>
#include <string_view>

namespace zentrova::text {

std::u16string LTrim(std::u16string text);
std::u16string RTrim(std::u16string text);
// RTrim, then LTrim.
std::u16string AllTrim(std::u16string text);
// The same two trims for 8-bit text (field, tag and file names, bytes stored in a table), as
// views into it: only the byte 0x20 is a space.
std::string_view RTrim(std::string_view text);
std::string_view AllTrim(std::string_view text);

// The first n characters when the text is longer than n (empty for n <= 0); else the text.
std::u16string LeftChars(std::u16string text, int n);
// The last n characters when the text is longer than n (empty for n <= 0); else the text.
std::u16string RightChars(std::u16string text, int n);
// The characters A to Z (U+0041..U+005A) of the text, in order.
std::u16string CapitalsOnly(const std::u16string& text);
// The character after each space, in order; the first character is never taken.
std::u16string CharsAfterSpaces(const std::u16string& text);

}  // namespace zentrova::text

#endif  // ZENTROVA_TEXT_CLIPPER_H_
