#include <gtest/gtest.h>

#include <map>

#include "app/directions.h"
#include "app/process_state.h"
#include "import/vetrana_to_orbelin_fixture.h"
#include "support/fake_host.h"
#include "support/report_files.h"
#include "support/temp_folder.h"
#include "text/encoding.h"

namespace zentrova::app {
namespace {

using testing::BuildExport;
using testing::GroupData;

const GroupData kOneFrame = {"JORNADAS_ESCOLARES", {{"M", "Mañana", "a", "b"}}};
const GroupData kTwoFrames = {"JORNADAS_ESCOLARES",
                              {{"M", "Mañana", "a", "b"}, {"T", "Tarde", "c", "d"}}};
const GroupData kSlots = {"TRAMOS_HORARIOS",
                          {{"1", "1ª", "480", "535", "M"}, {"2", "1ª tarde", "900", "955", "T"}}};
const GroupData kCourses = {"CURSOS_DEL_CENTRO", {{"305", "1º de ESO"}}};
const GroupData kMaterias = {"MATERIAS", {{"305", "M1", "Matemáticas"}}};
const GroupData kUnidades = {"UNIDADES", {{"9001", "1º ESO A", "305"}}};

// Every file of a folder with its bytes.
class VetranaToOrbelinTest : public ::testing::Test {
 protected:
  VetranaToOrbelinTest() : state_(RunPaths{root_ / "KTEMP", root_ / "NIVELEX.DBF"}) {
    std::filesystem::create_directory(root_ / "KTEMP");
    testing::WriteLevelTable(root_ / "NIVELEX.DBF", {{305, u"ESO", u"Secundaria"}});
  }
  std::filesystem::path WriteExport(const std::string& name, const std::string& xml) {
    testing::WriteFile(root_ / name, xml);
    return root_ / name;
  }
  RunOutcome Run(const std::filesystem::path& file) {
    host_.file_answers.push_back(file);
    return BExportarClick(state_, host_);
  }
  std::filesystem::path ktemp() const { return root_ / "KTEMP"; }

  testing::TempFolder root_;
  ProcessState state_;
  testing::FakeHost host_;
};

TEST_F(VetranaToOrbelinTest, ACompletedRun) {
  const auto file =
      WriteExport("e.xml", BuildExport({kMaterias, kCourses, kUnidades, kTwoFrames, kSlots}));
  host_.frame_answers.push_back(FrameAnswer{false, u"", false});  // no frame: shown again
  host_.frame_answers.push_back(FrameAnswer{true, u"M         T         ", false});
  EXPECT_EQ(Run(file), RunOutcome::kCompleted);
  EXPECT_EQ(host_.messages, std::vector<std::u16string>{u"Proceso finalizado"});
  EXPECT_EQ(host_.frame_dialogs_shown, 2);
  EXPECT_EQ(host_.button_changes, std::vector<bool>{false});
  EXPECT_EQ(host_.busy_changes, (std::vector<bool>{true, false}));
  EXPECT_EQ(state_.resultCode, 1);
  EXPECT_EQ(host_.closes, 0);
  EXPECT_EQ(state_.filenameXML, file);
  EXPECT_EQ(testing::ReadRows(ktemp(), "DIASHORAST.DBF", {"MARCOXML"}).size(), 14u);
  EXPECT_EQ(testing::ReadRows(ktemp(), "ASIGT.DBF", {"CASIG"}).size(), 1u);
}

TEST_F(VetranaToOrbelinTest, NoFileChosen) {
  EXPECT_EQ(BExportarClick(state_, host_), RunOutcome::kStopped);
  EXPECT_EQ(host_.messages, std::vector<std::u16string>{u"No existe archivo"});
  EXPECT_EQ(state_.resultCode, 0);
  state_.runMode = 2;
  EXPECT_EQ(BExportarClick(state_, host_), RunOutcome::kStopped);
  EXPECT_EQ(state_.resultCode, -1);
  EXPECT_EQ(host_.closes, 1);
}

TEST_F(VetranaToOrbelinTest, ACancelledDialogRunsAgainOnTheFileChosenBefore) {
  const auto file = WriteExport("e.xml", BuildExport({kOneFrame, kSlots}));
  std::filesystem::remove(root_ / "NIVELEX.DBF");
  EXPECT_EQ(Run(file), RunOutcome::kStopped);
  EXPECT_EQ(host_.messages.back(),
            u"ATENCIÓN - NIVELEX.DBF No encontrado - Reinstale ZENTROVA\nSe ha buscado en «" +
                text::PathText(root_ / "NIVELEX.DBF") + u"».");
  EXPECT_TRUE(std::filesystem::is_empty(ktemp()));
  testing::WriteLevelTable(root_ / "NIVELEX.DBF", {});
  EXPECT_EQ(BExportarClick(state_, host_), RunOutcome::kCompleted);
}

TEST_F(VetranaToOrbelinTest, AnExportThatWouldStopHalfWayLeavesEveryTableAsItWas) {
  ASSERT_EQ(Run(WriteExport("good.xml",
                            BuildExport({kMaterias, kCourses, kUnidades, kOneFrame, kSlots}))),
            RunOutcome::kCompleted);
  const auto before = testing::Snapshot(ktemp());
  const struct {
    std::string xml;
    std::u16string message_start;
  } cases[] = {
      {"<SERVICIO><BLOQUE_DATOS>", u"El archivo "},
      {"<OTRO><BLOQUE_DATOS/></OTRO>", u"El archivo "},
      {BuildExport({kMaterias, kCourses}), u"El archivo "},
      {BuildExport({{"CURSOS_DEL_CENTRO", {{"3O5", "1º"}, {"x"}}}, kOneFrame}),
       u"'3O5' is not a valid integer value"},
      {BuildExport({{"CURSOS_DEL_CENTRO", {{"", "1º"}}}, kOneFrame}),
       u"'' is not a valid integer value"},
      {BuildExport({kOneFrame, {"TRAMOS_HORARIOS", {{"1", "1ª", "8:00", "535", "M"}}}}),
       u"'8:00' is not a valid integer value"},
      {BuildExport({kOneFrame, {"TRAMOS_HORARIOS", {{"1", "1ª", "480", "ab", "M"}}}}),
       u"'0ab' is not a valid integer value"},
  };
  for (const auto& c : cases) {
    host_.messages.clear();
    EXPECT_EQ(Run(WriteExport("bad.xml", c.xml)), RunOutcome::kStopped);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].substr(0, c.message_start.size()), c.message_start);
    EXPECT_EQ(testing::Snapshot(ktemp()), before) << c.xml;
  }
  // The frame choice is settled before anything is deleted too.
  host_.messages.clear();
  EXPECT_EQ(Run(WriteExport("two.xml", BuildExport({kTwoFrames, kSlots}))), RunOutcome::kStopped);
  EXPECT_EQ(testing::Snapshot(ktemp()), before);
  EXPECT_EQ(state_.resultCode, 1);
}

TEST_F(VetranaToOrbelinTest, ASlotOfAFrameNotChosenIsNotChecked) {
  const GroupData slots = {"TRAMOS_HORARIOS",
                           {{"1", "1ª", "480", "535", "M"}, {"2", "x", "8:00", "9:00", "T"}}};
  host_.frame_answers.push_back(FrameAnswer{true, u"M         ", false});
  EXPECT_EQ(Run(WriteExport("e.xml", BuildExport({kTwoFrames, slots}))), RunOutcome::kCompleted);
}

// The window shows the report after "Proceso finalizado" when the run changed or left out
// something; batch mode never shows it, and leaves it beside the export, findings or not.
TEST_F(VetranaToOrbelinTest, TheReportOfARun) {
  const GroupData long_name = {
      "UNIDADES", {{"9001", "1º ESO A", "305"}, {"9002", "1º Diversificación", "305"}}};
  const struct {
    const char* label;
    bool batch;
    GroupData unidades;
    bool shown;
  } cases[] = {
      {"WindowAndAShortenedCode", false, long_name, true},
      {"WindowAndNothingChanged", false, kUnidades, false},
      {"BatchAndAShortenedCode", true, long_name, false},
      {"BatchAndNothingChanged", true, kUnidades, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    testing::TempFolder folder;
    const auto file = folder / "e.xml";
    testing::WriteFile(file, BuildExport({kMaterias, kCourses, c.unidades, kOneFrame, kSlots}));
    state_.runMode = c.batch ? 2 : 0;
    host_.reports.clear();
    host_.messages.clear();
    EXPECT_EQ(Run(file), RunOutcome::kCompleted);
    EXPECT_EQ(host_.messages, std::vector<std::u16string>{u"Proceso finalizado"});
    ASSERT_EQ(host_.reports.size(), c.shown ? 1u : 0u);
    const auto beside = testing::ReportsBeside(file, "exportar");
    ASSERT_EQ(beside.size(), c.batch ? 1u : 0u);
    const std::string line =
        "    Registro 2: ABREV «1º Diversificación» tiene más de 10 caracteres: se acorta a los 8 "
        "primeros y los 2 últimos, «1º Diverón».";
    if (c.shown) {
      // The slot of the frame not chosen is told, but does not open the window by itself.
      EXPECT_EQ(host_.reports[0].summary,
                (std::vector<std::u16string>{
                    u"1 registro no da fila porque su marco horario no está elegido.",
                    u"1 código se acorta a sus 8 primeros y sus 2 últimos caracteres."}));
      const std::u16string text = report::ReportText(host_.reports[0]);
      EXPECT_NE(text.find(text::Utf8ToUtf16(line) + u"\n"), std::u16string::npos);
    }
    if (c.batch) {
      const std::string text = testing::ReportText(beside[0]);
      EXPECT_NE(text.find("Resultado: Proceso finalizado\r\n"), std::string::npos);
      EXPECT_EQ(text.find(line) != std::string::npos, c.unidades.records.size() == 2) << text;
    }
  }
}

// A run that stops at a check leaves its report in batch mode too, with the message it showed.
TEST_F(VetranaToOrbelinTest, AStopInBatchModeLeavesItsReport) {
  state_.runMode = 2;
  std::filesystem::remove(root_ / "NIVELEX.DBF");
  const auto file = WriteExport("e.xml", BuildExport({kOneFrame, kSlots}));
  EXPECT_EQ(Run(file), RunOutcome::kStopped);
  const auto reports = testing::ReportsBeside(file, "exportar");
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(testing::ReportText(reports[0])
                .find("Resultado: ATENCIÓN - NIVELEX.DBF No encontrado - Reinstale ZENTROVA\r\n"),
            std::string::npos);
  EXPECT_TRUE(host_.reports.empty());
}

}  // namespace
}  // namespace zentrova::app
