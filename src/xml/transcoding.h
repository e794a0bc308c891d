#ifndef ZENTROVA_XML_TRANSCODING_H_
#define ZENTROVA_XML_TRANSCODING_H_

// The file's bytes to the UTF-8 pugixml parses, and back, through ICU.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "xml/text_position.h"

namespace zentrova::xml {

// The first byte that does not fit the file's encoding.
struct InvalidBytes {
  std::string encoding;    // as the file names it, or the one its bytes imply
  size_t file_offset = 0;  // 0-based, from the start of the file
  TextPosition position;   // where it stands in the text decoded before it
};

struct DecodedText {
  std::string utf8;  // meaningless when `invalid` is set
  std::optional<InvalidBytes> invalid;
};

// The whole file as UTF-8, without byte-order mark. The encoding is detected from the bytes
// (see encoding_detection.h). A byte sequence that is not valid in the encoding, or a byte a
// Windows code page leaves undefined, is reported in `invalid`: bytes are never replaced,
// since a silently altered value would travel on into the tables. Raises xml::Error naming
// the file when the declared encoding is unknown.
DecodedText DecodeToUtf8(std::string bytes, const std::filesystem::path& file);

// Whether ICU knows the encoding by that name.
bool IsKnownEncoding(const std::string& name);

// Raises the error of a file that declares an encoding ICU does not know.
[[noreturn]] void ThrowUnknownEncoding(const std::filesystem::path& file, const std::string& name);

// UTF-8 text in the named encoding; a character the encoding lacks becomes a decimal
// character reference (&#8364;). UTF-16 and UTF-32 start with a byte-order mark
// (little-endian when the name gives no order); UTF-8 has none. Raises xml::Error naming the target
// file when the encoding is unknown.
std::string EncodeFromUtf8(std::string utf8, const std::string& encoding,
                           const std::filesystem::path& file);

}  // namespace zentrova::xml

#endif  // ZENTROVA_XML_TRANSCODING_H_
