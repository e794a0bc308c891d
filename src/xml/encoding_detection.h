#ifndef ZENTROVA_XML_ENCODING_DETECTION_H_
#define ZENTROVA_XML_ENCODING_DETECTION_H_

// How the bytes of an XML file are encoded, found before parsing: a byte-order mark first,
// then the first bytes of an unmarked UTF-16, UTF-32 or EBCDIC document, then the encoding the
// declaration names; UTF-8 when nothing says otherwise.

#include <cstddef>
#include <string>
#include <string_view>

namespace zentrova::xml {

struct DetectedEncoding {
  std::string name;       // as the file gives it ("ISO-8859-1"), or the one the bytes imply
  size_t bom_length = 0;  // bytes of byte-order mark to skip
  bool declared = false;  // the name comes from the declaration, not from the bytes
};

DetectedEncoding DetectEncoding(std::string_view bytes);

// The value of the declaration's encoding pseudo-attribute, read as ASCII from the start of
// the bytes; empty when there is no declaration or it names no encoding.
std::string DeclaredEncodingOf(std::string_view bytes);

}  // namespace zentrova::xml

#endif  // ZENTROVA_XML_ENCODING_DETECTION_H_
