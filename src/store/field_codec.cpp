#include "store/field_codec.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>

#include "store/binary_codec.h"
#include "store/byte_order.h"
#include "store/code_page.h"
#include "store/store_error.h"
#include "text/clipper.h"
#include "text/encoding.h"

namespace zentrova::store {
namespace {

char Type(const FieldContext& c) { return c.field.info.type; }
bool IsLevel7(const FieldContext& c) { return c.flavour == Flavour::kDbase7; }
bool IsVisualFox(const FieldContext& c) { return c.flavour == Flavour::kVisualFoxPro; }

// The binary forms by type letter and family.
bool IsLevel7Integer(const FieldContext& c) {
  return IsLevel7(c) && (Type(c) == 'I' || Type(c) == '+');
}
bool IsFoxInteger(const FieldContext& c) { return IsVisualFox(c) && Type(c) == 'I'; }
bool IsLevel7Double(const FieldContext& c) { return IsLevel7(c) && Type(c) == 'O'; }
bool IsFoxDouble(const FieldContext& c) { return IsVisualFox(c) && Type(c) == 'B'; }
bool IsFoxCurrency(const FieldContext& c) { return IsVisualFox(c) && Type(c) == 'Y'; }
bool IsMemo(const FieldContext& c) {
  const char t = Type(c);
  return t == 'M' || t == 'G' || t == 'P' || (t == 'B' && !IsVisualFox(c));
}
bool IsBinary(const FieldContext& c) {
  const char t = Type(c);
  if (IsLevel7(c)) return t == 'I' || t == '+' || t == 'O' || t == '@';
  if (IsVisualFox(c))
    return t == 'I' || t == 'B' || t == 'Y' || t == 'T' || t == '0' ||
           ((t == 'M' || t == 'G' || t == 'P') && c.field.info.width == 4);
  return false;
}
bool IsDecimalText(const FieldContext& c) { return Type(c) == 'N' || Type(c) == 'F'; }

std::u16string Ascii(std::string_view s) { return std::u16string(s.begin(), s.end()); }

std::string FieldLabel(const FieldContext& c) {
  std::string label =
      c.field.info.name + " (" + std::string(1, Type(c)) + " " + std::to_string(c.field.info.width);
  if (IsDecimalText(c)) label += "," + std::to_string(c.field.info.decimals);
  return label + ")";
}

[[noreturn]] void FailValue(const FieldContext& c, const std::string& value,
                            const std::string& cause) {
  Fail(c.file, "El valor '" + value + "' no se puede guardar en el campo " + FieldLabel(c) +
                   " de la tabla %f: " + cause + ".");
}

[[noreturn]] void FailTooWide(const FieldContext& c, const std::string& value) {
  FailValue(c, value, "no cabe en su anchura");
}

// Numeric text as dBASE reads it: blanks around, ',' as a decimal point, '*' fill = empty.
std::optional<double> ParseDecimal(std::string_view raw) {
  std::string number(text::AllTrim(raw));
  if (number.empty() || number.find_first_not_of('*') == std::string::npos) return std::nullopt;
  for (char& ch : number) {
    if (ch == ',') ch = '.';
  }
  if (number.front() == '+') number.erase(0, 1);
  double value = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec != std::errc() || result.ptr != number.data() + number.size()) {
    return std::nullopt;
  }
  return value;
}

std::u16string DecimalText(std::string_view raw) {
  std::string number(text::AllTrim(raw));
  if (number.find_first_not_of('*') == std::string::npos) return u"";
  for (char& ch : number) {
    if (ch == ',') ch = '.';
  }
  return Ascii(WithoutTrailingZeros(number));
}

std::u16string LogicalText(std::string_view raw) {
  switch (raw.empty() ? ' ' : raw[0]) {
    case 'T':
    case 't':
    case 'Y':
    case 'y':
      return u"T";
    case 'F':
    case 'f':
    case 'N':
    case 'n':
      return u"F";
    default:
      return u"";
  }
}

std::u16string DateText(std::string_view raw) {
  const std::string_view date = text::AllTrim(raw);
  if (date.empty() || date == "00000000") return u"";
  if (date.size() != 8 || date.find_first_not_of("0123456789") != std::string_view::npos) {
    return Ascii(date);
  }
  return Ascii(std::string(date.substr(0, 4)) + "-" + std::string(date.substr(4, 2)) + "-" +
               std::string(date.substr(6, 2)));
}

std::u16string BinaryText(std::string_view raw, const FieldContext& c) {
  std::optional<std::string> text;
  if (IsLevel7Integer(c)) {
    if (auto v = DecodeLevel7Integer(raw)) text = std::to_string(*v);
  } else if (IsFoxInteger(c)) {
    text = std::to_string(DecodeFoxInteger(raw));
  } else if (IsLevel7Double(c)) {
    if (auto v = DecodeLevel7Double(raw)) text = ShortestText(*v);
  } else if (IsFoxDouble(c)) {
    text = ShortestText(DecodeFoxDouble(raw));
  } else if (IsFoxCurrency(c)) {
    text = DecodeFoxCurrencyText(raw);
  } else if (IsLevel7(c) && Type(c) == '@') {
    text = DecodeLevel7Timestamp(raw);
  } else if (IsVisualFox(c) && Type(c) == 'T') {
    text = DecodeFoxDateTime(raw);
  }
  return text ? Ascii(*text) : u"";
}

std::string RightAligned(const std::string& number, const FieldContext& c) {
  const auto width = static_cast<size_t>(c.field.info.width);
  if (number.size() > width) FailTooWide(c, number);
  return std::string(width - number.size(), ' ') + number;
}

std::string LeftAligned(std::string bytes, const FieldContext& c) {
  const auto width = static_cast<size_t>(c.field.info.width);
  bytes.resize(width, ' ');
  return bytes;
}

// A whole number with exactly the declared decimals ("42.0000"), exact for any value.
std::string WholeDecimalText(long long value, const FieldContext& c) {
  std::string number = std::to_string(value);
  if (c.field.info.decimals > 0) number += "." + std::string(c.field.info.decimals, '0');
  return number;
}

std::string FloatDecimalText(double value, const FieldContext& c) {
  if (!std::isfinite(value)) FailValue(c, ShortestText(value), "no es un número finito");
  char number[400];
  std::snprintf(number, sizeof number, "%.*f", c.field.info.decimals, value);
  std::string text = number;
  if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-') text.erase(0, 1);
  return text;
}

int32_t CheckedInt32(long long value, const FieldContext& c) {
  const long long low = IsLevel7(c) ? INT32_MIN + 1LL : INT32_MIN;  // level 7: MIN is empty
  if (value < low || value > INT32_MAX) FailTooWide(c, std::to_string(value));
  return static_cast<int32_t>(value);
}

std::string EncodeBinaryInteger(long long value, const FieldContext& c) {
  if (IsLevel7Integer(c)) return EncodeLevel7Integer(CheckedInt32(value, c));
  if (IsFoxInteger(c)) return EncodeFoxInteger(CheckedInt32(value, c));
  if (IsFoxCurrency(c)) return EncodeFoxCurrency(value * 10000);
  return EncodeFloat(static_cast<double>(value), c);
}

std::string EncodeDate(std::u16string_view value, const FieldContext& c) {
  std::string date = text::Utf16ToCp1252(value);
  if (date.size() == 10 && date[4] == '-' && date[7] == '-') {
    date = date.substr(0, 4) + date.substr(5, 2) + date.substr(8, 2);
  }
  if (date.size() != 8 || date.find_first_not_of("0123456789") != std::string::npos) {
    FailValue(c, text::Utf16ToUtf8(value), "no es una fecha AAAA-MM-DD");
  }
  return date;
}

[[noreturn]] void FailUnsupported(const FieldContext& c, const std::string& value) {
  FailValue(c, value, "el tipo de campo no admite ese valor");
}

}  // namespace

bool IsNumeric(const FieldContext& c) {
  return IsDecimalText(c) || IsLevel7Integer(c) || IsFoxInteger(c) || IsLevel7Double(c) ||
         IsFoxDouble(c) || IsFoxCurrency(c);
}

std::u16string DecodeText(std::string_view raw, const FieldContext& c) {
  if (IsMemo(c)) return u"";
  if (IsBinary(c)) return BinaryText(raw, c);
  switch (Type(c)) {
    case 'N':
    case 'F':
      return DecimalText(raw);
    case 'L':
      return LogicalText(raw);
    case 'D':
      return DateText(raw);
    default: {
      return FromCodePage(text::RTrim(raw), c.code_page);
    }
  }
}

std::optional<double> DecodeNumber(std::string_view raw, const FieldContext& c) {
  if (IsLevel7Integer(c)) {
    if (auto v = DecodeLevel7Integer(raw)) return *v;
    return std::nullopt;
  }
  if (IsFoxInteger(c)) return DecodeFoxInteger(raw);
  if (IsLevel7Double(c)) return DecodeLevel7Double(raw);
  if (IsFoxDouble(c)) return DecodeFoxDouble(raw);
  if (IsFoxCurrency(c))
    return static_cast<double>(static_cast<long long>(GetLittle(raw, 0, 8))) / 1e4;
  return ParseDecimal(text::Utf16ToCp1252(DecodeText(raw, c)));
}

std::string BlankBytes(const FieldContext& c) {
  return std::string(static_cast<size_t>(c.field.info.width), IsBinary(c) ? '\0' : ' ');
}

std::string EncodeText(std::u16string_view value, const FieldContext& c) {
  if (Type(c) == 'C') return LeftAligned(ToCodePage(value, c.code_page), c);
  const std::string ascii = text::Utf16ToCp1252(value);
  const std::string_view trimmed = text::AllTrim(ascii);
  if (trimmed.empty()) return BlankBytes(c);
  if (IsNumeric(c)) {
    const bool whole = trimmed.find_first_of(".,eE") == std::string_view::npos;
    long long integer = 0;
    const auto end = trimmed.data() + trimmed.size();
    if (whole && std::from_chars(trimmed.data() + (trimmed[0] == '+'), end, integer).ptr == end) {
      return EncodeInteger(integer, c);
    }
    if (auto number = ParseDecimal(trimmed)) return EncodeFloat(*number, c);
    FailValue(c, text::Utf16ToUtf8(value), "no es un número");
  }
  if (Type(c) == 'L') {
    const std::u16string logical = LogicalText(trimmed);
    if (logical.empty()) FailValue(c, text::Utf16ToUtf8(value), "no es un valor lógico");
    return EncodeLogical(logical == u"T", c);
  }
  if (Type(c) == 'D') return EncodeDate(value, c);
  FailUnsupported(c, text::Utf16ToUtf8(value));
}

std::string EncodeInteger(long long value, const FieldContext& c) {
  if (Type(c) == 'C') return LeftAligned(std::to_string(value), c);
  if (IsDecimalText(c)) return RightAligned(WholeDecimalText(value, c), c);
  if (IsNumeric(c)) return EncodeBinaryInteger(value, c);
  FailUnsupported(c, std::to_string(value));
}

std::string EncodeFloat(double value, const FieldContext& c) {
  if (Type(c) == 'C') return LeftAligned(ShortestText(value), c);
  if (IsDecimalText(c)) return RightAligned(FloatDecimalText(value, c), c);
  if (!std::isfinite(value)) FailValue(c, ShortestText(value), "no es un número finito");
  if (IsLevel7Integer(c) || IsFoxInteger(c)) return EncodeBinaryInteger(std::llround(value), c);
  if (IsLevel7Double(c)) return EncodeLevel7Double(value);
  if (IsFoxDouble(c)) return EncodeFoxDouble(value);
  if (IsFoxCurrency(c)) return EncodeFoxCurrency(std::llround(value * 10000));
  FailUnsupported(c, ShortestText(value));
}

std::string EncodeLogical(bool value, const FieldContext& c) {
  if (Type(c) == 'L' || Type(c) == 'C') return LeftAligned(value ? "T" : "F", c);
  FailUnsupported(c, value ? "T" : "F");
}

}  // namespace zentrova::store
