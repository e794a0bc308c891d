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

struct CharacterFault {
  size_t offset;        // byte offset into the UTF-8 text
  std::string message;  // Spanish, for LoadResult
};

// The first such character of `utf8` (valid UTF-8). References are looked for outside
// comments, CDATA sections and processing instructions, where "&#" is plain text.
std::optional<CharacterFault> FindForbiddenCharacter(std::string_view utf8);

}  // namespace zentrova::xml

#endif  // ZENTROVA_XML_CHARACTER_CHECK_H_
