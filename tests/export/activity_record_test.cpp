#include "export/activity_record.h"

#include <gtest/gtest.h>

#include "export/orbelin_to_vetrana_fixture.h"
#include "support/temp_folder.h"
#include "text/integer.h"

namespace zentrova::timetable_export {
namespace {

using testing::ExchangeRows;
using testing::SolucRow;
using testing::TempFolder;

struct ActivityCase {
  const char* what;
  SolucRow row;
  // N_DIASEMANA, X_TRAMO, X_DEPENDENCIA, X_UNIDAD, X_OFERTAMATRIG, X_MATERIAOMG, F_INICIO,
  // F_FIN, N_HORINI, N_HORFIN, X_ACTIVIDAD
  std::vector<std::string> values;
};

// Consecutive activities of one teacher, so that a value left by an earlier activity would
// show in the next.
const std::vector<ActivityCase>& Cases() {
  static const std::vector<ActivityCase> cases = {
      {"all found; the first of two ASIGT records for the pair",
       {"T", "1", "1", "0", "MAT", "1A", "CLASE", "A12"},
       {"1", "S011", "A12", "U-1A", "C-1", "M-1", "01/09/2024", "30/06/2025", "495", "550",
        "CLASE"}},
      {"frame 1 shares slot 11 with frame 0; blank TAREA, subject not in ASIGNOMT; blank AULA",
       {"T", "1", "1", "1", "LEN", "2B", "", "  "},
       {"1", "S111", "", "U-2B", "C-2", "L-2", "01/09/2024", "30/06/2025", "900", "955", "1"}},
      {"MARCO longer than one character is matched on its first",
       {"T", "1", "1", "10", "MAT", "1A", "X", "B1"},
       {"1", "S111", "B1", "U-1A", "C-1", "M-1", "01/09/2024", "30/06/2025", "900", "955", "X"}},
      {"slot, group and assignment not found: nothing carried over",
       {"T", "3", "4", "0", "MAT", "9Z", "X", ""},
       {"", "", "", "", "", "", "01/09/2024", "30/06/2025", "0", "0", "X"}},
      {"day 2 hour 5 is slot 25; TAREA of spaces takes ASIGNOMT's code",
       {"T", "2", "5", "0", "GUA", "1A", "   ", "A1"},
       {"2", "S025", "A1", "U-1A", "", "", "01/09/2024", "30/06/2025", "660", "715", "T-GUA"}},
      {"hour 10 gives slot 110; blank TAREA and a blank CODTAREA give 1",
       {"T", "1", "10", "0", "REC", "1A", "", ""},
       {"1", "S0110", "", "U-1A", "", "", "01/09/2024", "30/06/2025", "840", "895", "1"}},
      {"an empty MARCO matches no frame",
       {"T", "1", "1", "", "MAT", "1A", "X", ""},
       {"", "", "", "U-1A", "C-1", "M-1", "01/09/2024", "30/06/2025", "0", "0", "X"}},
  };
  return cases;
}

ExchangeRows Exchange() {
  ExchangeRows rows;
  rows.asigt = {{u"MAT", u"1A", u"M-1", u"C-1"},
                {u"MAT", u"1A", u"M-dup", u"C-dup"},
                {u"LEN", u"2B", u"L-2", u"C-2"}};
  rows.asignomt = {{u"GUA", u"T-GUA"}, {u"REC", u""}, {u"MAT", u"T-MAT"}};
  rows.diashorast = {{u"11", u"0", u"1", u"S011", u"08:15", u"09:10"},
                     {u"11", u"1", u"1", u"S111", u"15:00", u"15:55"},
                     {u"25", u"0", u"2", u"S025", u"11:00", u"11:55"},
                     {u"110", u"0", u"1", u"S0110", u"14:00", u"14:55"},
                     {u"12", u"0", u"1", u"S012", u"0x:15", u"09:00"}};
  rows.grupost = {{u"1A", u"U-1A"}, {u"2B", u"U-2B"}};
  return rows;
}

class ActivityRecordFixture : public ::testing::Test {
 protected:
  void SetUp() override { testing::WriteExchangeTables(folder_.path(), Exchange()); }

  // Writes the rows' activities into one teacher group and gives the group, read back.
  // Writes SOLUC (unless `layout` is null: the one already there is used), then the
  // activities of teacher T into one group; gives their values, read back.
  std::vector<std::vector<std::string>> Write(const char* layout,
                                              const std::vector<SolucRow>& rows) {
    if (layout) testing::WriteSoluc(folder_.path(), layout, rows);
    OpenTables open(testing::ExportTablesOf(tables_));
    SolutionTable soluc(tables_.wwTableSoluc);
    Lookups lookups(tables_.wwTableAsig, tables_.wwTableNomAsg, tables_.wwTableTramos,
                    tables_.wwTableGrupos);
    xml::Document document;
    xml::Node teacher = document.Root().AppendElement(u"grupo_datos");
    int number = 1;
    for (const SolutionRow& row : soluc.RowsOf(u"T")) {
      WriteActivityRecord(teacher, number++, row, lookups, period_);
    }
    document.Save(folder_ / "activities.xml");
    testing::ResultDocument saved(folder_ / "activities.xml");
    std::vector<std::vector<std::string>> activities;
    int expected_number = 1;
    for (pugi::xml_node activity : saved.document().document_element().children()) {
      EXPECT_EQ(std::string(activity.name()), "grupo_datos");
      EXPECT_EQ(std::string(activity.first_attribute().name()), "seq");
      EXPECT_EQ(std::string(activity.attribute("seq").value()),
                "ACTIVIDAD_" + std::to_string(expected_number++));
      EXPECT_FALSE(activity.first_attribute().next_attribute()) << "seq alone";
      activities.push_back(testing::ActivityValues(activity));
    }
    return activities;
  }

  TempFolder folder_;
  app::ExchangeTables tables_{folder_.path(), folder_ / "NIVELEX.DBF"};
  Period period_{u"01/09/2024", u"30/06/2025"};
};

class ActivityRecordTest : public ActivityRecordFixture,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(ActivityRecordTest, LookUpRules) {
  std::vector<SolucRow> rows;
  for (const auto& c : Cases()) rows.push_back(c.row);
  const auto activities = Write(GetParam(), rows);
  ASSERT_EQ(activities.size(), Cases().size());
  for (size_t i = 0; i < Cases().size(); ++i) {
    EXPECT_EQ(activities[i], Cases()[i].values) << Cases()[i].what;
  }
}

TEST_P(ActivityRecordTest, SlotTimeThatDoesNotConvertStopsTheActivity) {
  testing::WriteSoluc(folder_.path(), GetParam(), {{"T", "1", "2", "0", "MAT", "1A", "", ""}});
  OpenTables open(testing::ExportTablesOf(tables_));
  SolutionTable soluc(tables_.wwTableSoluc);
  Lookups lookups(tables_.wwTableAsig, tables_.wwTableNomAsg, tables_.wwTableTramos,
                  tables_.wwTableGrupos);
  xml::Document document;
  xml::Node teacher = document.Root().AppendElement(u"grupo_datos");
  try {
    WriteActivityRecord(teacher, 1, soluc.RowsOf(u"T").at(0), lookups, period_);
    FAIL() << "the start 0x:15 converted";
  } catch (const text::ConversionError& error) {
    EXPECT_EQ(std::string(error.what()), "'0x' is not a valid integer value");
  }
}

// python3-dbf strips leading blanks, so this SOLUC is written with our store.
TEST_F(ActivityRecordFixture, ValuesWrittenAsReadKeepTheirLeadingBlanks) {
  testing::WriteSolucWithOurStore(folder_.path(),
                                  {{"T", "1", "1", "0", "MAT", "1A", " T7", " A 3"}});
  EXPECT_EQ(Write(nullptr, {}).at(0),
            (std::vector<std::string>{"1", "S011", " A 3", "U-1A", "C-1", "M-1", "01/09/2024",
                                      "30/06/2025", "495", "550", " T7"}));
}

INSTANTIATE_TEST_SUITE_P(Layouts, ActivityRecordTest,
                         ::testing::Values(testing::kNumericSoluc, testing::kTextSoluc));

TEST(SlotKeyTest, DayTextFollowedByTheHourWithoutLeadingZeros) {
  TempFolder folder;
  testing::WriteSoluc(
      folder.path(), testing::kTextSoluc,
      {{"T", "2", "05", "1x", "", "", "", ""}, {"T", "7", "12", "", "", "", "", ""}});
  store::Table table(folder.path(), "SOLUC.DBF");
  table.Open();
  SolutionTable soluc(table);
  const auto& rows = soluc.RowsOf(u"T");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(SlotKey(rows[0]), u"25");
  EXPECT_EQ(FrameMark(rows[0]), u"1");
  EXPECT_EQ(SlotKey(rows[1]), u"712");
  EXPECT_EQ(FrameMark(rows[1]), u"");
}

}  // namespace
}  // namespace zentrova::timetable_export
