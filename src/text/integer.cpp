#include "text/integer.h"

#include <limits>

#include "text/encoding.h"

namespace zentrova::text {

ConversionError::ConversionError(const std::u16string& text)
    : Error("'" + Utf16ToUtf8(text) + "' is not a valid integer value") {}

ConversionError::ConversionError(const std::u16string& text, const std::u16string& where)
    : Error("'" + Utf16ToUtf8(text) + "' is not a valid integer value\r\n" + Utf16ToUtf8(where)) {}

std::optional<int32_t> TryParseInteger(const std::u16string& text) {
  size_t position = 0;
  bool negative = false;
  if (!text.empty() && (text[0] == u'-' || text[0] == u'+')) {
    negative = text[0] == u'-';
    position = 1;
  }
  if (position == text.size()) return std::nullopt;
  long long value = 0;
  for (; position < text.size(); ++position) {
    const char16_t c = text[position];
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
    if (value > static_cast<long long>(std::numeric_limits<int32_t>::max()) + 1) {
      return std::nullopt;
    }
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return std::nullopt;
  return static_cast<int32_t>(value);
}

int32_t ParseInteger(const std::u16string& text) {
  if (auto value = TryParseInteger(text)) return *value;
  throw ConversionError(text);
}

std::u16string IntegerText(long long value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace zentrova::text
