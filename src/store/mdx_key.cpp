#include "store/mdx_key.h"

namespace zentrova::store {
namespace {

constexpr int kZeroExponent = 0x34;
constexpr int kMaxDigits = 20;

struct Decimal {
  bool negative = false;
  int point = 0;       // digits before the decimal point, after dropping leading zeros
  std::string digits;  // significant digits, no leading or trailing zeros
};

Decimal ParseDecimalText(std::string_view text) {
  Decimal d;
  std::string whole;
  std::string fraction;
  bool in_fraction = false;
  for (char ch : text) {
    if (ch == '-') {
      d.negative = true;
    } else if (ch == '.' || ch == ',') {
      in_fraction = true;
    } else if (ch >= '0' && ch <= '9') {
      (in_fraction ? fraction : whole) += ch;
    }
  }
  whole.erase(0, whole.find_first_not_of('0') == std::string::npos ? whole.size()
                                                                   : whole.find_first_not_of('0'));
  d.point = static_cast<int>(whole.size());
  d.digits = whole + fraction;
  if (whole.empty()) {
    const size_t first = d.digits.find_first_not_of('0');
    if (first == std::string::npos) d.digits.clear();
    d.point = first == std::string::npos ? 0 : -static_cast<int>(first);
    d.digits.erase(0, first == std::string::npos ? d.digits.size() : first);
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.size() > kMaxDigits) d.digits.resize(kMaxDigits);
  if (d.digits.empty()) d = Decimal{};
  return d;
}

int Sign(std::string_view key) {
  if (static_cast<unsigned char>(key[0]) == kZeroExponent && (key[1] & 0x7C) == 0) return 0;
  return (static_cast<unsigned char>(key[1]) & 0x80) != 0 ? -1 : 1;
}

int CompareMagnitudes(std::string_view a, std::string_view b) {
  if (a[0] != b[0])
    return static_cast<unsigned char>(a[0]) < static_cast<unsigned char>(b[0]) ? -1 : 1;
  return CompareCharacterKeys(a.substr(2), b.substr(2));
}

}  // namespace

std::string NumericKey(std::string_view decimal_text) {
  const Decimal d = ParseDecimalText(decimal_text);
  std::string key(kNumericKeyLength, '\0');
  key[0] = static_cast<char>(kZeroExponent + d.point);
  const int count = static_cast<int>(d.digits.size());
  key[1] = static_cast<char>(0x01 | (count << 2) | (d.negative && count > 0 ? 0x80 : 0));
  for (int i = 0; i < count; ++i) {
    const int digit = d.digits[i] - '0';
    key[2 + i / 2] = static_cast<char>(key[2 + i / 2] | (i % 2 == 0 ? digit << 4 : digit));
  }
  return key;
}

// By sign first; equal signs by the exponent byte, then the digits; negative values in the
// reverse order of their magnitudes.
int CompareNumericKeys(std::string_view a, std::string_view b) {
  const int sign_a = Sign(a);
  const int sign_b = Sign(b);
  if (sign_a != sign_b) return sign_a < sign_b ? -1 : 1;
  if (sign_a == 0) return 0;
  const int magnitude = CompareMagnitudes(a, b);
  return sign_a > 0 ? magnitude : -magnitude;
}

int CompareCharacterKeys(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return 0;
}

}  // namespace zentrova::store
