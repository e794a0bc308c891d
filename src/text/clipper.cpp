#include "text/clipper.h"

namespace zentrova::text {
namespace {

constexpr char16_t kSpace = u' ';

}  // namespace

std::u16string LTrim(std::u16string text) {
  text.erase(0, text.find_first_not_of(kSpace));
  return text;
}

std::u16string RTrim(std::u16string text) {
  const auto last = text.find_last_not_of(kSpace);
  text.erase(last == std::u16string::npos ? 0 : last + 1);
  return text;
}

std::u16string AllTrim(std::u16string text) { return LTrim(RTrim(std::move(text))); }

std::string_view RTrim(std::string_view text) {
  const size_t last = text.find_last_not_of(' ');
  return text.substr(0, last == std::string_view::npos ? 0 : last + 1);
}

std::string_view AllTrim(std::string_view text) {
  text = RTrim(text);
  const size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::u16string LeftChars(std::u16string text, int n) {
  if (static_cast<long long>(text.size()) <= n) return text;
  return n <= 0 ? std::u16string() : text.substr(0, static_cast<size_t>(n));
}

std::u16string RightChars(std::u16string text, int n) {
  if (static_cast<long long>(text.size()) <= n) return text;
  return n <= 0 ? std::u16string() : text.substr(text.size() - static_cast<size_t>(n));
}

std::u16string CapitalsOnly(const std::u16string& text) {
  std::u16string capitals;
  for (char16_t c : text) {
    if (c >= u'A' && c <= u'Z') capitals += c;
  }
  return capitals;
}

std::u16string CharsAfterSpaces(const std::u16string& text) {
  std::u16string after;
  for (size_t p = 0; p + 1 < text.size(); ++p) {
    if (text[p] == kSpace) after += text[p + 1];
  }
  return after;
}

}  // namespace zentrova::text
