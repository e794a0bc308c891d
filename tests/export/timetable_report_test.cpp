// What the timetable export tells its observer, collected by a TimetableReport: every kind of
// finding about a row of SOLUC and the counts, case by case, over exchange tables written with
// our store and a SOLUC written by python3-dbf.

#include "export/timetable_report.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "export/lookups.h"
#include "export/orbelin_to_vetrana_fixture.h"
#include "export/teacher_timetables.h"
#include "import/staff.h"
#include "support/temp_folder.h"
#include "text/encoding.h"
#include "text/integer.h"

namespace zentrova::timetable_export {
namespace {

using testing::SolucRow;

std::string KindName(FindingKind kind) {
  switch (kind) {
    case FindingKind::kUnknownTeacher:
      return "unknown";
    case FindingKind::kRepeatedTeacher:
      return "repeated";
    case FindingKind::kSlotNotFound:
      return "slot";
    case FindingKind::kGroupNotFound:
      return "group";
    case FindingKind::kAssignmentNotFound:
      return "assignment";
  }
  return "?";
}

// "row kind" and, where the finding names teachers, their numbers, codes and names:
// "2 repeated 1:A:Ana,3:A:".
std::string Describe(const TimetableFinding& finding) {
  std::string text = std::to_string(finding.row.record) + " " + KindName(finding.kind);
  for (size_t i = 0; i < finding.teachers.size(); ++i) {
    const TeacherRecord& teacher = finding.teachers[i];
    text += (i == 0 ? " " : ",") + std::to_string(teacher.number) + ":" +
            text::Utf16ToUtf8(teacher.code) + ":" + text::Utf16ToUtf8(teacher.name);
  }
  return text;
}

struct Case {
  const char* label;
  testing::TextRows proft;  // ABREV, NOMBRE
  std::vector<SolucRow> soluc;
  std::vector<std::string> findings;
  size_t rows, without_day, written, teachers_without_lessons;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.label; }

// Slot 11 of frame 0, group 1A with its subject MAT, and the teachers each case gives.
class TimetableReportTest : public ::testing::TestWithParam<Case> {
 protected:
  TimetableReport Run(const Case& c) {
    testing::ExchangeRows rows;
    rows.diashorast = {{u"11", u"0", u"1", u"S11", u"08:00", u"08:55"}};
    rows.grupost = {{u"1A", u"U1"}};
    rows.asigt = {{u"MAT", u"1A", u"M1", u"C1"}};
    testing::WriteExchangeTables(folder_.path(), rows);
    testing::WriteTableRows(folder_.path(), "PROFT.DBF", import::ProftFields(), {"ABREV", "NOMBRE"},
                            c.proft);
    testing::WriteSoluc(folder_.path(), testing::kNumericSoluc, c.soluc);

    TimetableReport report;
    OpenTables open(testing::ExportTablesOf(tables_));
    SolutionTable soluc(tables_.wwTableSoluc);
    Lookups lookups(tables_.wwTableAsig, tables_.wwTableNomAsg, tables_.wwTableTramos,
                    tables_.wwTableGrupos);
    xml::Document document;
    WriteTeacherTimetables(document.Root().AppendElement(u"grupo_datos"), tables_.wwTableProfesor,
                           soluc, lookups, Period{}, report);
    return report;
  }

  testing::TempFolder folder_;
  app::ExchangeTables tables_{folder_.path(), folder_ / "NIVELEX.DBF"};
};

TEST_P(TimetableReportTest, FindingsAndCounts) {
  const Case& c = GetParam();
  const TimetableReport report = Run(c);
  std::vector<std::string> found;
  for (const TimetableFinding& finding : report.findings()) found.push_back(Describe(finding));
  EXPECT_EQ(found, c.findings);
  EXPECT_EQ(report.rows(), c.rows);
  EXPECT_EQ(report.rows_without_day(), c.without_day);
  EXPECT_EQ(report.lessons_written(), c.written);
  EXPECT_EQ(report.teachers_without_lessons(), c.teachers_without_lessons);
}

const SolucRow kLesson{"A", "1", "1", "0", "MAT", "1A", "", ""};

SolucRow With(SolucRow row, const std::string& prof) {
  row.prof = prof;
  return row;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimetableReportTest,
    ::testing::Values(Case{"EveryLessonWrittenWhole", {{u"A", u"Ana"}}, {kLesson}, {}, 1, 0, 1, 0},
                      Case{"ATeacherCodeInAnotherLetterCase",
                           {{u"A", u"Ana"}, {u"GAR", u"García"}},
                           {kLesson, With(kLesson, "gar")},
                           {"2 unknown 2:GAR:García"},
                           2,
                           0,
                           1,
                           1},
                      Case{"ATeacherCodeWithOtherBlanks",
                           {{u"GA R", u"García"}},
                           {With(kLesson, "GAR")},
                           {"1 unknown 1:GA R:García"},
                           1,
                           0,
                           0,
                           1},
                      Case{"ATeacherCodeLikeNone",
                           {{u"A", u""}},
                           {With(kLesson, "NADIE")},
                           {"1 unknown"},
                           1,
                           0,
                           0,
                           1},
                      // A row without a day is never exported: nothing to find about it.
                      Case{"AnUnknownTeacherWithoutADay",
                           {{u"A", u""}},
                           {kLesson,
                            {"NADIE", "0", "1", "0", "MAT", "1A", "", ""},
                            {"A", "", "2", "0", "X", "", "", ""}},
                           {},
                           3,
                           2,
                           1,
                           0},
                      // The lesson goes into both timetables; each of its findings is told once.
                      Case{"ATeacherTwiceInProft",
                           {{u"A", u"Ana"}, {u"B", u""}, {u"A", u"Ana bis"}},
                           {{"A", "3", "4", "0", "MAT", "1A", "", ""}},
                           {"1 repeated 1:A:Ana,3:A:Ana bis", "1 slot"},
                           1,
                           0,
                           2,
                           1},
                      Case{"ASlotOfNoFrame",
                           {{u"A", u""}},
                           {{"A", "2", "5", "0", "MAT", "1A", "", ""}, kLesson},
                           {"1 slot"},
                           2,
                           0,
                           2,
                           0},
                      Case{"ASlotOfTheOtherFrame",
                           {{u"A", u""}},
                           {{"A", "1", "1", "1", "MAT", "1A", "", ""}},
                           {"1 slot"},
                           1,
                           0,
                           1,
                           0},
                      Case{"AGroupOfNoTable",
                           {{u"A", u""}},
                           {{"A", "1", "1", "0", "MAT", "9Z", "", ""}},
                           {"1 group", "1 assignment"},
                           1,
                           0,
                           1,
                           0},
                      Case{"ASubjectNotTaughtToTheGroup",
                           {{u"A", u""}},
                           {{"A", "1", "1", "0", "LEN", "1A", "", ""}},
                           {"1 assignment"},
                           1,
                           0,
                           1,
                           0},
                      // A task without a group has no unit, subject or course to find.
                      Case{"ALessonWithoutAGroup",
                           {{u"A", u""}},
                           {{"A", "1", "1", "0", "GUARDIA", "", "G1", ""}},
                           {},
                           1,
                           0,
                           1,
                           0},
                      Case{"FindingsByRowThenByKind",
                           {{u"A", u""}, {u"B", u""}, {u"B", u""}},
                           {{"B", "9", "9", "0", "X", "9Z", "", ""},
                            {"C", "1", "1", "0", "MAT", "1A", "", ""},
                            {"A", "9", "9", "0", "MAT", "1A", "", ""}},
                           {"1 repeated 2:B:,3:B:", "1 slot", "1 group", "1 assignment",
                            "2 unknown", "3 slot"},
                           3,
                           0,
                           3,
                           0}),
    [](const ::testing::TestParamInfo<Case>& info) { return info.param.label; });

}  // namespace
}  // namespace zentrova::timetable_export
