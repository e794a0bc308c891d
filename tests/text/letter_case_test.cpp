#include "text/letter_case.h"

#include <gtest/gtest.h>

namespace zentrova::text {
namespace {

TEST(LetterCaseTest, UpperAZLeavesAccentedLetters) {
  EXPECT_EQ(UpperAZ(u"matemáticas"), u"MATEMáTICAS");
  EXPECT_EQ(UpperAZ(u"ñandú 1º"), u"ñANDú 1º");
  EXPECT_EQ(LowerAZ("EXPORTAR"), "exportar");
  EXPECT_EQ(LowerAZ("ÍMPORTAR"), "Ímportar");
}

TEST(LetterCaseTest, EqualsIgnoringCaseFoldsAccentedLetters) {
  EXPECT_TRUE(EqualsIgnoringCase(u"Ruiz", u"RUIZ"));
  EXPECT_TRUE(EqualsIgnoringCase(u"Ángel", u"ángel"));
  EXPECT_TRUE(EqualsIgnoringCase(u"b1", u"B1"));
  EXPECT_FALSE(EqualsIgnoringCase(u"Angel", u"Ángel"));
  EXPECT_FALSE(EqualsIgnoringCase(u"RSA", u"RSA1"));
  EXPECT_TRUE(EqualsIgnoringCase(u"", u""));
}

}  // namespace
}  // namespace zentrova::text
