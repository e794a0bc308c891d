#include "export/clock.h"

#include <gtest/gtest.h>

#include "text/encoding.h"
#include "text/integer.h"

namespace zentrova::timetable_export {
namespace {

struct ClockCase {
  std::u16string clock;
  std::u16string minutes;
};
// Cases show as their clock text in test names and failures.
void PrintTo(const ClockCase& c, std::ostream* out) {
  *out << '"' << text::Utf16ToUtf8(c.clock) << '"';
}

class ClockToMinutesTest : public ::testing::TestWithParam<ClockCase> {};

TEST_P(ClockToMinutesTest, GivesMinutesAfterMidnight) {
  EXPECT_EQ(ClockToMinutes(GetParam().clock), GetParam().minutes);
}

INSTANTIATE_TEST_SUITE_P(Clocks, ClockToMinutesTest,
                         ::testing::Values(ClockCase{u"08:15", u"495"}, ClockCase{u"8:15", u"495"},
                                           ClockCase{u"14:00", u"840"}, ClockCase{u"09:10", u"550"},
                                           ClockCase{u"00:00", u"0"},
                                           // What a slot look-up that found nothing leaves.
                                           ClockCase{u"", u"0"},
                                           // Only the first two and the last two characters count.
                                           ClockCase{u"23:59:00", u"1380"},
                                           ClockCase{u"7", u"427"}));

struct BadClockCase {
  std::u16string clock;
  std::string message;
};
void PrintTo(const BadClockCase& c, std::ostream* out) {
  *out << '"' << text::Utf16ToUtf8(c.clock) << '"';
}

class BadClockTest : public ::testing::TestWithParam<BadClockCase> {};

TEST_P(BadClockTest, NamesTheTwoCharactersThatDoNotConvert) {
  try {
    ClockToMinutes(GetParam().clock);
    FAIL() << "no error for " << GetParam().message;
  } catch (const text::ConversionError& error) {
    EXPECT_EQ(error.what(), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Clocks, BadClockTest,
    ::testing::Values(BadClockCase{u"0x:15", "'0x' is not a valid integer value"},
                      BadClockCase{u"08:1y", "'1y' is not a valid integer value"},
                      BadClockCase{u" 8:15", "' 8' is not a valid integer value"},
                      BadClockCase{u"08:", "'8:' is not a valid integer value"}));

}  // namespace
}  // namespace zentrova::timetable_export
