#include "import/dialog/time_frame_model.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "import/exchange_document.h"
#include "import/vetrana_to_orbelin_fixture.h"

namespace zentrova::import {
namespace {

using testing::GroupData;

class TimeFrameModelTest : public testing::ConverterTest {
 protected:
  TimeFrameModel& Open(const std::vector<GroupData>& groups) {
    Load(groups);
    model_ = std::make_unique<TimeFrameModel>(export_file());
    model_->FormActivate();
    return *model_;
  }

 private:
  std::unique_ptr<TimeFrameModel> model_;
};

const GroupData kFrames = {"JORNADAS_ESCOLARES",
                           {{"X", "Mañana", "01/09/2026", "30/06/2027"},
                            {"Y", "Tarde", "02/09/2026", "29/06/2027"},
                            {"ABCDEFGHIJKL", "Larga", "03/09/2026", "28/06/2027"}}};
const GroupData kSlots = {"TRAMOS_HORARIOS",
                          {{"1", "08:00-08:55", "480", "535", "X"},
                           {"2", "15:00-15:55", "900", "955", "Y"},
                           {"3", "08:55-09:50", "535", "590", "X"}}};

TEST_F(TimeFrameModelTest, OpensOnTheFirstFrameWithNothingSelected) {
  TimeFrameModel& model = Open({kFrames, kSlots});
  EXPECT_EQ(model.frames(), (std::vector<std::u16string>{u"X", u"Y", u"ABCDEFGHIJKL"}));
  EXPECT_EQ(model.current_frame(), 0);
  EXPECT_EQ(model.name_label(), u"Mañana");
  EXPECT_EQ(model.start_date_label(), u"01/09/2026");
  EXPECT_EQ(model.end_date_label(), u"30/06/2027");
  EXPECT_EQ(model.slots(), (std::vector<std::u16string>{u"08:00-08:55", u"08:55-09:50"}));
}

TEST_F(TimeFrameModelTest, AClickShowsTheFrameJustClicked) {
  TimeFrameModel& model = Open({kFrames, kSlots});
  model.ListBox2Click(1);
  EXPECT_EQ(model.name_label(), u"Tarde");
  EXPECT_EQ(model.slots(), (std::vector<std::u16string>{u"15:00-15:55"}));
  model.ListBox2Click(2);
  EXPECT_EQ(model.start_date_label(), u"03/09/2026");
  EXPECT_TRUE(model.slots().empty());
}

TEST_F(TimeFrameModelTest, ClosingBuildsTheAnswerInListOrder) {
  TimeFrameModel& model = Open({kFrames, kSlots});
  const struct {
    std::vector<bool> selected;
    bool valid;
    std::u16string resultado;
    std::u16string message;
  } cases[] = {
      {{true, false, false}, true, u"X         ", u""},
      {{true, false, true}, true, u"X         ABCDEFGHIJ", u""},
      {{false, true, true}, true, u"Y         ABCDEFGHIJ", u""},
      {{true, true, true}, false, u"X         Y         ABCDEFGHIJ", kTooManyFramesMessage},
      {{false, false, false}, false, u"", kNoFrameMessage},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.selected));
    const auto closing = model.FormClose(c.selected);
    EXPECT_EQ(closing.answer.valid, c.valid);
    EXPECT_EQ(closing.answer.resultado, c.resultado);
    EXPECT_EQ(closing.message, c.message);
  }
}

TEST_F(TimeFrameModelTest, AnExportThatCannotBeReadOffersNoChoice) {
  testing::WriteFile(export_file(), "<SERVICIO><roto>");
  TimeFrameModel model(export_file());
  model.FormActivate();
  EXPECT_TRUE(model.load_failed());
  EXPECT_FALSE(model.CanChoose());
  EXPECT_EQ(model.name_label(), u"-");
  TimeFrameModel missing(export_file().parent_path() / "no-existe.xml");
  missing.FormActivate();
  EXPECT_FALSE(missing.CanChoose());
  // Closing such a dialog gives up the run, without a message about the selection.
  const TimeFrameModel::Closing closing = missing.FormClose({});
  EXPECT_TRUE(closing.answer.abandon);
  EXPECT_EQ(closing.message, u"");
}

// The dialog reads the export itself; while the file is as the run loaded it, what it reads
// is the run's document, which a change made to that document only in memory shows.
TEST_F(TimeFrameModelTest, ReadsTheRunsDocumentWhileTheFileIsAsTheRunLoadedIt) {
  Load({kFrames, kSlots});
  xml::Document run;
  ASSERT_TRUE(run.Load(export_file()).well_formed);
  run.SelectNodes(GroupQuery(kJornadasEscolares)).Item(0).FirstChild().SetText(u"W");

  TimeFrameModel unchanged(export_file(), &run);
  unchanged.FormActivate();
  EXPECT_EQ(unchanged.frames(), (std::vector<std::u16string>{u"W", u"Y", u"ABCDEFGHIJKL"}));
  EXPECT_FALSE(unchanged.load_failed());

  TimeFrameModel other_file(export_file().parent_path() / "otro.xml", &run);
  other_file.FormActivate();
  EXPECT_TRUE(other_file.load_failed());

  Load({{"JORNADAS_ESCOLARES", {{"Q", "Q", "", ""}, {"R", "R", "", ""}}}, kSlots});
  TimeFrameModel changed(export_file(), &run);
  changed.FormActivate();
  EXPECT_EQ(changed.frames(), (std::vector<std::u16string>{u"Q", u"R"}));

  std::filesystem::remove(export_file());
  TimeFrameModel gone(export_file(), &run);
  gone.FormActivate();
  EXPECT_TRUE(gone.load_failed());
  EXPECT_FALSE(gone.CanChoose());
}

}  // namespace
}  // namespace zentrova::import
