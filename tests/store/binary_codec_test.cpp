// The binary date forms, known values from the format notes and values no writer means.

#include "store/binary_codec.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace zentrova::store {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values) bytes += static_cast<char>(value);
  return bytes;
}

TEST(BinaryCodecTest, DatesAndTimesReadAsTheirCivilText) {
  const struct {
    const char* what;
    std::optional<std::string> (*decode)(std::string_view);
    std::string raw;
    std::optional<std::string> text;
  } cases[] = {
      {"level 7, 1970", DecodeLevel7Timestamp, Bytes({0x42, 0xCC, 0x41, 0x8B, 0xA9, 0x9A, 0, 0}),
       "1970-01-01 00:00:00"},
      {"level 7, 2000", DecodeLevel7Timestamp, Bytes({0x42, 0xCC, 0xAF, 0xC1, 0x11, 0x70, 0, 0}),
       "2000-01-01 00:00:00"},
      {"level 7, 2020", DecodeLevel7Timestamp,
       Bytes({0x42, 0xCC, 0xF9, 0xBD, 0xCA, 0xA9, 0xD0, 0x00}), "2020-02-20 20:20:20"},
      {"level 7, empty", DecodeLevel7Timestamp, std::string(8, '\0'), std::nullopt},
      {"level 7, infinite", DecodeLevel7Timestamp, Bytes({0x7F, 0xF0, 0, 0, 0, 0, 0, 0}),
       std::nullopt},
      {"level 7, 1e300 ms", DecodeLevel7Timestamp,
       Bytes({0x7E, 0x37, 0xE4, 0x3C, 0x88, 0x00, 0x75, 0x9C}), std::nullopt},
      {"FoxPro, 2020", DecodeFoxDateTime, Bytes({0x14, 0x85, 0x25, 0x00, 0, 0, 0, 0}),
       "2020-02-20 00:00:00"},
      {"FoxPro, a Julian day past 9999", DecodeFoxDateTime,
       Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}), std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.decode(c.raw), c.text) << c.what;
  }
}

}  // namespace
}  // namespace zentrova::store
