#include "import/preflight.h"

#include <gtest/gtest.h>

#include "import/vetrana_to_orbelin_fixture.h"
#include "support/temp_folder.h"
#include "text/encoding.h"

namespace zentrova::import {
namespace {

using testing::BuildExport;
using testing::GroupData;

const GroupData kOneFrame = {"JORNADAS_ESCOLARES", {{"M", "Mañana", "a", "b"}}};

// An export whose first subject is named `name`, in a file that declares `encoding` and has
// the document type `doctype`. `@` in `name` marks the fault; everything before it is one
// byte per character, so its column is its byte number too.
struct UnreadableCase {
  const char* label;
  std::string name;
  std::string cause;  // in the message, after the place; `#` stands for the byte number
  std::string encoding = "UTF-8";
  std::string doctype = "";
};

constexpr char kOnlyEntities[] =
    " en el elemento 'dato' no se admite: solo se leen &amp;, &lt;, &gt;, &quot;, &apos; y las "
    "referencias numéricas a caracteres";
void PrintTo(const UnreadableCase& c, std::ostream* out) { *out << c.label; }

// A million levels of elements inside the name, `@` before the one that stands deeper than
// the limit: the value is at level 5 (SERVICIO, BLOQUE_DATOS, the group, the record, dato).
std::string DeeplyNested() {
  constexpr size_t kLevels = 1000000;
  std::string name;
  for (size_t level = 6; level <= kLevels + 5; ++level) {
    if (level == 257) name += '@';
    name += "<b>";
  }
  name += "Fisica";
  for (size_t i = 0; i < kLevels; ++i) name += "</b>";
  return name;
}

class UnreadableExport : public ::testing::TestWithParam<UnreadableCase> {};

// A file the converters could not read faithfully stops the first direction before any table
// is touched, with the message of any other malformed export: the file, the place, the cause.
TEST_P(UnreadableExport, IsRefusedNamingTheFileAndThePlace) {
  const UnreadableCase& c = GetParam();
  std::string xml = BuildExport({{"MATERIAS", {{"305", "M1", "@"}}}, kOneFrame});
  xml.replace(xml.find("UTF-8"), 5, c.encoding);
  xml.insert(xml.find("?>") + 2, c.doctype);
  const size_t fault = xml.find('@') + c.name.find('@');
  xml.replace(xml.find('@'), 1, c.name);
  xml.erase(fault, 1);
  const std::string column = std::to_string(fault + 1);
  std::string cause = c.cause;
  if (const size_t byte = cause.find('#'); byte != std::string::npos) {
    cause.replace(byte, 1, column);
  }

  testing::TempFolder folder;
  const std::filesystem::path file = folder / "export.xml";
  testing::WriteFile(file, xml);
  xml::Document document;
  const xml::LoadResult load = document.Load(file);
  const auto problem = CheckExport(document, load, file);
  ASSERT_TRUE(problem.has_value());
  EXPECT_EQ(text::Utf16ToUtf8(*problem),
            "El archivo " + file.string() + " no es un XML válido (línea 1, columna " + column +
                "): " + cause + ". No se ha modificado ninguna tabla.");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, UnreadableExport,
    ::testing::Values(
        UnreadableCase{"StrayByteInUtf8", "Matem@\xE1ticas",
                       "contiene bytes que no son válidos en la codificación 'UTF-8' (byte # del "
                       "archivo)"},
        UnreadableCase{"ByteWindows1252LeavesUndefined", "Matem\xE1ticas @\x81",
                       "contiene bytes que no son válidos en la codificación 'windows-1252' (byte "
                       "# del archivo)",
                       "windows-1252"},
        UnreadableCase{"ExternalEntity", "Fisica@&xxe;",
                       "la referencia a la entidad 'xxe'" + std::string(kOnlyEntities), "UTF-8",
                       "<!DOCTYPE SERVICIO [<!ENTITY xxe SYSTEM \"file:///etc/hostname\">]>"},
        UnreadableCase{"InternalEntity", "@&lol2;",
                       "la referencia a la entidad 'lol2'" + std::string(kOnlyEntities), "UTF-8",
                       "<!DOCTYPE SERVICIO [<!ENTITY lol \"lol\"><!ENTITY lol1 \"&lol;&lol;\">"
                       "<!ENTITY lol2 \"&lol1;&lol1;\">]>"},
        UnreadableCase{"ControlCharacter", "Fisica@\x01",
                       "carácter de control U+0001 en el elemento 'dato', que XML no admite"},
        UnreadableCase{"DeeplyNested", DeeplyNested(),
                       "los elementos están anidados a más de 256 niveles, el máximo que se "
                       "admite"},
        UnreadableCase{"UndeclaredEntity", "@&lol9;",
                       "la referencia a la entidad 'lol9'" + std::string(kOnlyEntities)}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace zentrova::import
