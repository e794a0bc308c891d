#include "text/encoding.h"

#include <gtest/gtest.h>

namespace zentrova::text {
namespace {

TEST(EncodingTest, Utf8RoundTrip) {
  const std::u16string text = u"Educación Física ñ € \U0001F600";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
  EXPECT_EQ(Utf16ToUtf8(u"á"), "\xC3\xA1");
}

TEST(EncodingTest, Cp1252OneBytePerCharacterAndQuestionMarkForTheRest) {
  EXPECT_EQ(Utf16ToCp1252(u"Física €"), "F\xEDsica \x80");
  EXPECT_EQ(Utf16ToCp1252(u"ő—x"), "?\x97x");
  EXPECT_EQ(Utf16ToCp1252(u"\U0001F600"), "?");
  EXPECT_EQ(Cp1252ToUtf16("F\xEDsica \x80"), u"Física €");
  EXPECT_EQ(AsCp1252(u"Łódź"), u"?ód?");
}

// Texts windows-1252 writes as Latin-1 does (ASCII, and U+00A0 to U+00FF) are converted
// without ICU: every character and every byte gives what ICU's conversion gives.
TEST(EncodingTest, Cp1252ConversionsAgreeWithIcuForEveryCharacterAndByte) {
  for (char32_t c = 0; c < 0x10000; ++c) {
    const std::u16string one(1, static_cast<char16_t>(c));
    const std::string bytes = EncodeCodePage(one, "windows-1252");
    ASSERT_EQ(Utf16ToCp1252(one), bytes) << std::hex << static_cast<uint32_t>(c);
    ASSERT_EQ(AsCp1252(one), DecodeCodePage(bytes, "windows-1252"))
        << std::hex << static_cast<uint32_t>(c);
  }
  for (int byte = 0; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    ASSERT_EQ(Cp1252ToUtf16(one), DecodeCodePage(one, "windows-1252")) << byte;
  }
  const std::u16string mixed = u"Peña ¿qué? \u0080 € \U0001F600 \xD800 fin";
  EXPECT_EQ(Utf16ToCp1252(mixed), EncodeCodePage(mixed, "windows-1252"));
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(mixed.substr(0, 12))), mixed.substr(0, 12));
}

// The path names the characters the text holds, and gives the same text back.
TEST(EncodingTest, PathFromUtf8KeepsTheCharacters) {
  const std::filesystem::path path = PathFromUtf8("Año/Educación Física ñ.xml");
  EXPECT_EQ(path.filename().u16string(), u"Educación Física ñ.xml");
  EXPECT_EQ(PathText(path.parent_path()), u"Año");
  EXPECT_EQ(PathText(PathFromUtf8("\xE2\x82\xAC")), u"€");
}

TEST(EncodingTest, OtherCodePages) {
  EXPECT_EQ(DecodeCodePage("\xA4", "ibm-850"), u"ñ");
  EXPECT_EQ(DecodeCodePage("\xA4", "ibm-437"), u"ñ");
}

}  // namespace
}  // namespace zentrova::text
