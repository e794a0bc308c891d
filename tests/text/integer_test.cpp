#include "text/integer.h"

#include <gtest/gtest.h>

namespace zentrova::text {
namespace {

TEST(IntegerTest, WholeDecimalNumbers) {
  const std::pair<std::u16string, std::optional<int32_t>> cases[] = {
      {u"480", 480},
      {u"0480", 480},
      {u"-5", -5},
      {u"+7", 7},
      {u"0", 0},
      {u"", std::nullopt},
      {u"-", std::nullopt},
      {u" 5", std::nullopt},
      {u"5 ", std::nullopt},
      {u"08:00", std::nullopt},
      {u"0-5", std::nullopt},
      {u"2147483647", 2147483647},
      {u"-2147483648", -2147483647 - 1},
      {u"2147483648", std::nullopt},
      {u"99999999999999999999", std::nullopt},
      {u"١٢", std::nullopt},
  };
  for (const auto& [input, expected] : cases) {
    SCOPED_TRACE(::testing::PrintToString(input));
    EXPECT_EQ(TryParseInteger(input), expected);
  }
}

TEST(IntegerTest, ConversionErrorCarriesTheText) {
  try {
    ParseInteger(u"08:00");
    FAIL();
  } catch (const ConversionError& error) {
    EXPECT_STREQ(error.what(), "'08:00' is not a valid integer value");
  }
}

TEST(IntegerTest, IntegerText) {
  EXPECT_EQ(IntegerText(0), u"0");
  EXPECT_EQ(IntegerText(-55), u"-55");
  EXPECT_EQ(IntegerText(110), u"110");
}

}  // namespace
}  // namespace zentrova::text
