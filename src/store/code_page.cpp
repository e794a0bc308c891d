#include "store/code_page.h"

#include "text/encoding.h"

namespace zentrova::store {
namespace {

constexpr const char* kAnsi = "windows-1252";

bool IsAnsi(const std::string& code_page) { return code_page == kAnsi; }

// Code pages have at most five digits (65001); a longer run of digits names none.
constexpr size_t kMaxCodePageDigits = 5;

std::optional<std::string> CodePageOfNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > kMaxCodePageDigits) return std::nullopt;
  int number = 0;
  for (char digit : digits) number = number * 10 + (digit - '0');
  if (number >= 1250 && number <= 1258) return "windows-" + std::to_string(number);
  return "ibm-" + std::to_string(number);
}

}  // namespace

const char* CodePageOfDriverId(uint8_t id) {
  switch (id) {
    case 0x01:
    case 0x1B:
      return "ibm-437";
    case 0x02:
      return "ibm-850";
    case 0x64:
      return "ibm-852";
    case 0xC8:
      return "windows-1250";
    case 0xC9:
      return "windows-1251";
    default:
      return kAnsi;
  }
}

std::optional<std::string> CodePageOfDriverName(std::string_view name) {
  // "DB" + (WIN | code page number) + locale tag; FoxPro names end with WIN or the number.
  std::string_view rest;
  if (name.substr(0, 2) == "DB") {
    rest = name.substr(2);
  } else if (name.substr(0, 3) == "FOX" && name.size() >= 5) {
    rest = name.substr(5);
  } else {
    return std::nullopt;
  }
  if (rest.substr(0, 3) == "WIN") return kAnsi;
  size_t digits = 0;
  while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') ++digits;
  std::optional<std::string> code_page = CodePageOfNumber(rest.substr(0, digits));
  if (!code_page || !text::IsKnownCodePage(*code_page)) return std::nullopt;
  return code_page;
}

std::u16string FromCodePage(std::string_view bytes, const std::string& code_page) {
  if (IsAnsi(code_page)) return text::Cp1252ToUtf16(bytes);
  return text::DecodeCodePage(bytes, code_page.c_str());
}

std::string ToCodePage(std::u16string_view text, const std::string& code_page) {
  if (IsAnsi(code_page) || !text::IsKnownCodePage(code_page)) return text::Utf16ToCp1252(text);
  return text::EncodeCodePage(text, code_page.c_str());
}

}  // namespace zentrova::store
