#include "text/encoding.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/unistr.h>

#include <memory>
#include <string>
#include <type_traits>
#include <unordered_map>

#include "error.h"
#include "text/converter.h"

namespace zentrova::text {
namespace {

// Opening a converter costs more than converting a field's text, so each thread keeps the
// ones it has used, set to write '?' for a character the code page lacks. ucnv_fromUChars and
// ucnv_toUChars reset a converter before they use it. Null for a name ICU does not know.
UConverter* CachedConverter(const std::string& name) {
  thread_local std::unordered_map<std::string, Converter> converters;
  auto found = converters.find(name);
  if (found == converters.end()) {
    Converter converter = OpenConverter(name);
    if (converter) {
      UErrorCode status = U_ZERO_ERROR;
      ucnv_setSubstChars(converter.get(), "?", 1, &status);
      ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_SUBSTITUTE, nullptr, nullptr,
                            nullptr, &status);
    }
    found = converters.emplace(name, std::move(converter)).first;
  }
  return found->second.get();
}

UConverter* KnownConverter(const char* name) {
  UConverter* converter = CachedConverter(name);
  if (converter == nullptr) {
    throw Error(std::string("No se puede abrir la conversión de caracteres '") + name + "'.");
  }
  return converter;
}

// Most texts the system handles are plain ASCII, which UTF-8, UTF-16 and windows-1252 all
// write the same way; windows-1252 also writes U+00A0 to U+00FF (the accented letters of
// Spanish, ñ, ¿, ¡) as the bytes of the same values. Such texts are copied unit by unit,
// without ICU.
template <typename Unit>
bool IsAscii(std::basic_string_view<Unit> text) {
  for (const Unit unit : text) {
    if (static_cast<uint32_t>(unit) >= 0x80) return false;
  }
  return true;
}

template <typename Unit>
bool IsCp1252AsLatin1(std::basic_string_view<Unit> text) {
  for (const Unit unit : text) {
    const auto value = static_cast<uint32_t>(static_cast<std::make_unsigned_t<Unit>>(unit));
    if (value >= 0x100 || (value >= 0x80 && value < 0xA0)) return false;
  }
  return true;
}

template <typename To, typename From>
To UnitByUnit(std::basic_string_view<From> text) {
  To copy(text.size(), typename To::value_type{});
  for (size_t i = 0; i < text.size(); ++i) {
    copy[i] =
        static_cast<typename To::value_type>(static_cast<std::make_unsigned_t<From>>(text[i]));
  }
  return copy;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
  if (IsAscii(utf8)) return UnitByUnit<std::u16string>(utf8);
  const icu::UnicodeString s = icu::UnicodeString::fromUTF8(
      icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
  return std::u16string(s.getBuffer(), static_cast<size_t>(s.length()));
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  if (IsAscii(utf16)) return UnitByUnit<std::string>(utf16);
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

Converter OpenConverter(const std::string& icu_name) {
  UErrorCode status = U_ZERO_ERROR;
  Converter converter(ucnv_open(icu_name.c_str(), &status));
  return U_SUCCESS(status) ? std::move(converter) : nullptr;
}

bool IsKnownCodePage(const std::string& icu_name) { return CachedConverter(icu_name) != nullptr; }

std::string Utf16ToCp1252(std::u16string_view text) {
  if (IsCp1252AsLatin1(text)) return UnitByUnit<std::string>(text);
  return EncodeCodePage(text, "windows-1252");
}

std::string EncodeCodePage(std::u16string_view text, const char* icu_name) {
  UConverter* converter = KnownConverter(icu_name);
  UErrorCode status = U_ZERO_ERROR;
  std::string bytes(text.size() * static_cast<size_t>(ucnv_getMaxCharSize(converter)) + 1, '\0');
  const int32_t length =
      ucnv_fromUChars(converter, bytes.data(), static_cast<int32_t>(bytes.size()), text.data(),
                      static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status)) return std::string(text.size(), '?');
  bytes.resize(static_cast<size_t>(length));
  return bytes;
}

std::u16string Cp1252ToUtf16(std::string_view bytes) {
  if (IsCp1252AsLatin1(bytes)) return UnitByUnit<std::u16string>(bytes);
  return DecodeCodePage(bytes, "windows-1252");
}

std::u16string AsCp1252(std::u16string_view text) {
  if (IsCp1252AsLatin1(text)) return std::u16string(text);
  return Cp1252ToUtf16(Utf16ToCp1252(text));
}

std::u16string DecodeCodePage(std::string_view bytes, const char* icu_name) {
  UErrorCode status = U_ZERO_ERROR;
  std::u16string text(bytes.size() * 2 + 1, u'\0');
  const int32_t length =
      ucnv_toUChars(KnownConverter(icu_name), text.data(), static_cast<int32_t>(text.size()),
                    bytes.data(), static_cast<int32_t>(bytes.size()), &status);
  if (U_FAILURE(status)) return std::u16string(bytes.size(), u'\uFFFD');
  text.resize(static_cast<size_t>(length));
  return text;
}

}  // namespace zentrova::text
