#ifndef ZENTROVA_XML_CHARACTER_CHECK_H_
#define ZENTROVA_XML_CHARACTER_CHECK_H_

// Characters XML does not allow and pugixml lets through: NUL and the other control
// characters but tab, line feed and carriage return, U+FFFE and U+FFFF, written as they are
// or as character references (which may also name a number beyond Unicode). A document
// holding one is not well formed; read anyway, its texts could not be saved as XML again.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zentrova::xml {

// Whether XML 1.0 allows the code point `c` in a document: tab, line feed, carriage return,
// and everything from U+0020 up but surrogates, U+FFFE and U+FFFF.
bool IsXmlCharacter(uint32_t c);

// Whether a character XML forbids can begin with this byte of UTF-8: a control character, or
// the first byte of U+FFFE and U+FFFF. Every other byte needs no closer look.
constexpr bool MayBeginForbiddenCharacter(unsigned char byte) {
  return byte < 0x20 || byte == 0xEF;
}

// A Spanish description in two parts, between which a message says where the character
// stands: "carácter de control U+0001" + " en el elemento 'dato'" + ", que XML no admite".
struct CharacterFault {
  std::string subject;
  std::string remark;
};

// The character XML forbids that begins at utf8[i] (valid UTF-8), or nothing when the
// character there is allowed.
std::optional<CharacterFault> ForbiddenCharacterAt(std::string_view utf8, size_t i);

// For the "&#" at utf8[i]: a fault when a character reference begins there and names a
// character XML forbids or a number beyond Unicode; nothing otherwise, a malformed reference
// included (the parser judges those).
std::optional<CharacterFault> ForbiddenReferenceAt(std::string_view utf8, size_t i);

}  // namespace zentrova::xml

#endif  // ZENTROVA_XML_CHARACTER_CHECK_H_
