#ifndef ZENTROVA_XML_TEXT_POSITION_H_
#define ZENTROVA_XML_TEXT_POSITION_H_

// Where a byte offset of UTF-8 text stands, as an editor shows it.

#include <cstddef>
#include <string_view>

namespace zentrova::xml {

struct TextPosition {
  size_t line = 1;    // 1-based; CR LF, LF and a lone CR each end a line
  size_t column = 1;  // 1-based, in characters (code points), not bytes
};

TextPosition PositionIn(std::string_view utf8, size_t offset);

}  // namespace zentrova::xml

#endif  // ZENTROVA_XML_TEXT_POSITION_H_
