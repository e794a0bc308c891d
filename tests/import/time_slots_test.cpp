#include "import/time_slots.h"

#include <gtest/gtest.h>

#include "files/find_file.h"
#include "import/time_frames.h"
#include "import/vetrana_to_orbelin_fixture.h"
#include "text/integer.h"

namespace zentrova::import {
namespace {

using testing::GroupData;
using testing::Rows;

const std::vector<std::string> kGridFields = {"DIHO",     "CODDIHO",   "DIA",       "HORA",
                                              "TEXTOHOR", "HORADESDE", "HORAHASTA", "MINUTOS",
                                              "MARCOXML", "MARCO",     "TEXTODIA"};

TEST(ClockTextTest, HoursAndMinutesWithLeadingZeros) {
  const std::pair<long long, std::u16string> cases[] = {
      {0, u"00:00"},    {480, u"08:00"},   {535, u"08:55"},  {1439, u"23:59"},
      {1500, u"25:00"}, {6000, u"100:00"}, {-100, u"-2:20"},
  };
  for (const auto& [minutes, clock] : cases) EXPECT_EQ(ClockText(minutes), clock);
}

TEST(SplitAnswerTest, TwentyCharactersHoldTwoFrames) {
  const struct {
    std::u16string answer, a, b;
  } cases[] = {
      {u"1         2         ", u"1", u"2"},
      {u"M         ", u"M", u""},
      {u"ABCDEFGHIJKL", u"ABCDEFGHIJ", u""},
      {u"  X       ", u"X", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.answer));
    const ChosenFrames frames = SplitAnswer(c.answer);
    EXPECT_EQ(frames.a, c.a);
    EXPECT_EQ(frames.b, c.b);
  }
}

class TimeSlotsTest : public testing::ConverterTest {
 protected:
  Rows Convert(const std::vector<GroupData>& groups, const ChosenFrames& frames) {
    ImportTimeSlots(Load(groups), ktemp(), frames);
    return Read("DIASHORAST.DBF", kGridFields);
  }
};

const GroupData kTwoFrames = {
    "JORNADAS_ESCOLARES",
    {{"1", "Mañana", "15/09/2026", "22/06/2027"}, {"2", "Tarde", "16/09/2026", "21/06/2027"}}};
const GroupData kThreeSlots = {"TRAMOS_HORARIOS",
                               {{"101", "PRIMERA", "480", "535", "1"},
                                {"201", "TARDE", "900", "955", "2"},
                                {"102", "SEGUNDA", "535", "590", "1"}}};

TEST_F(TimeSlotsTest, TheWeekOfTwoFrames) {
  const Rows rows = Convert({kTwoFrames, kThreeSlots}, {u"1", u"2"});
  ASSERT_EQ(rows.size(), 21u);
  EXPECT_EQ(
      Rows(rows.begin(), rows.begin() + 3),
      (Rows{{u"11", u"101", u"1", u"1", u"PRIMERA", u"08:00", u"08:55", u"55", u"1", u"0", u""},
            {u"11", u"201", u"1", u"1", u"TARDE", u"15:00", u"15:55", u"55", u"2", u"1", u""},
            {u"12", u"102", u"1", u"2", u"SEGUNDA", u"08:55", u"09:50", u"55", u"1", u"0", u""}}));
  std::vector<std::u16string> keys;
  for (const auto& row : rows) keys.push_back(row[0]);
  EXPECT_EQ(keys, (std::vector<std::u16string>{u"11", u"11", u"12", u"21", u"21", u"22", u"31",
                                               u"31", u"32", u"41", u"41", u"42", u"51", u"51",
                                               u"52", u"61", u"61", u"62", u"71", u"71", u"72"}));
  EXPECT_EQ(rows[20][2], u"7");
  EXPECT_EQ(Read("PERIODOS.DBF", {"CJORNADA", "JORNADA", "FECINI", "FECFIN"}),
            (Rows{{u"1", u"Mañana", u"15/09/2026", u"22/06/2027"},
                  {u"2", u"Tarde", u"16/09/2026", u"21/06/2027"}}));
  EXPECT_TRUE(Read("DIASHORAST2.DBF", {"ORDEN"}).empty());
  EXPECT_TRUE(std::filesystem::exists(files::FindIgnoringCase(ktemp(), "DIASHORAST2.MDX")));
}

TEST_F(TimeSlotsTest, TheFrameThatStartsEarlierIsMarkedZero) {
  const struct {
    GroupData slots;
    ChosenFrames frames;
    std::u16string mark_a, mark_b;
  } cases[] = {
      {{"TRAMOS_HORARIOS", {{"1", "t", "900", "960", "1"}, {"2", "m", "480", "540", "2"}}},
       {u"1", u"2"},
       u"1",
       u"0"},
      {{"TRAMOS_HORARIOS", {{"1", "t", "480", "540", "1"}, {"2", "m", "480", "540", "2"}}},
       {u"1", u"2"},
       u"0",
       u"1"},
      // A frame without slots starts at 0 as frame A, at 1440 as frame B.
      {{"TRAMOS_HORARIOS", {{"2", "m", "0", "60", "2"}}}, {u"1", u"2"}, u"", u"1"},
      {{"TRAMOS_HORARIOS", {{"1", "m", "1439", "1440", "1"}}}, {u"1", u"2"}, u"0", u""},
      // Starts whose hours take three characters (100:00, -10:00) are read whole.
      {{"TRAMOS_HORARIOS", {{"1", "t", "6000", "6060", "1"}, {"2", "m", "900", "960", "2"}}},
       {u"1", u"2"},
       u"1",
       u"0"},
      {{"TRAMOS_HORARIOS", {{"1", "t", "480", "540", "1"}, {"2", "m", "-600", "960", "2"}}},
       {u"1", u"2"},
       u"1",
       u"0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("case " + std::to_string(&c - &cases[0]));
    const Rows rows = Convert({kTwoFrames, c.slots}, c.frames);
    for (const auto& row : rows) {
      EXPECT_EQ(row[9], row[8] == c.frames.a ? c.mark_a : c.mark_b)
          << ::testing::PrintToString(row[8]);
    }
  }
}

TEST_F(TimeSlotsTest, SlotRules) {
  const Rows rows = Convert(
      {{"JORNADAS_ESCOLARES", {{"ABCDEFGHIJKL", "Larga", "a", "b"}, {"", "Vacía", "c", "d"}}},
       {"TRAMOS_HORARIOS",
        {{"1", "Un texto de más de quince", "", "60", "ABCDEFGHIJKLMN"},
         {"2", "t2", "600", "590", " ABCDEFGHIJ "},
         {"3", "otro", "480", "540", "Z"},
         {"4", "sin marco", "480", "540", ""}}}},
      {u"ABCDEFGHIJ", u""});
  ASSERT_EQ(rows.size(), 21u);
  EXPECT_EQ(rows[0],
            (std::vector<std::u16string>{u"11", u"1", u"1", u"1", u"Un texto de más", u"00:00",
                                         u"01:00", u"60", u"ABCDEFGHIJ", u"0", u""}));
  EXPECT_EQ(rows[1][0], u"12");
  EXPECT_EQ(rows[1][7], u"-10");
  // With one frame chosen, slots without a frame code count as frame B.
  EXPECT_EQ(rows[2][0], u"11");
  EXPECT_EQ(rows[2][8], u"");
  EXPECT_EQ(rows[2][9], u"1");
  // The frame record's whole code differs from the ten characters chosen.
  EXPECT_EQ(Read("PERIODOS.DBF", {"JORNADA"}), (Rows{{u"Vacía"}}));
}

TEST_F(TimeSlotsTest, TheTenthSlotOfDayThree) {
  GroupData slots{"TRAMOS_HORARIOS", {}};
  for (int i = 1; i <= 10; ++i) {
    slots.records.push_back(
        {std::to_string(i), "h", std::to_string(480 + 60 * i), std::to_string(540 + 60 * i), "M"});
  }
  const Rows rows =
      Convert({{"JORNADAS_ESCOLARES", {{"M", "Mañana", "a", "b"}}}, slots}, {u"M", u""});
  ASSERT_EQ(rows.size(), 70u);
  EXPECT_EQ(rows[29][0], u"310");
  EXPECT_EQ(rows[29][3], u"10");
}

TEST_F(TimeSlotsTest, ATimeThatIsNotAWholeNumberStops) {
  try {
    Convert({kTwoFrames,
             {"TRAMOS_HORARIOS", {{"1", "t", "480", "540", "1"}, {"2", "t", "8:00", "540", "1"}}}},
            {u"1", u""});
    FAIL();
  } catch (const text::ConversionError& error) {
    EXPECT_STREQ(error.what(), "'8:00' is not a valid integer value");
  }
  EXPECT_EQ(Read("DIASHORAST.DBF", {"DIHO"}), (Rows{{u"11"}}));
}

}  // namespace
}  // namespace zentrova::import
