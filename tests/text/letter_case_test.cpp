#include "text/letter_case.h"

#include <gtest/gtest.h>

namespace zentrova::text {
namespace {

TEST(LetterCaseTest, UpperAZLeavesAccentedLetters) {
  EXPECT_EQ(UpperAZ(u"matemáticas"), u"MATEMáTICAS");
  EXPECT_EQ(UpperAZ(u"ñandú 1º"), u"ñANDú 1º");
  EXPECT_EQ(LowerAZ("EXPORTAR"), "exportar");
  EXPECT_EQ(LowerAZ("ÍMPORTAR"), "Ímportar");
  EXPECT_EQ(UpperAZ(std::string("asig_x\xf1")), "ASIG_X\xf1");  // 8-bit ñ stays
}

TEST(LetterCaseTest, EightBitNamesCompareIgnoringAToZOnly) {
  EXPECT_TRUE(EqualsIgnoringCaseAZ("x_ofertamatrig", "X_OFERTAMATRIG"));
  EXPECT_TRUE(EqualsIgnoringCaseAZ("proft.dbf", "PROFT.DBF"));
  EXPECT_FALSE(EqualsIgnoringCaseAZ("A\xf1O", "A\xd1O"));  // ñ and Ñ in Windows-1252
  EXPECT_FALSE(EqualsIgnoringCaseAZ("PROF", "PROFT"));
}

TEST(LetterCaseTest, CaseFoldingTakesInAccentedLetters) {
  EXPECT_EQ(FoldCase(u"Ruiz"), FoldCase(u"RUIZ"));
  EXPECT_EQ(FoldCase(u"Ángel"), FoldCase(u"ángel"));
  EXPECT_EQ(FoldCase(u"b1"), FoldCase(u"B1"));
  EXPECT_NE(FoldCase(u"Angel"), FoldCase(u"Ángel"));
  EXPECT_NE(FoldCase(u"RSA"), FoldCase(u"RSA1"));
  EXPECT_EQ(FoldCase(u""), FoldCase(u""));
}

}  // namespace
}  // namespace zentrova::text
