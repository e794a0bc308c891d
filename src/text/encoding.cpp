#include "text/encoding.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/unistr.h>

#include <memory>
#include <string>
#include <unordered_map>

#include "error.h"

namespace zentrova::text {
namespace {

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter OpenConverter(const char* name) {
  UErrorCode status = U_ZERO_ERROR;
  Converter converter(ucnv_open(name, &status));
  if (U_FAILURE(status)) {
    throw Error(std::string("No se puede abrir la conversión de caracteres '") + name + "'.");
  }
  return converter;
}

// Opening a converter costs more than converting a field's text, so each thread keeps the
// ones it has used. ucnv_fromUChars and ucnv_toUChars reset a converter before they use it.
UConverter* CachedConverter(const char* name) {
  thread_local std::unordered_map<std::string, Converter> converters;
  auto found = converters.find(name);
  if (found == converters.end()) found = converters.emplace(name, OpenConverter(name)).first;
  return found->second.get();
}

UConverter* Cp1252Encoder() {
  thread_local Converter encoder = [] {
    Converter converter = OpenConverter("windows-1252");
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setSubstChars(converter.get(), "?", 1, &status);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_SUBSTITUTE, nullptr, nullptr,
                          nullptr, &status);
    return converter;
  }();
  return encoder.get();
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
  const icu::UnicodeString s = icu::UnicodeString::fromUTF8(
      icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
  return std::u16string(s.getBuffer(), static_cast<size_t>(s.length()));
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string utf8;
  icu::UnicodeString(false, utf16.data(), static_cast<int32_t>(utf16.size())).toUTF8String(utf8);
  return utf8;
}

std::u16string PathText(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

std::string PathUtf8(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(
      std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string Utf16ToCp1252(std::u16string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  std::string bytes(text.size() * 2 + 1, '\0');
  const int32_t length =
      ucnv_fromUChars(Cp1252Encoder(), bytes.data(), static_cast<int32_t>(bytes.size()),
                      text.data(), static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status)) return std::string(text.size(), '?');
  bytes.resize(static_cast<size_t>(length));
  return bytes;
}

std::u16string Cp1252ToUtf16(std::string_view bytes) {
  return DecodeCodePage(bytes, "windows-1252");
}

std::u16string AsCp1252(std::u16string_view text) { return Cp1252ToUtf16(Utf16ToCp1252(text)); }

std::u16string DecodeCodePage(std::string_view bytes, const char* icu_name) {
  UErrorCode status = U_ZERO_ERROR;
  std::u16string text(bytes.size() * 2 + 1, u'\0');
  const int32_t length =
      ucnv_toUChars(CachedConverter(icu_name), text.data(), static_cast<int32_t>(text.size()),
                    bytes.data(), static_cast<int32_t>(bytes.size()), &status);
  if (U_FAILURE(status)) return std::u16string(bytes.size(), u'\uFFFD');
  text.resize(static_cast<size_t>(length));
  return text;
}

}  // namespace zentrova::text
