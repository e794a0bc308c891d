#include "export/solution_table.h"

#include <gtest/gtest.h>

#include "export/orbelin_to_vetrana_fixture.h"
#include "support/temp_folder.h"
#include "text/integer.h"

namespace zentrova::timetable_export {
namespace {

using testing::SolucRow;
using testing::TempFolder;

// A row as the export sees it: MARCO, ASIG, CODGRUPO, TAREA, AULA, DIA as text, DIA and
// HORA as numbers.
std::u16string Describe(const SolutionRow& row) {
  return row.marco + u"|" + row.asig + u"|" + row.codgrupo + u"|" + row.tarea + u"|" + row.aula +
         u"|" + row.dia_text + u"|" + text::IntegerText(row.dia.Get()) + u"|" +
         text::IntegerText(row.hora.Get());
}

std::vector<std::u16string> Describe(const std::vector<SolutionRow>& rows) {
  std::vector<std::u16string> described;
  for (const auto& row : rows) described.push_back(Describe(row));
  return described;
}

class SolutionTableTest : public ::testing::TestWithParam<const char*> {
 protected:
  store::Table& Soluc(const std::vector<SolucRow>& rows) {
    testing::WriteSoluc(folder_.path(), GetParam(), rows);
    soluc_.Open(store::OpenMode::kExclusive);
    return soluc_;
  }

  TempFolder folder_;
  store::Table soluc_{folder_.path(), "SOLUC.DBF"};
};

TEST_P(SolutionTableTest, GroupsRowsByTeacherInRecordOrder) {
  SolutionTable table(Soluc({{"ABC", "2", "5", "0", "MAT", "1A", "", "A12"},
                             {"XYZ", "1", "1", "1", "LEN", "2B", "GUARD", ""},
                             {"ABC", "1", "10", "01", "FIS", "1A", "  ", "  "},
                             {"abc", "3", "3", "0", "QUI", "1A", "", ""},
                             {"ABC", "", "", "0", "REC", "", "", ""}}));
  EXPECT_EQ(Describe(table.RowsOf(u"ABC")),
            (std::vector<std::u16string>{u"0|MAT|1A||A12|2|2|5", u"01|FIS|1A|||1|1|10",
                                         u"0|REC|||||0|0"}));
  EXPECT_EQ(Describe(table.RowsOf(u"XYZ")),
            (std::vector<std::u16string>{u"1|LEN|2B|GUARD||1|1|1"}));
  // Codes compare exactly: case counts, nothing is trimmed.
  EXPECT_EQ(table.RowsOf(u"abc").size(), 1u);
  EXPECT_TRUE(table.RowsOf(u"AB").empty());
  EXPECT_TRUE(table.RowsOf(u"ABC ").empty());
}

TEST_P(SolutionTableTest, TeacherCodeWithASingleQuoteIsMatchedLiterally) {
  SolutionTable table(Soluc({{"O'NEIL", "1", "1", "0", "MAT", "1A", "", ""},
                             {"O''NEIL", "2", "1", "0", "LEN", "1A", "", ""}}));
  ASSERT_EQ(table.RowsOf(u"O'NEIL").size(), 1u);
  EXPECT_EQ(table.RowsOf(u"O'NEIL")[0].asig, u"MAT");
  ASSERT_EQ(table.RowsOf(u"O''NEIL").size(), 1u);
  EXPECT_EQ(table.RowsOf(u"O''NEIL")[0].asig, u"LEN");
}

TEST_P(SolutionTableTest, TableWithoutRows) {
  SolutionTable table(Soluc({}));
  EXPECT_TRUE(table.RowsOf(u"ABC").empty());
}

INSTANTIATE_TEST_SUITE_P(Layouts, SolutionTableTest,
                         ::testing::Values(testing::kNumericSoluc, testing::kTextSoluc));

TEST(SolutionTableConversion, ANumberThatDoesNotConvertRaisesOnlyWhenAskedFor) {
  TempFolder folder;
  testing::WriteSoluc(
      folder.path(), testing::kTextSoluc,
      {{"ABC", "x", "1", "0", "MAT", "1A", "", ""}, {"ABC", "1", "1y", "0", "MAT", "1A", "", ""}});
  store::Table soluc(folder.path(), "SOLUC.DBF");
  soluc.Open(store::OpenMode::kExclusive);
  SolutionTable table(soluc);
  const std::vector<SolutionRow>& rows = table.RowsOf(u"ABC");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].dia_text, u"x");
  EXPECT_EQ(rows[0].hora.Get(), 1);
  EXPECT_THROW(rows[0].dia.Get(), text::ConversionError);
  EXPECT_EQ(rows[1].dia.Get(), 1);
  try {
    rows[1].hora.Get();
    FAIL() << "HORA 1y converted";
  } catch (const text::ConversionError& error) {
    EXPECT_EQ(std::string(error.what()), "'1y' is not a valid integer value\r\nTabla " +
                                             (folder / "SOLUC.DBF").string() +
                                             ", registro 2, campo HORA.");
  }
}

}  // namespace
}  // namespace zentrova::timetable_export
