#include "xml/transcoding.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <memory>

#include "text/encoding.h"
#include "xml/document.h"
#include "xml/encoding_detection.h"

namespace zentrova::xml {
namespace {

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// Null when ICU does not know the name. An empty name would give ICU's default converter.
Converter OpenConverter(const std::string& name) {
  if (name.empty()) return nullptr;
  UErrorCode status = U_ZERO_ERROR;
  Converter converter(ucnv_open(name.c_str(), &status));
  if (U_FAILURE(status)) return nullptr;
  return converter;
}

std::string PathForMessage(const std::filesystem::path& file) {
  return text::Utf16ToUtf8(text::PathText(file));
}

std::string Number(size_t value) { return std::to_string(value); }

// 1-based line and column of the character after the text decoded so far.
std::string PositionAfter(std::u16string_view decoded) {
  size_t line = 1;
  size_t column = 1;
  for (size_t i = 0; i < decoded.size(); ++i) {
    const char16_t c = decoded[i];
    if (c == u'\n' || (c == u'\r' && (i + 1 == decoded.size() || decoded[i + 1] != u'\n'))) {
      ++line;
      column = 1;
    } else if (c < 0xDC00 || c > 0xDFFF) {  // a low surrogate ends a character already counted
      ++column;
    }
  }
  return "línea " + Number(line) + ", columna " + Number(column);
}

}  // namespace

std::string DecodeToUtf8(std::string_view bytes, const std::filesystem::path& file) {
  const DetectedEncoding detected = DetectEncoding(bytes);
  Converter converter = OpenConverter(detected.name);
  if (!converter) {
    throw Error("El archivo " + PathForMessage(file) + " declara la codificación '" +
                detected.name + "', que no se admite.");
  }
  // A declaration we could read as ASCII was not written in UTF-16 or UTF-32, whatever it
  // names: such a file is UTF-8.
  std::string used_name = detected.name;
  if (detected.declared && ucnv_getMinCharSize(converter.get()) > 1) {
    used_name = "UTF-8";
    converter = OpenConverter(used_name);
  }
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  const std::string_view body = bytes.substr(detected.bom_length);
  std::u16string decoded(body.size() + 16, u'\0');
  const char* source = body.data();
  const char* const source_limit = body.data() + body.size();
  size_t written = 0;
  for (;;) {
    status = U_ZERO_ERROR;
    UChar* target = decoded.data() + written;
    ucnv_toUnicode(converter.get(), &target, decoded.data() + decoded.size(), &source, source_limit,
                   nullptr, true, &status);
    written = static_cast<size_t>(target - decoded.data());
    if (status != U_BUFFER_OVERFLOW_ERROR) break;
    decoded.resize(decoded.size() * 2);
  }
  if (U_FAILURE(status)) {
    char invalid[32];
    int8_t invalid_length = sizeof invalid;
    UErrorCode ignored = U_ZERO_ERROR;
    ucnv_getInvalidChars(converter.get(), invalid, &invalid_length, &ignored);
    if (U_FAILURE(ignored)) invalid_length = 0;
    const size_t offset =
        detected.bom_length + static_cast<size_t>(source - body.data()) - invalid_length;
    throw Error("El archivo " + PathForMessage(file) +
                " contiene bytes que no son válidos en la codificación '" + used_name + "' (" +
                PositionAfter(std::u16string_view(decoded.data(), written)) + ", byte " +
                Number(offset + 1) + ").");
  }
  decoded.resize(written);
  return text::Utf16ToUtf8(decoded);
}

std::string EncodeFromUtf8(std::string_view utf8, const std::string& encoding,
                           const std::filesystem::path& file) {
  Converter converter = OpenConverter(encoding);
  if (!converter) {
    throw Error("No se puede guardar el archivo " + PathForMessage(file) + ": la codificación '" +
                encoding + "', que declara, no se admite.");
  }
  const UConverterType type = ucnv_getType(converter.get());
  if (type == UCNV_UTF8) return std::string(utf8);
  std::u16string text = text::Utf8ToUtf16(utf8);
  if (type == UCNV_UTF16) {
    // ICU would choose big-endian; the files we meet in UTF-16 are little-endian.
    converter = OpenConverter("UTF-16LE");
  }
  if (type == UCNV_UTF16 || type == UCNV_UTF16_BigEndian || type == UCNV_UTF16_LittleEndian) {
    text.insert(text.begin(), u'\uFEFF');
  }

  UErrorCode status = U_ZERO_ERROR;
  ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_ESCAPE, UCNV_ESCAPE_XML_DEC, nullptr,
                        nullptr, &status);
  std::string bytes(text.size() * static_cast<size_t>(ucnv_getMaxCharSize(converter.get())) + 16,
                    '\0');
  int32_t length =
      ucnv_fromUChars(converter.get(), bytes.data(), static_cast<int32_t>(bytes.size()),
                      text.data(), static_cast<int32_t>(text.size()), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    // References for missing characters made the text longer than estimated.
    bytes.resize(static_cast<size_t>(length));
    status = U_ZERO_ERROR;
    ucnv_resetFromUnicode(converter.get());
    length = ucnv_fromUChars(converter.get(), bytes.data(), static_cast<int32_t>(bytes.size()),
                             text.data(), static_cast<int32_t>(text.size()), &status);
  }
  if (U_FAILURE(status)) {
    throw Error("No se puede guardar el archivo " + PathForMessage(file) +
                ": falla la conversión a la codificación '" + encoding + "' (" +
                u_errorName(status) + ").");
  }
  bytes.resize(static_cast<size_t>(length));
  return bytes;
}

}  // namespace zentrova::xml
