#include "export/timetable_run.h"

#include <gtest/gtest.h>

#include "export/orbelin_to_vetrana_fixture.h"
#include "export/timetable_document.h"
#include "support/temp_folder.h"
#include "text/integer.h"

namespace zentrova::timetable_export {
namespace {

using testing::ExchangeRows;
using testing::SolucRow;
using testing::TempFolder;

constexpr char kChosen[] =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!-- exportaci\xf3n -->\n"
    "<SERVICIO modulo=\"X\"><BLOQUE_DATOS><grupo_datos seq=\"ANNO_ACADEMICO\"><dato "
    "nombre_dato=\"C_ANNO\">2024</dato></grupo_datos><grupo_datos seq=\"MATERIAS\"><grupo_datos>"
    "<dato>1</dato><dato>Matem\xe1ticas</dato></grupo_datos></grupo_datos></BLOQUE_DATOS>"
    "</SERVICIO>\n";

class TimetableRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    environment_.Set("LC_ALL", "C");
    environment_.Set("TZ", "UTC");
    testing::WriteFile(chosen(), kChosen);
    rows_.proft = {{u"ABC", u"1001", u"01/09/2010"}, {u"ÑÚÑ", u"1002", u""}};
    rows_.asigt = {{u"MAT", u"1A", u"M-1", u"C-1"}};
    rows_.diashorast = {{u"11", u"0", u"1", u"S11", u"08:15", u"09:10"},
                        {u"12", u"0", u"1", u"S12", u"9:10", u"1O:05"}};
    rows_.grupost = {{u"1A", u"U-1"}};
  }

  std::filesystem::path chosen() const { return folder_ / "centro.xml"; }

  // Steps from the period on, with the tables opened as the driver opens them.
  std::filesystem::path Run() {
    document_ = std::make_unique<xml::Document>();
    EXPECT_TRUE(document_->Load(chosen()).well_formed);
    OpenTables open(testing::ExportTablesOf(tables_));
    files::FileReplacement result(ResultPath(chosen()));
    TimetableRun run{folder_.path(), chosen(), AcademicYear(*document_),
                     [] { return std::chrono::system_clock::from_time_t(1738591509); }};
    return WriteTimetableDocument(*document_, open, run, result);
  }

  bool AnyTableOpen() {
    const timetable_export::ExportTables tables = testing::ExportTablesOf(tables_);
    for (store::Table* table :
         {&tables.soluc, &tables.grupost, &tables.cursost, &tables.proft, &tables.aulat,
          &tables.asignomt, &tables.diashorast, &tables.asigt}) {
      if (table->IsOpen()) return true;
    }
    return false;
  }

  testing::ScopedEnvironment environment_;
  TempFolder folder_;
  ExchangeRows rows_;
  app::ExchangeTables tables_{folder_.path(), folder_ / "NIVELEX.DBF"};
  std::unique_ptr<xml::Document> document_;
};

TEST_F(TimetableRunTest, SavesTheTimetablesBesideTheChosenFile) {
  testing::WriteExchangeTables(folder_.path(), rows_);
  testing::WriteSoluc(
      folder_.path(), testing::kNumericSoluc,
      {{"ÑÚÑ", "1", "1", "0", "MAT", "1A", "", "A1"}, {"ABC", "0", "1", "0", "MAT", "1A", "", ""}});
  testing::WriteFile(folder_ / "ResultadoOrbelincentro.xml", "an earlier result");

  const std::filesystem::path saved = Run();

  EXPECT_EQ(saved, folder_ / "ResultadoOrbelincentro.xml");
  EXPECT_FALSE(AnyTableOpen());
  EXPECT_EQ(testing::ReadFile(chosen()), kChosen);
  const std::string bytes = testing::ReadFile(saved);
  EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", 0), 0u) << bytes;
  // The comment outside the root, still in Latin-1.
  EXPECT_NE(bytes.find("<!-- exportaci\xf3n -->"), std::string::npos) << bytes;

  testing::ResultDocument result(saved);
  EXPECT_EQ(testing::Outline(result.document().document_element()),
            "SERVICIO[modulo=HORARIOS,tipo=I,autor=HORARIOS,fecha=02/03/25 14:05:09]{"
            "BLOQUE_DATOS{grupo_datos[seq=ANNO_ACADEMICO]{dato[nombre_dato=C_ANNO](2024)};"
            "grupo_datos[seq=HORARIOS_REGULARES,registros=2]{"
            "grupo_datos[seq=HORARIO_REGULAR_PROFESOR_1,registros=0]{"
            "dato[nombre_dato=X_EMPLEADO](1001);dato[nombre_dato=F_TOMAPOS](01/09/2010)};"
            "grupo_datos[seq=HORARIO_REGULAR_PROFESOR_2,registros=1]{"
            "dato[nombre_dato=X_EMPLEADO](1002);dato[nombre_dato=F_TOMAPOS];"
            "grupo_datos[seq=ACTIVIDAD_1]{"
            "dato[nombre_dato=N_DIASEMANA](1);dato[nombre_dato=X_TRAMO](S11);"
            "dato[nombre_dato=X_DEPENDENCIA](A1);dato[nombre_dato=X_UNIDAD](U-1);"
            "dato[nombre_dato=X_OFERTAMATRIG](C-1);dato[nombre_dato=X_MATERIAOMG](M-1);"
            "dato[nombre_dato=F_INICIO](01/09/2024);dato[nombre_dato=F_FIN](30/06/2025);"
            "dato[nombre_dato=N_HORINI](495);dato[nombre_dato=N_HORFIN](550);"
            "dato[nombre_dato=X_ACTIVIDAD](1)}}}}}");
}

TEST_F(TimetableRunTest, EmptyTeachersTableAndPeriodWithoutRecords) {
  rows_.proft.clear();
  rows_.periodos.clear();
  testing::WriteExchangeTables(folder_.path(), rows_);
  testing::WriteSoluc(folder_.path(), testing::kNumericSoluc,
                      {{"ABC", "1", "1", "0", "MAT", "1A", "", ""}});
  testing::ResultDocument result(Run());
  EXPECT_EQ(testing::Outline(result.HorariosRegulares()),
            "grupo_datos[seq=HORARIOS_REGULARES,registros=0]");
}

TEST_F(TimetableRunTest, PeriodWithoutRecordsGivesEmptyDates) {
  rows_.periodos.clear();
  testing::WriteExchangeTables(folder_.path(), rows_);
  testing::WriteSoluc(folder_.path(), testing::kNumericSoluc,
                      {{"ABC", "1", "1", "0", "MAT", "1A", "", ""}});
  testing::ResultDocument result(Run());
  const auto teachers = result.Teachers();
  ASSERT_EQ(teachers.size(), 2u);
  const std::vector<std::string> values = testing::ActivityValues(teachers[0].child("grupo_datos"));
  EXPECT_EQ(values[6], "");
  EXPECT_EQ(values[7], "");
}

// The result is written as it is built: a stop at the first teacher, or at the second once
// the first has been written out, leaves the earlier result.
TEST_F(TimetableRunTest, AConversionErrorSavesNothing) {
  testing::WriteExchangeTables(folder_.path(), rows_);
  // The activities in slot 12 end at "1O:05".
  const std::vector<std::pair<const char*, std::vector<testing::SolucRow>>> cases = {
      {"the first teacher",
       {{"ABC", "1", "1", "0", "MAT", "1A", "", ""}, {"ABC", "1", "2", "0", "MAT", "1A", "", ""}}},
      {"the second teacher",
       {{"ABC", "1", "1", "0", "MAT", "1A", "", ""}, {"ÑÚÑ", "1", "2", "0", "MAT", "1A", "", ""}}},
  };
  for (const auto& [stopping_at, soluc] : cases) {
    SCOPED_TRACE(stopping_at);
    testing::WriteSoluc(folder_.path(), testing::kNumericSoluc, soluc);
    testing::WriteFile(folder_ / "ResultadoOrbelincentro.xml", "an earlier result");
    try {
      Run();
      FAIL() << "the end 1O:05 converted";
    } catch (const text::ConversionError& error) {
      EXPECT_EQ(std::string(error.what()), "'1O' is not a valid integer value");
    }
    EXPECT_FALSE(AnyTableOpen());
    EXPECT_EQ(testing::ReadFile(folder_ / "ResultadoOrbelincentro.xml"), "an earlier result");
    for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
      const std::string name = entry.path().filename().string();
      EXPECT_TRUE(name == "centro.xml" || name == "ResultadoOrbelincentro.xml" ||
                  entry.path().extension() == ".DBF")
          << "left behind: " << name;
    }
  }
}

// A room code with a control character in it, which no XML document can carry: the run stops
// with the document's error instead of saving a file that no reader takes.
TEST_F(TimetableRunTest, AValueXmlCannotCarrySavesNothing) {
  testing::WriteExchangeTables(folder_.path(), rows_);
  testing::WriteSolucWithOurStore(folder_.path(), {{"ABC", "1", "1", "0", "", "", "", "A\x01"}});
  try {
    Run();
    FAIL() << "a control character was written";
  } catch (const xml::Error& error) {
    EXPECT_NE(std::string(error.what()).find("U+0001"), std::string::npos) << error.what();
    // Which teacher, which activity, which value: enough to find the row in Orbelin.
    EXPECT_NE(std::string(error.what())
                  .find("grupo_datos[@seq=\"HORARIO_REGULAR_PROFESOR_1\"]/grupo_datos[@seq="
                        "\"ACTIVIDAD_1\"]/dato[@nombre_dato=\"X_DEPENDENCIA\"] el texto 'A?'"),
              std::string::npos)
        << error.what();
  }
  EXPECT_FALSE(AnyTableOpen());
  EXPECT_FALSE(std::filesystem::exists(folder_ / "ResultadoOrbelincentro.xml"));
}

TEST_F(TimetableRunTest, ATableThatWillNotOpenLeavesNoneOpen) {
  testing::WriteExchangeTables(folder_.path(), rows_);
  testing::WriteSoluc(folder_.path(), testing::kNumericSoluc, {});
  std::filesystem::remove(folder_ / "ASIGT.DBF");  // the last one opened
  EXPECT_THROW(OpenTables(testing::ExportTablesOf(tables_)), store::Error);
  EXPECT_FALSE(AnyTableOpen());
}

}  // namespace
}  // namespace zentrova::timetable_export
