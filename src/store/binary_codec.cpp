#include "store/binary_codec.h"

#include <bit>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "store/byte_order.h"

namespace zentrova::store {
namespace {

constexpr long long kMillisecondsPerDay = 86'400'000;
constexpr long long kLevel7DayOfUnixEpoch = 719'163;  // 0001-01-01 is day 1
constexpr long long kJulianDayOfUnixEpoch = 2'440'588;

bool AllZero(std::string_view raw) { return raw.find_first_not_of('\0') == std::string_view::npos; }

std::string Bytes(int size) { return std::string(static_cast<size_t>(size), '\0'); }

}  // namespace

std::optional<int32_t> DecodeLevel7Integer(std::string_view raw) {
  if (AllZero(raw)) return std::nullopt;
  const auto stored = static_cast<uint32_t>(GetBig(raw, 0, 4));
  return static_cast<int32_t>(stored ^ 0x80000000u);
}

std::string EncodeLevel7Integer(int32_t value) {
  std::string raw = Bytes(4);
  PutBig(raw, 0, static_cast<uint32_t>(value) ^ 0x80000000u, 4);
  return raw;
}

std::optional<double> DecodeLevel7Double(std::string_view raw) {
  if (AllZero(raw)) return std::nullopt;
  uint64_t bits = GetBig(raw, 0, 8);
  const uint64_t sign = uint64_t{1} << 63;
  bits = (bits & sign) != 0 ? bits & ~sign : ~bits;
  return std::bit_cast<double>(bits);
}

// Stored so that the bytes sort in numeric order: the sign bit inverted for a value >= 0,
// every bit inverted for a negative one.
std::string EncodeLevel7Double(double value) {
  if (value == 0) value = 0;  // no negative zero
  uint64_t bits = std::bit_cast<uint64_t>(value);
  const uint64_t sign = uint64_t{1} << 63;
  bits = (bits & sign) == 0 ? bits | sign : ~bits;
  std::string raw = Bytes(8);
  PutBig(raw, 0, bits, 8);
  return raw;
}

std::optional<std::string> DecodeLevel7Timestamp(std::string_view raw) {
  if (AllZero(raw)) return std::nullopt;
  const double ms = std::bit_cast<double>(GetBig(raw, 0, 8));
  // Beyond this many milliseconds no date has four digits; llround would not even hold it.
  if (!std::isfinite(ms) || std::fabs(ms) > 1e15) return std::nullopt;
  const long long total = std::llround(ms);
  const long long days = total / kMillisecondsPerDay;
  return DateTimeText(days - kLevel7DayOfUnixEpoch, total % kMillisecondsPerDay);
}

int32_t DecodeFoxInteger(std::string_view raw) {
  return static_cast<int32_t>(static_cast<uint32_t>(GetLittle(raw, 0, 4)));
}

std::string EncodeFoxInteger(int32_t value) {
  std::string raw = Bytes(4);
  PutLittle(raw, 0, static_cast<uint32_t>(value), 4);
  return raw;
}

double DecodeFoxDouble(std::string_view raw) { return std::bit_cast<double>(GetLittle(raw, 0, 8)); }

std::string EncodeFoxDouble(double value) {
  std::string raw = Bytes(8);
  PutLittle(raw, 0, std::bit_cast<uint64_t>(value), 8);
  return raw;
}

std::string DecodeFoxCurrencyText(std::string_view raw) {
  const auto value = static_cast<long long>(GetLittle(raw, 0, 8));
  const unsigned long long magnitude =
      value < 0 ? 0ULL - static_cast<unsigned long long>(value) : value;
  char text[40];
  std::snprintf(text, sizeof text, "%s%llu.%04llu", value < 0 ? "-" : "", magnitude / 10000,
                magnitude % 10000);
  return WithoutTrailingZeros(text);
}

std::string EncodeFoxCurrency(long long ten_thousandths) {
  std::string raw = Bytes(8);
  PutLittle(raw, 0, static_cast<uint64_t>(ten_thousandths), 8);
  return raw;
}

std::optional<std::string> DecodeFoxDateTime(std::string_view raw) {
  if (AllZero(raw)) return std::nullopt;
  const auto julian_day = static_cast<long long>(GetLittle(raw, 0, 4));
  const auto ms = static_cast<long long>(GetLittle(raw, 4, 4));
  return DateTimeText(julian_day - kJulianDayOfUnixEpoch, ms);
}

std::optional<std::string> DateTimeText(long long unix_days, long long milliseconds) {
  using namespace std::chrono;
  constexpr long long kFirstDay = -719'162;  // 0001-01-01
  constexpr long long kLastDay = 2'932'896;  // 9999-12-31
  if (unix_days < kFirstDay || unix_days > kLastDay) return std::nullopt;
  const year_month_day date{sys_days{days{unix_days}}};
  const long long seconds = milliseconds / 1000;
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02lld:%02lld:%02lld", int{date.year()},
                unsigned{date.month()}, unsigned{date.day()}, seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return text;
}

std::string ShortestText(double value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string WithoutTrailingZeros(std::string number) {
  if (number.find('.') == std::string::npos) return number;
  while (number.back() == '0') number.pop_back();
  if (number.back() == '.') number.pop_back();
  if (number == "-0" || number.empty() || number == "-") number = "0";
  return number;
}

}  // namespace zentrova::store
