#include <gtest/gtest.h>

#include <map>

#include "app/directions.h"
#include "app/process_state.h"
#include "export/orbelin_to_vetrana_fixture.h"
#include "import/time_slots.h"
#include "support/fake_host.h"
#include "support/report_files.h"
#include "support/temp_folder.h"
#include "text/encoding.h"

namespace zentrova::app {
namespace {

constexpr char kExport[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SERVICIO><BLOQUE_DATOS>"
    "<grupo_datos seq=\"ANNO_ACADEMICO\"><dato nombre_dato=\"C_ANNO\">2025</dato></grupo_datos>"
    "</BLOQUE_DATOS></SERVICIO>";

// Every file of a folder with its bytes.
class OrbelinToVetranaTest : public ::testing::Test {
 protected:
  OrbelinToVetranaTest() : state_(RunPaths{root_ / "KTEMP", root_ / "NIVELEX.DBF"}) {
    std::filesystem::create_directory(ktemp());
    testing::ExchangeRows rows;
    rows.proft = {{u"ABC", u"1001", u"01/09/2010"}};
    rows.diashorast = {{u"11", u"0", u"1", u"S11", u"08:00", u"08:55"}};
    testing::WriteExchangeTables(ktemp(), rows);
    testing::WriteSoluc(ktemp(), testing::kNumericSoluc,
                        {{"ABC", "1", "1", "0", "MAT", "1A", "", ""}});
    testing::WriteFile(chosen(), kExport);
  }
  RunOutcome Run(const std::filesystem::path& file) {
    host_.file_answers.push_back(file);
    return BImportarClick(state_, host_);
  }
  std::filesystem::path ktemp() const { return root_ / "KTEMP"; }
  std::filesystem::path chosen() const { return root_ / "centro.xml"; }
  std::filesystem::path result() const { return root_ / "ResultadoOrbelincentro.xml"; }
  bool AnyTableOpen() {
    for (store::Table* table :
         {&state_.tables.wwTableSoluc, &state_.tables.wwTableGrupos, &state_.tables.wwTableCursos,
          &state_.tables.wwTableProfesor, &state_.tables.wwTableAulas, &state_.tables.wwTableNomAsg,
          &state_.tables.wwTableTramos, &state_.tables.wwTableAsig}) {
      if (table->IsOpen()) return true;
    }
    return false;
  }

  testing::TempFolder root_;
  ProcessState state_;
  testing::FakeHost host_;
};

TEST_F(OrbelinToVetranaTest, ACompletedRun) {
  state_.runMode = 2;
  EXPECT_EQ(Run(chosen()), RunOutcome::kCompleted);
  EXPECT_EQ(host_.messages, std::vector<std::u16string>{u"Proceso finalizado"});
  EXPECT_EQ(host_.button_changes, std::vector<bool>{false});
  EXPECT_EQ(host_.busy_changes, (std::vector<bool>{true, false}));
  EXPECT_EQ(state_.resultCode, 1);
  EXPECT_EQ(host_.closes, 1);
  EXPECT_EQ(state_.filenameXML, chosen());
  EXPECT_FALSE(AnyTableOpen());
  testing::ResultDocument saved(result());
  ASSERT_EQ(saved.Teachers().size(), 1u);
  EXPECT_EQ(testing::ActivityValues(saved.Teachers()[0].child("grupo_datos"))[1], "S11");
  // The run's document stays the main window's.
  ASSERT_TRUE(state_.document);
  EXPECT_TRUE(state_.document->SelectSingleNode(u"/SERVICIO[@modulo='HORARIOS']"));
}

TEST_F(OrbelinToVetranaTest, NoFileChosen) {
  EXPECT_EQ(BImportarClick(state_, host_), RunOutcome::kStopped);
  EXPECT_EQ(host_.messages, std::vector<std::u16string>{u"No existe archivo"});
  EXPECT_EQ(state_.resultCode, 0);
  EXPECT_EQ(host_.closes, 0);
  EXPECT_TRUE(host_.busy_changes.empty());
  state_.runMode = 2;
  EXPECT_EQ(Run(root_ / "falta.xml"), RunOutcome::kStopped);
  EXPECT_EQ(state_.resultCode, -1);
  EXPECT_EQ(host_.closes, 1);
  EXPECT_TRUE(host_.button_changes.empty());
}

TEST_F(OrbelinToVetranaTest, CancellingReusesTheFileChosenBefore) {
  std::filesystem::remove(ktemp() / "PERIODOS.DBF");
  EXPECT_EQ(Run(chosen()), RunOutcome::kStopped);
  // Its name in another letter case is found all the same.
  testing::WriteTableRows(ktemp(), "periodos.dbf", import::PeriodosFields(), {}, {});
  ASSERT_FALSE(std::filesystem::exists(ktemp() / "PERIODOS.DBF"));
  EXPECT_EQ(BImportarClick(state_, host_), RunOutcome::kCompleted);  // dialog cancelled
  EXPECT_TRUE(std::filesystem::exists(result()));
}

TEST_F(OrbelinToVetranaTest, PeriodTableMissing) {
  state_.runMode = 2;
  std::filesystem::remove(ktemp() / "PERIODOS.DBF");
  const auto before = testing::Snapshot(root_.path());
  const auto tables_before = testing::Snapshot(ktemp());
  EXPECT_EQ(Run(chosen()), RunOutcome::kStopped);
  EXPECT_EQ(host_.messages,
            std::vector<std::u16string>{
                u"ATENCIÓN - PERIODOS.DBF No encontrado - Importe de nuevo XML de VETRANA."});
  EXPECT_EQ(host_.busy_changes, (std::vector<bool>{true, false}));
  EXPECT_EQ(state_.resultCode, 0);
  EXPECT_EQ(host_.closes, 0);
  EXPECT_TRUE(host_.button_changes.empty());
  EXPECT_FALSE(AnyTableOpen());
  // Nothing but the report of the stop, which batch mode leaves beside the export.
  EXPECT_EQ(testing::Snapshot(ktemp()), tables_before);
  const auto reports = testing::ReportsBeside(chosen(), "importar");
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(testing::ReportText(reports[0])
                .find("Resultado: ATENCI\xC3\x93N - PERIODOS.DBF No encontrado - Importe de "
                      "nuevo XML de VETRANA.\r\n"),
            std::string::npos);
  auto after = testing::Snapshot(root_.path());
  after.erase(reports[0].filename().string());
  EXPECT_EQ(after, before);
}

TEST_F(OrbelinToVetranaTest, AFileThatIsNotAnExportWritesNothing) {
  for (const std::string xml :
       {"<SERVICIO><BLOQUE_DATOS>", "<SERVICIO/>", "<SERVICIO><BLOQUE_DATOS/></SERVICIO>"}) {
    testing::WriteFile(chosen(), xml);
    const auto before = testing::Snapshot(root_.path());
    host_.messages.clear();
    EXPECT_EQ(Run(chosen()), RunOutcome::kStopped) << xml;
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_NE(host_.messages[0].find(text::PathText(chosen())), std::u16string::npos);
    EXPECT_NE(host_.messages[0].find(u"No se ha escrito ningún archivo."), std::u16string::npos);
    EXPECT_EQ(testing::Snapshot(root_.path()), before) << xml;
    EXPECT_FALSE(AnyTableOpen());
  }
  EXPECT_EQ(state_.resultCode, 0);
  EXPECT_TRUE(host_.button_changes.empty());
}

TEST_F(OrbelinToVetranaTest, AnErrorEndsTheRunWithTheCursorBackAndTheTablesClosed) {
  std::filesystem::remove(ktemp() / "SOLUC.DBF");
  state_.runMode = 2;
  EXPECT_THROW(Run(chosen()), store::Error);
  EXPECT_EQ(host_.busy_changes, (std::vector<bool>{true, false}));
  EXPECT_TRUE(host_.messages.empty());
  EXPECT_EQ(state_.resultCode, 0);
  EXPECT_EQ(host_.closes, 0);
  EXPECT_TRUE(host_.button_changes.empty());
  EXPECT_FALSE(AnyTableOpen());
  EXPECT_FALSE(std::filesystem::exists(result()));
}

// Where the report of a run goes: shown in the window after "Proceso finalizado" when the run
// has findings, left beside the export in batch mode, written where --informe says; nowhere
// when nobody reads it.
TEST_F(OrbelinToVetranaTest, TheReportGoesWhereItIsRead) {
  const struct {
    const char* label;
    bool batch;
    bool window;    // the host shows reports
    bool informe;   // a report file is named
    bool findings;  // the lesson's group is in no table
    bool shown;
    bool beside;
  } cases[] = {
      {"WindowWithFindings", false, true, false, true, true, false},
      {"WindowWithoutFindings", false, true, false, false, false, false},
      {"BatchWithFindings", true, true, false, true, false, true},
      {"BatchWithoutFindings", true, true, false, false, false, true},
      {"CommandLineWithInforme", false, false, true, true, false, false},
      {"CommandLine", false, false, false, true, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    testing::TempFolder folder;
    const auto export_file = folder / "centro.xml";
    testing::WriteFile(export_file, kExport);
    testing::ExchangeRows rows;
    rows.proft = {{u"ABC", u"1001", u"01/09/2010"}};
    rows.diashorast = {{u"11", u"0", u"1", u"S11", u"08:00", u"08:55"}};
    if (!c.findings) {
      rows.grupost = {{u"1A", u"U1"}};
      rows.asigt = {{u"MAT", u"1A", u"M1", u"C1"}};
    }
    std::filesystem::create_directory(folder / "KTEMP");
    testing::WriteExchangeTables(folder / "KTEMP", rows);
    testing::WriteSoluc(folder / "KTEMP", testing::kNumericSoluc,
                        {{"ABC", "1", "1", "0", "MAT", "1A", "", ""}});
    ProcessState state(RunPaths{folder / "KTEMP", folder / "NIVELEX.DBF"});
    state.runMode = c.batch ? 2 : 0;
    if (c.informe) state.report_file = folder / "informe.txt";
    testing::FakeHost host;
    host.shows_reports = c.window;
    host.file_answers.push_back(export_file);
    ASSERT_EQ(BImportarClick(state, host), RunOutcome::kCompleted);
    EXPECT_EQ(host.messages, std::vector<std::u16string>{u"Proceso finalizado"});
    ASSERT_EQ(host.reports.size(), c.shown ? 1u : 0u);
    if (c.shown) {
      EXPECT_EQ(host.reports[0].summary.at(3),
                u"1 lección va sin unidad: su grupo no está en GRUPOST.");
    }
    EXPECT_EQ(testing::ReportsBeside(export_file, "importar").size(), c.beside ? 1u : 0u);
    EXPECT_EQ(std::filesystem::exists(folder / "informe.txt"), c.informe);
    if (c.informe) {
      EXPECT_NE(testing::ReportText(folder / "informe.txt").find("  Fila 1: CODGRUPO «1A»"),
                std::string::npos);
    }
  }
}

// A report that cannot be written is said, after the fixed message; the run is complete all
// the same.
TEST_F(OrbelinToVetranaTest, AReportThatCannotBeWrittenChangesNothingOfTheRun) {
  state_.report_file = root_ / "no-existe" / "informe.txt";
  EXPECT_EQ(Run(chosen()), RunOutcome::kCompleted);
  ASSERT_EQ(host_.messages.size(), 2u);
  EXPECT_EQ(host_.messages[0], u"Proceso finalizado");
  EXPECT_EQ(host_.messages[1].rfind(u"No se ha guardado el informe de la conversión. ", 0), 0u);
  EXPECT_NE(host_.messages[1].find(text::PathText(state_.report_file)), std::u16string::npos);
  EXPECT_EQ(state_.resultCode, 1);
  EXPECT_TRUE(std::filesystem::exists(result()));
}

}  // namespace
}  // namespace zentrova::app
