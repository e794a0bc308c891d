#include "xml/text_position.h"

namespace zentrova::xml {

TextPosition PositionIn(std::string_view utf8, size_t offset) {
  TextPosition position;
  const size_t end = offset < utf8.size() ? offset : utf8.size();
  for (size_t i = 0; i < end; ++i) {
    const char c = utf8[i];
    if (c == '\n' || (c == '\r' && (i + 1 >= utf8.size() || utf8[i + 1] != '\n'))) {
      ++position.line;
      position.column = 1;
    } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {  // not a continuation byte
      ++position.column;
    }
  }
  return position;
}

}  // namespace zentrova::xml
