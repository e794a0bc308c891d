#include "xml/transcoding.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <array>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>

#include "files/file_error.h"
#include "text/converter.h"
#include "text/encoding.h"
#include "xml/document.h"
#include "xml/encoding_detection.h"
#include "xml/text_position.h"

namespace zentrova::xml {
namespace {

using text::Converter;

// XML's EncName: [A-Za-z] ([A-Za-z0-9._] | '-')*. ICU skips other characters when it
// matches a name, and opens its default converter for an empty one.
bool IsEncodingName(std::string_view name) {
  const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (name.empty() || !letter(name.front())) return false;
  for (const char c : name) {
    if (!letter(c) && !(c >= '0' && c <= '9') && c != '.' && c != '_' && c != '-') return false;
  }
  return true;
}

// Null when the name is not an encoding name or ICU does not know it.
Converter OpenConverter(const std::string& name) {
  return IsEncodingName(name) ? text::OpenConverter(name) : nullptr;
}

using files::PathForMessage;

// file_offset counts from the start of the file; decoded is the UTF-8 of what came before.
InvalidBytes InvalidAt(const std::string& encoding, std::string_view decoded, size_t file_offset) {
  return {encoding, file_offset, PositionIn(decoded, decoded.size())};
}

// How many bytes from `bytes` on are ASCII, looked at eight at a time: most of a document is.
size_t AsciiLength(const unsigned char* bytes, size_t size) {
  size_t i = 0;
  for (uint64_t word; i + 8 <= size; i += 8) {
    std::memcpy(&word, bytes + i, 8);
    if (word & 0x8080808080808080ULL) break;
  }
  while (i < size && bytes[i] < 0x80) ++i;
  return i;
}

// UTF-8 needs no conversion, only the check that every sequence is well formed.
std::optional<InvalidBytes> CheckUtf8(const std::string& utf8, size_t bom_length) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
  const int64_t length = static_cast<int64_t>(utf8.size());
  int64_t i = 0;
  while (i < length) {
    if (bytes[i] < 0x80) {
      i += static_cast<int64_t>(AsciiLength(bytes + i, static_cast<size_t>(length - i)));
      continue;
    }
    // U8_NEXT counts in int32_t: look at one sequence at most four bytes long at a time.
    const int32_t window = static_cast<int32_t>(length - i < 4 ? length - i : 4);
    int32_t next = 0;
    UChar32 c;
    U8_NEXT(bytes + i, next, window, c);
    if (c < 0) {
      return InvalidAt("UTF-8", std::string_view(utf8).substr(0, static_cast<size_t>(i)),
                       bom_length + static_cast<size_t>(i));
    }
    i += next;
  }
  return std::nullopt;
}

// Appends UTF-16 code units, all well formed, as UTF-8.
void AppendUtf8(std::string& utf8, const char16_t* units, int32_t count) {
  const size_t old_size = utf8.size();
  utf8.resize(old_size + static_cast<size_t>(count) * 3);
  int32_t written = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8(utf8.data() + old_size, count * 3, &written, units, count, &status);
  utf8.resize(old_size + static_cast<size_t>(written));
}

DecodedText DecodeWith(UConverter* converter, const std::string& encoding, std::string_view body,
                       size_t bom_length) {
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  std::string utf8;
  utf8.reserve(body.size() + body.size() / 4);
  // Decoded a piece at a time: the whole file in UTF-16 would double the memory used.
  constexpr int32_t kChunk = 1 << 16;
  std::u16string buffer(kChunk, u'\0');
  char16_t* const chunk = buffer.data();
  int32_t carried = 0;  // a high surrogate whose low half comes with the next piece
  const char* source = body.data();
  const char* const source_limit = body.data() + body.size();
  for (;;) {
    status = U_ZERO_ERROR;
    UChar* target = chunk + carried;
    ucnv_toUnicode(converter, &target, chunk + kChunk, &source, source_limit, nullptr, true,
                   &status);
    int32_t count = static_cast<int32_t>(target - chunk);
    carried = status == U_BUFFER_OVERFLOW_ERROR && count > 0 && U16_IS_LEAD(chunk[count - 1]);
    AppendUtf8(utf8, chunk, count - carried);
    if (carried) chunk[0] = chunk[count - 1];
    if (status != U_BUFFER_OVERFLOW_ERROR) break;
  }
  if (U_FAILURE(status)) {
    char invalid[32];
    int8_t invalid_length = sizeof invalid;
    UErrorCode ignored = U_ZERO_ERROR;
    ucnv_getInvalidChars(converter, invalid, &invalid_length, &ignored);
    if (U_FAILURE(ignored)) invalid_length = 0;
    const size_t offset = bom_length + static_cast<size_t>(source - body.data()) -
                          static_cast<size_t>(invalid_length);
    return {std::string(), InvalidAt(encoding, utf8, offset)};
  }
  return {std::move(utf8), std::nullopt};
}

// The Windows ANSI code pages leave a few bytes undefined (0x81, 0x8D, 0x8F, 0x90 and 0x9D in
// windows-1252). ICU reads them all the same, as C1 control characters or private-use
// characters, neither of which these code pages define; a file holding one was not written in
// the code page it declares. ISO-8859-1 and the other ISO code pages define every C1 control,
// so they are not among these.
bool IsWindowsAnsiCodePage(UConverter* converter) {
  UErrorCode status = U_ZERO_ERROR;
  const char* name = ucnv_getName(converter, &status);
  if (U_FAILURE(status) || ucnv_getMaxCharSize(converter) != 1) return false;
  const char* windows_name = ucnv_getStandardName(name, "WINDOWS", &status);
  if (U_FAILURE(status) || windows_name == nullptr) return false;
  const std::string_view windows(windows_name);
  if (windows == "windows-874") return true;
  return windows.size() == 12 && windows.starts_with("windows-125") && windows[11] >= '0' &&
         windows[11] <= '8';
}

// How a code page of one byte per character reads each byte, as UTF-8. Such a code page reads
// every byte on its own, so the table, made once through ICU, decodes a file as ICU would,
// and far faster than a call per piece of text.
struct SingleByteTable {
  std::array<std::array<char, 4>, 256> utf8{};
  std::array<uint8_t, 256> length{};  // 0 for a byte that stands for no character
};

// Nothing for a code page with characters of more than one byte.
std::optional<SingleByteTable> SingleByteTableOf(UConverter* converter) {
  if (ucnv_getMaxCharSize(converter) != 1) return std::nullopt;
  const bool windows = IsWindowsAnsiCodePage(converter);
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  SingleByteTable table;
  for (int byte = 0; byte < 256; ++byte) {
    const char in = static_cast<char>(byte);
    UChar out[4];
    status = U_ZERO_ERROR;
    ucnv_resetToUnicode(converter);
    const int32_t length = ucnv_toUChars(converter, out, 4, &in, 1, &status);
    if (U_FAILURE(status) || length < 1 || length > 2) continue;
    const UChar c = out[0];
    if (windows && (length != 1 || (c >= 0x80 && c <= 0x9F) || (c >= 0xE000 && c <= 0xF8FF))) {
      continue;
    }
    int32_t written = 0;
    u_strToUTF8(table.utf8[byte].data(), 4, &written, out, length, &status);
    if (U_SUCCESS(status)) table.length[byte] = static_cast<uint8_t>(written);
  }
  ucnv_resetToUnicode(converter);
  return table;
}

// `body` through the table; the first byte it leaves undefined is reported. When the code
// page reads ASCII as itself, runs of ASCII are copied as they are.
DecodedText DecodeSingleBytes(const SingleByteTable& table, const std::string& encoding,
                              std::string_view body, size_t bom_length) {
  bool keeps_ascii = true;
  for (int byte = 0; byte < 0x80; ++byte) {
    keeps_ascii = keeps_ascii && table.length[byte] == 1 && table.utf8[byte][0] == byte;
  }
  const auto* bytes = reinterpret_cast<const unsigned char*>(body.data());
  // The length of the UTF-8 first, up to the first byte that stands for no character.
  size_t end = 0;
  size_t size = 0;
  while (end < body.size()) {
    const size_t ascii = keeps_ascii ? AsciiLength(bytes + end, body.size() - end) : 0;
    end += ascii;
    size += ascii;
    if (end == body.size() || table.length[bytes[end]] == 0) break;
    size += table.length[bytes[end++]];
  }
  // Each character is copied whole as four bytes, then the next starts after its length.
  std::string utf8(size + 3, '\0');
  char* out = utf8.data();
  for (size_t i = 0; i < end;) {
    const size_t ascii = keeps_ascii ? AsciiLength(bytes + i, end - i) : 0;
    std::memcpy(out, bytes + i, ascii);
    out += ascii;
    i += ascii;
    if (i == end) break;
    std::memcpy(out, table.utf8[bytes[i]].data(), 4);
    out += table.length[bytes[i++]];
  }
  utf8.resize(size);
  if (end < body.size()) return {std::string(), InvalidAt(encoding, utf8, bom_length + end)};
  return {std::move(utf8), std::nullopt};
}

// The declaration up to its closing "?>", all ASCII when it was found.
std::string_view DeclarationBytes(std::string_view bytes) {
  const size_t end = bytes.find("?>");
  return bytes.substr(0, end == std::string_view::npos ? 0 : end + 2);
}

// Whether the encoding decodes the ASCII text to the same characters.
bool ReadsAsItself(const std::string& encoding, std::string_view ascii) {
  Converter converter = OpenConverter(encoding);
  if (!converter) return false;
  std::u16string decoded(ascii.size() + 8, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length =
      ucnv_toUChars(converter.get(), decoded.data(), static_cast<int32_t>(decoded.size()),
                    ascii.data(), static_cast<int32_t>(ascii.size()), &status);
  if (U_FAILURE(status) || static_cast<size_t>(length) != ascii.size()) return false;
  for (size_t i = 0; i < ascii.size(); ++i) {
    if (decoded[i] != static_cast<unsigned char>(ascii[i])) return false;
  }
  return true;
}

}  // namespace

bool IsKnownEncoding(const std::string& name) { return OpenConverter(name) != nullptr; }

void ThrowUnknownEncoding(const std::filesystem::path& file, const std::string& name) {
  throw Error("El archivo " + PathForMessage(file) + " declara la codificación '" + name +
              "', que no se admite.");
}

DecodedText DecodeToUtf8(std::string bytes, const std::filesystem::path& file) {
  const DetectedEncoding detected = DetectEncoding(bytes);
  Converter converter = OpenConverter(detected.name);
  if (!converter) ThrowUnknownEncoding(file, detected.name);
  // A declaration we could read as ASCII was written in an encoding that keeps ASCII. When it
  // names one that does not (UTF-16, UTF-32, EBCDIC), the name is wrong and the bytes are taken
  // for UTF-8, the default of XML.
  const bool is_utf8 =
      ucnv_getType(converter.get()) == UCNV_UTF8 ||
      (detected.declared && !ReadsAsItself(detected.name, DeclarationBytes(bytes)));
  if (is_utf8) {
    bytes.erase(0, detected.bom_length);
    std::optional<InvalidBytes> invalid = CheckUtf8(bytes, detected.bom_length);
    return {invalid ? std::string() : std::move(bytes), std::move(invalid)};
  }
  if (bytes.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    throw Error("No se puede leer el archivo " + PathForMessage(file) + ": es demasiado grande.");
  }
  const std::string_view body = std::string_view(bytes).substr(detected.bom_length);
  if (const auto table = SingleByteTableOf(converter.get())) {
    return DecodeSingleBytes(*table, detected.name, body, detected.bom_length);
  }
  DecodedText decoded = DecodeWith(converter.get(), detected.name, body, detected.bom_length);
  // The text is kept as long as the document: without the room reserved for the decoding.
  if (decoded.utf8.capacity() > decoded.utf8.size() + decoded.utf8.size() / 8) {
    decoded.utf8.shrink_to_fit();
  }
  return decoded;
}

Encoder::Encoder(const std::string& encoding, const std::filesystem::path& file)
    : encoding_(encoding), file_(file) {
  Converter converter = OpenConverter(encoding);
  if (!converter) {
    throw Error("No se puede guardar el archivo " + PathForMessage(file) + ": la codificación '" +
                encoding + "', que declara, no se admite.");
  }
  const UConverterType type = ucnv_getType(converter.get());
  if (type == UCNV_UTF8) return;
  // Unicode encodings wider than a byte start with a byte-order mark. ICU would choose
  // big-endian when the name gives no order; the files we meet are little-endian.
  if (type == UCNV_UTF16 || type == UCNV_UTF16_LittleEndian) {
    converter = OpenConverter("UTF-16LE");
    byte_order_mark_ = "\xFF\xFE";
  } else if (type == UCNV_UTF16_BigEndian) {
    byte_order_mark_ = "\xFE\xFF";
  } else if (type == UCNV_UTF32 || type == UCNV_UTF32_LittleEndian) {
    converter = OpenConverter("UTF-32LE");
    byte_order_mark_ = std::string("\xFF\xFE\0\0", 4);
  } else if (type == UCNV_UTF32_BigEndian) {
    byte_order_mark_ = std::string("\0\0\xFE\xFF", 4);
  }
  to_ = std::move(converter);
  from_ = OpenConverter("UTF-8");
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setFromUCallBack(to_.get(), UCNV_FROM_U_CALLBACK_ESCAPE, UCNV_ESCAPE_XML_DEC, nullptr,
                        nullptr, &status);
}

void Encoder::Encode(std::string_view utf8, bool last, std::string& bytes) {
  if (!to_) {
    bytes.append(utf8);
    return;
  }
  bytes += byte_order_mark_;
  byte_order_mark_.clear();
  size_t used = bytes.size();
  bytes.resize(used + utf8.size() * static_cast<size_t>(ucnv_getMaxCharSize(to_.get())) + 64);
  char* target = bytes.data() + used;
  // ICU takes no null source, which an empty piece may give.
  if (utf8.empty()) utf8 = std::string_view("", 0);
  const char* source = utf8.data();
  UErrorCode status;
  for (;;) {
    status = U_ZERO_ERROR;
    ucnv_convertEx(to_.get(), from_.get(), &target, bytes.data() + bytes.size(), &source,
                   utf8.data() + utf8.size(), pivot_, &pivot_source_, &pivot_target_,
                   pivot_ + std::size(pivot_), reset_, last, &status);
    reset_ = false;
    if (status != U_BUFFER_OVERFLOW_ERROR) break;
    // References for missing characters, or a wider encoding, made the text longer.
    used = static_cast<size_t>(target - bytes.data());
    bytes.resize(bytes.size() * 2);
    target = bytes.data() + used;
  }
  if (U_FAILURE(status)) {
    throw Error("No se puede guardar el archivo " + PathForMessage(file_) +
                ": falla la conversión a la codificación '" + encoding_ + "' (" +
                u_errorName(status) + ").");
  }
  bytes.resize(static_cast<size_t>(target - bytes.data()));
}

}  // namespace zentrova::xml
