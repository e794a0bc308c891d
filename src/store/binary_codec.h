#ifndef ZENTROVA_STORE_BINARY_CODEC_H_
#define ZENTROVA_STORE_BINARY_CODEC_H_

// The binary field forms: level-7 I/+ (big-endian, top bit inverted), O (ordered double),
// @ (milliseconds since 0001-01-01 as a big-endian double); FoxPro I (little-endian),
// B (little-endian double), Y (currency, value x 10 000) and T (Julian day + milliseconds).
// Decoders give nothing for an empty field (all zero bytes).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zentrova::store {

std::optional<int32_t> DecodeLevel7Integer(std::string_view raw);
std::string EncodeLevel7Integer(int32_t value);
std::optional<double> DecodeLevel7Double(std::string_view raw);
std::string EncodeLevel7Double(double value);
// "YYYY-MM-DD HH:MM:SS"
std::optional<std::string> DecodeLevel7Timestamp(std::string_view raw);

int32_t DecodeFoxInteger(std::string_view raw);
std::string EncodeFoxInteger(int32_t value);
double DecodeFoxDouble(std::string_view raw);
std::string EncodeFoxDouble(double value);
// Currency as exact decimal text ("12.5"), and as a number.
std::string DecodeFoxCurrencyText(std::string_view raw);
std::string EncodeFoxCurrency(long long ten_thousandths);
std::optional<std::string> DecodeFoxDateTime(std::string_view raw);

// Civil date and time of a count of days since 1970-01-01 and milliseconds in that day;
// nothing outside the years 1 to 9999.
std::optional<std::string> DateTimeText(long long unix_days, long long milliseconds);

// The shortest decimal text that reads back as the same double ("43.65", "4").
std::string ShortestText(double value);

// "4.0000" -> "4", "2.5000" -> "2.5", "-0.000" -> "0"; texts without a point stay.
std::string WithoutTrailingZeros(std::string number);

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_BINARY_CODEC_H_
