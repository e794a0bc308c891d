#ifndef ZENTROVA_XML_TRANSCODING_H_
#define ZENTROVA_XML_TRANSCODING_H_

// The file's bytes to the UTF-8 pugixml parses, and back, through ICU.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "text/converter.h"
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

// UTF-8 text in the named encoding, a piece at a time; a character the encoding lacks becomes
// a decimal character reference (&#8364;). UTF-16 and UTF-32 start with a byte-order mark
// (little-endian when the name gives no order); UTF-8 has none. The pieces may split a
// character: the bytes of all of them are those of their whole text at once.
class Encoder {
 public:
  // Raises xml::Error naming the target file when the encoding is unknown.
  Encoder(const std::string& encoding, const std::filesystem::path& file);
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;

  // Appends the bytes of the next piece to `bytes`; `last` for the final piece, after which
  // nothing more is encoded. Raises xml::Error naming the target file when the conversion
  // fails.
  void Encode(std::string_view utf8, bool last, std::string& bytes);

 private:
  std::string encoding_;
  std::filesystem::path file_;
  text::Converter to_;           // null for UTF-8, which needs no conversion
  text::Converter from_;         // reads the UTF-8
  std::string byte_order_mark_;  // still to be written before the first piece
  bool reset_ = true;
  // The UTF-16 that ICU passes from one converter to the other, kept between the pieces.
  UChar pivot_[1024];
  UChar* pivot_source_ = pivot_;
  UChar* pivot_target_ = pivot_;
};

}  // namespace zentrova::xml

#endif  // ZENTROVA_XML_TRANSCODING_H_
