#include "text/clipper.h"

#include <gtest/gtest.h>

namespace zentrova::text {
namespace {

struct TrimCase {
  std::u16string input;
  std::u16string ltrim, rtrim, alltrim;
};

TEST(ClipperTest, TrimsOnlyTheSpaceCharacter) {
  const TrimCase cases[] = {
      {u"  Lengua  ", u"Lengua  ", u"  Lengua", u"Lengua"},
      {u"", u"", u"", u""},
      {u"    ", u"", u"", u""},
      {u"\tLengua ", u"\tLengua ", u"\tLengua", u"\tLengua"},
      {u"\u00A0x\u00A0", u"\u00A0x\u00A0", u"\u00A0x\u00A0", u"\u00A0x\u00A0"},
      {u" a b ", u"a b ", u" a b", u"a b"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.input));
    EXPECT_EQ(LTrim(c.input), c.ltrim);
    EXPECT_EQ(RTrim(c.input), c.rtrim);
    EXPECT_EQ(AllTrim(c.input), c.alltrim);
  }
}

TEST(ClipperTest, LeftAndRightChars) {
  struct Case {
    std::u16string input;
    int n;
    std::u16string left, right;
  };
  const Case cases[] = {
      {u"Biología", 3, u"Bio", u"gía"},
      {u"Biología", 8, u"Biología", u"Biología"},
      {u"Biología", 20, u"Biología", u"Biología"},
      {u"Biología", 0, u"", u""},
      {u"Biología", -2, u"", u""},
      {u"1ºA", 1, u"1", u"A"},
      {u"1ºA", 5, u"1ºA", u"1ºA"},
      {u"", 0, u"", u""},
      {u"", 3, u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LeftChars(c.input, c.n), c.left) << c.n;
    EXPECT_EQ(RightChars(c.input, c.n), c.right) << c.n;
  }
}

TEST(ClipperTest, CapitalsOnlyKeepsAToZ) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"Educación Física", u"EF"},  {u"Ética", u""},
      {u"matemáticas", u""},         {u"MATEMÁTICAS", u"MATEMTICAS"},
      {u"3º ESO Refuerzo", u"ESOR"}, {u"ÑANDÚ Ç", u"AND"},
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(CapitalsOnly(input), expected);
}

TEST(ClipperTest, CharsAfterSpaces) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"Lengua Castellana y Literatura", u"CyL"},
      {u"Música ", u""},
      {u"Juan  Pablo", u" P"},
      {u"Juan", u""},
      {u" x", u"x"},
      {u"", u""},
      {u"a\tb", u""},
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(CharsAfterSpaces(input), expected);
}

// Names and stored bytes: only the byte 0x20 is a blank, and a byte beyond ASCII is a character.
TEST(ClipperTest, EightBitTextLosesItsBlanksOnly) {
  const struct {
    std::string_view text, all, right;
  } cases[] = {
      {"  PROFT.DBF  ", "PROFT.DBF", "  PROFT.DBF"},
      {"NOMBRE", "NOMBRE", "NOMBRE"},
      {"   ", "", ""},
      {"", "", ""},
      {"\tA\xA0 ", "\tA\xA0", "\tA\xA0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    EXPECT_EQ(AllTrim(c.text), c.all);
    EXPECT_EQ(RTrim(c.text), c.right);
  }
}

}  // namespace
}  // namespace zentrova::text
