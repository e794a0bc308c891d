// Setting one key of a private-profile file and leaving every other byte as it was.

#include "app/private_profile.h"

#include <gtest/gtest.h>

#include <string>

#include "text/encoding.h"

namespace zentrova::app {
namespace {

std::string Set(std::string_view content, std::string_view value = "1") {
  return WithProfileValue(content, "Transformadores", "Transformado", value);
}

TEST(PrivateProfileTest, OnlyTheValueChanges) {
  const struct {
    const char* what;
    std::string before, after;
  } cases[] = {
      {"a new file", "", "[Transformadores]\r\nTransformado=1\r\n"},
      {"the key", "[Transformadores]\r\nTransformado=0\r\n",
       "[Transformadores]\r\nTransformado=1\r\n"},
      {"names in another case, blanks around them",
       "; Orbelin\r\n\r\n[ transformadores ]\r\n  transformado = 0\r\nFecha=2024\r\n",
       "; Orbelin\r\n\r\n[ transformadores ]\r\n  transformado = 1\r\nFecha=2024\r\n"},
      {"comments and blank lines around, kept as they were",
       "[Otro]\r\nclave=valor\r\n\r\n\r\n; comentario\r\n[Transformadores]\r\nTransformado=-1\r\n"
       "\r\n; fin\r\n",
       "[Otro]\r\nclave=valor\r\n\r\n\r\n; comentario\r\n[Transformadores]\r\nTransformado=1\r\n"
       "\r\n; fin\r\n"},
      {"the same key in another section is another key",
       "[Otro]\nTransformado=5\n[Transformadores]\nTransformado=0\n",
       "[Otro]\nTransformado=5\n[Transformadores]\nTransformado=1\n"},
      {"a section without the key gets it after its last entry",
       "[Transformadores]\nFecha=2024\n\n; fin\n[Ventana]\nAlto=3\n",
       "[Transformadores]\nFecha=2024\nTransformado=1\n\n; fin\n[Ventana]\nAlto=3\n"},
      {"an empty section", "[Transformadores]\r\n[Ventana]\r\n",
       "[Transformadores]\r\nTransformado=1\r\n[Ventana]\r\n"},
      {"a file without the section, ending without a line end", "[Otro]\nclave=valor",
       "[Otro]\nclave=valor\n[Transformadores]\nTransformado=1\n"},
      {"the signature of a UTF-8 file", "\xEF\xBB\xBF[Transformadores]\r\nTransformado=0\r\n",
       "\xEF\xBB\xBF[Transformadores]\r\nTransformado=1\r\n"},
      {"a commented-out key is not the key", "[Transformadores]\n;Transformado=7\nTransformado=0\n",
       "[Transformadores]\n;Transformado=7\nTransformado=1\n"},
      {"the last line without a line end", "[Transformadores]\r\nTransformado=0",
       "[Transformadores]\r\nTransformado=1"},
      {"ANSI text passes through", "[General]\r\nCentro=IES Mar\xEDtimo\r\n",
       "[General]\r\nCentro=IES Mar\xEDtimo\r\n[Transformadores]\r\nTransformado=1\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Set(c.before), c.after) << c.what;
    // Writing the same value again changes nothing more.
    EXPECT_EQ(Set(c.after), c.after) << c.what;
  }
}

// The text's UTF-16 code units as a file holds them, in either byte order.
std::string Utf16Bytes(std::u16string_view text, bool little_endian) {
  std::string bytes;
  for (const char16_t unit : text) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    bytes += little_endian ? low : high;
    bytes += little_endian ? high : low;
  }
  return bytes;
}

// A file keeps its encoding: the key is found in UTF-16 as in one-byte text, and every unit
// but the value's stays, the byte-order mark, characters outside the BMP and a stray last byte
// included.
TEST(PrivateProfileTest, TheFileKeepsItsEncoding) {
  const std::u16string before =
      u"; Configuraci\u00f3n \U0001F3EB\r\n[Orbelin]\r\nCentro=IES Mar\u00edtimo\r\n"
      u"[Transformadores]\r\nTransformado=0\r\n";
  const std::u16string after =
      u"; Configuraci\u00f3n \U0001F3EB\r\n[Orbelin]\r\nCentro=IES Mar\u00edtimo\r\n"
      u"[Transformadores]\r\nTransformado=1\r\n";
  const struct {
    const char* what;
    std::string before, after;
  } cases[] = {
      {"UTF-16LE with its mark", Utf16Bytes(u"\uFEFF" + before, true),
       Utf16Bytes(u"\uFEFF" + after, true)},
      {"UTF-16BE with its mark", Utf16Bytes(u"\uFEFF" + before, false),
       Utf16Bytes(u"\uFEFF" + after, false)},
      {"UTF-16LE without a mark", Utf16Bytes(before, true), Utf16Bytes(after, true)},
      {"UTF-16LE ending in a stray byte", Utf16Bytes(u"\uFEFF" + before, true) + "\x7F",
       Utf16Bytes(u"\uFEFF" + after, true) + "\x7F"},
      {"UTF-16LE without the section",
       Utf16Bytes(u"\uFEFF[Orbelin]\r\nCentro=IES Mar\u00edtimo\r\n", true),
       Utf16Bytes(u"\uFEFF[Orbelin]\r\nCentro=IES Mar\u00edtimo\r\n[Transformadores]\r\n"
                  u"Transformado=1\r\n",
                  true)},
      {"UTF-8 with its signature", "\xEF\xBB\xBF" + text::Utf16ToUtf8(before),
       "\xEF\xBB\xBF" + text::Utf16ToUtf8(after)},
      {"UTF-8", text::Utf16ToUtf8(before), text::Utf16ToUtf8(after)},
      {"the ANSI code page", "[Orbelin]\r\nCentro=IES Mar\xEDtimo\r\n",
       "[Orbelin]\r\nCentro=IES Mar\xEDtimo\r\n[Transformadores]\r\nTransformado=1\r\n"},
      {"an empty file", "", "[Transformadores]\r\nTransformado=1\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ProfileFileWithValue(c.before, "Transformadores", "Transformado", "1"), c.after);
  }
}

}  // namespace
}  // namespace zentrova::app
