#ifndef ZENTROVA_XML_TRANSCODING_H_
#define ZENTROVA_XML_TRANSCODING_H_

// The file's bytes to the UTF-8 pugixml parses, and back, through ICU.

#include <filesystem>
#include <string>
#include <string_view>

namespace zentrova::xml {

// The whole file as UTF-8, without byte-order mark. The encoding is detected from the bytes
// (see encoding_detection.h). Raises xml::Error naming the file when the declared encoding is
// unknown, and when a byte sequence is not valid in the encoding: bytes are never replaced,
// since a silently altered value would travel on into the tables.
std::string DecodeToUtf8(std::string bytes, const std::filesystem::path& file);

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
