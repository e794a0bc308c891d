#include <gtest/gtest.h>

#include <map>

#include "app/directions.h"
#include "app/process_state.h"
#include "export/orbelin_to_vetrana_fixture.h"
#include "import/time_slots.h"
#include "support/fake_host.h"
#include "support/temp_folder.h"
#include "text/encoding.h"

namespace zentrova::app {
namespace {

constexpr char kExport[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SERVICIO><BLOQUE_DATOS>"
    "<grupo_datos seq=\"ANNO_ACADEMICO\"><dato nombre_dato=\"C_ANNO\">2025</dato></grupo_datos>"
    "</BLOQUE_DATOS></SERVICIO>";

// Every file of a folder with its bytes.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] = testing::ReadFile(entry.path());
  }
  return files;
}

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
  const auto before = Snapshot(root_.path());
  EXPECT_EQ(Run(chosen()), RunOutcome::kStopped);
  EXPECT_EQ(host_.messages,
            std::vector<std::u16string>{
                u"ATENCIÓN - PERIODOS.DBF No encontrado - Importe de nuevo XML de VETRANA."});
  EXPECT_EQ(host_.busy_changes, (std::vector<bool>{true, false}));
  EXPECT_EQ(state_.resultCode, 0);
  EXPECT_EQ(host_.closes, 0);
  EXPECT_TRUE(host_.button_changes.empty());
  EXPECT_FALSE(AnyTableOpen());
  EXPECT_EQ(Snapshot(root_.path()), before);
}

TEST_F(OrbelinToVetranaTest, AFileThatIsNotAnExportWritesNothing) {
  for (const std::string xml :
       {"<SERVICIO><BLOQUE_DATOS>", "<SERVICIO/>", "<SERVICIO><BLOQUE_DATOS/></SERVICIO>"}) {
    testing::WriteFile(chosen(), xml);
    const auto before = Snapshot(root_.path());
    host_.messages.clear();
    EXPECT_EQ(Run(chosen()), RunOutcome::kStopped) << xml;
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_NE(host_.messages[0].find(text::PathText(chosen())), std::u16string::npos);
    EXPECT_NE(host_.messages[0].find(u"No se ha escrito ningún archivo."), std::u16string::npos);
    EXPECT_EQ(Snapshot(root_.path()), before) << xml;
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

}  // namespace
}  // namespace zentrova::app
