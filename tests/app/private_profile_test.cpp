// Setting one key of a private-profile file and leaving every other byte as it was.

#include "app/private_profile.h"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace zentrova::app
