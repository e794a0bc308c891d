#include "export/timetable_document.h"

#include <gtest/gtest.h>

#include "export/orbelin_to_vetrana_fixture.h"
#include "support/temp_folder.h"
#include "text/encoding.h"

namespace zentrova::timetable_export {
namespace {

using testing::TempFolder;

class ChosenExportTest : public ::testing::Test {
 protected:
  // Writes `xml` as the chosen file and loads it.
  std::optional<std::u16string> Check(const std::string& xml) {
    testing::WriteFile(file(), xml);
    load_ = document_.Load(file());
    return CheckChosenExport(document_, load_, file());
  }
  std::filesystem::path file() const { return folder_ / "centro.xml"; }

  TempFolder folder_;
  xml::Document document_;
  xml::LoadResult load_;
};

TEST_F(ChosenExportTest, RefusesWhatCannotGiveTheAcademicYear) {
  struct Case {
    std::string xml;
    std::u16string cause;
  };
  const std::vector<Case> cases = {
      {"<SERVICIO><BLOQUE_DATOS></SERVICIO>", u"no es un XML válido (línea 1"},
      {"", u"no es un XML válido"},
      {"<OTRO><BLOQUE_DATOS><x/></BLOQUE_DATOS></OTRO>", u"le falta el elemento"},
      {"<SERVICIO><x/></SERVICIO>", u"le falta el elemento"},
      {"<SERVICIO><BLOQUE_DATOS>  </BLOQUE_DATOS></SERVICIO>", u"no trae el año académico"},
      {"<SERVICIO><BLOQUE_DATOS/></SERVICIO>", u"no trae el año académico"},
  };
  for (const auto& c : cases) {
    const auto problem = Check(c.xml);
    ASSERT_TRUE(problem.has_value()) << c.xml;
    EXPECT_NE(problem->find(text::PathText(file())), std::u16string::npos) << c.xml;
    EXPECT_NE(problem->find(c.cause), std::u16string::npos)
        << c.xml << ": " << text::Utf16ToUtf8(*problem);
    EXPECT_NE(problem->find(u"No se ha escrito ningún archivo."), std::u16string::npos);
  }
}

TEST_F(ChosenExportTest, AcademicYearIsTheFirstFourCharactersOfTheFirstChild) {
  struct Case {
    std::string xml;
    std::u16string year;
  };
  const std::vector<Case> cases = {
      {"<SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"ANNO_ACADEMICO\"><dato "
       "nombre_dato=\"C_ANNO\">2024-2025</dato></grupo_datos><grupo_datos "
       "seq=\"MATERIAS\"/></BLOQUE_DATOS></SERVICIO>",
       u"2024"},
      {"<SERVICIO><BLOQUE_DATOS><g><a>20</a><b>2</b></g></BLOQUE_DATOS></SERVICIO>", u"202"},
      // Four UTF-16 units, as the text helpers count; an emoji (two units) that the cut would
      // split is left out, not saved as half a character.
      {"<SERVICIO><BLOQUE_DATOS><g>2\xF0\x9F\x98\x80"
       "256</g></BLOQUE_DATOS></SERVICIO>",
       u"2\U0001F6002"},
      {"<SERVICIO><BLOQUE_DATOS><g>202\xF0\x9F\x98\x80</g></BLOQUE_DATOS></SERVICIO>", u"202"},
      // Whatever the first child is: here a group without text.
      {"<SERVICIO><BLOQUE_DATOS><g/><h>2024</h></BLOQUE_DATOS></SERVICIO>", u""},
  };
  for (const auto& c : cases) {
    ASSERT_FALSE(Check(c.xml).has_value()) << c.xml;
    EXPECT_EQ(AcademicYear(document_), c.year) << c.xml;
  }
}

TEST_F(ChosenExportTest, EnvelopeReplacesTheRootAndKeepsTheTopLevelNodes) {
  ASSERT_FALSE(Check("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!-- antes -->\n"
                     "<SERVICIO modulo=\"X\"><BLOQUE_DATOS><grupo_datos seq=\"ANNO_ACADEMICO\">"
                     "<dato nombre_dato=\"C_ANNO\">2024</dato></grupo_datos></BLOQUE_DATOS>"
                     "<OTRO/></SERVICIO>\n<!-- despu\xe9s -->\n")
                   .has_value());
  EmptyDocument(document_);
  xml::Node timetables = WriteEnvelope(document_, u"10/02/25 09:05:00", u"2024", 7);
  timetables.AppendElement(u"marca");
  document_.Save(folder_ / "result.xml");

  testing::ResultDocument saved(folder_ / "result.xml");
  std::vector<std::string> top;
  for (pugi::xml_node node : saved.document().children()) {
    if (node.type() == pugi::node_declaration) {
      top.push_back("declaration");
    } else {
      top.push_back(node.type() == pugi::node_element ? testing::Outline(node)
                                                      : std::string(node.value()));
    }
  }
  ASSERT_EQ(top.size(), 4u);
  EXPECT_EQ(top[0], "declaration");
  EXPECT_EQ(top[1], " antes ");
  EXPECT_EQ(top[2], " después ");
  EXPECT_EQ(top[3],
            "SERVICIO[modulo=HORARIOS,tipo=I,autor=HORARIOS,fecha=10/02/25 09:05:00]"
            "{BLOQUE_DATOS{grupo_datos[seq=ANNO_ACADEMICO]{dato[nombre_dato=C_ANNO](2024)};"
            "grupo_datos[seq=HORARIOS_REGULARES,registros=7]{marca}}}");
  EXPECT_EQ(std::string(saved.document().first_child().attribute("encoding").value()),
            "ISO-8859-1");
}

TEST(ResultPathTest, ResultadoOrbelinBeforeTheFileNameInTheSameFolder) {
  EXPECT_EQ(ResultPath("/datos/centro.xml"),
            std::filesystem::path("/datos/ResultadoOrbelincentro.xml"));
  EXPECT_EQ(ResultPath("/datos/centro.XML"),
            std::filesystem::path("/datos/ResultadoOrbelincentro.XML"));
  EXPECT_EQ(ResultPath("/datos/dos.puntos.xml"),
            std::filesystem::path("/datos/ResultadoOrbelindos.puntos.xml"));
  EXPECT_EQ(ResultPath("centro.xml"), std::filesystem::path("ResultadoOrbelincentro.xml"));
}

}  // namespace
}  // namespace zentrova::timetable_export
