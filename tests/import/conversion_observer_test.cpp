// What each converter tells its observer: the records that give no row and why, the codes it
// changes, the values its tables hold differently, the codes they hold twice, the courses and
// groups it cannot place. Every event is written down as a line, so a test states the whole
// story of a small export.

#include "import/conversion_observer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/activities.h"
#include "import/conversion.h"
#include "import/courses_and_groups.h"
#include "import/rooms.h"
#include "import/staff.h"
#include "import/subjects.h"
#include "import/teaching_assignments.h"
#include "import/time_slots.h"
#include "import/vetrana_to_orbelin_fixture.h"
#include "text/encoding.h"

namespace zentrova::import {
namespace {

using testing::GroupData;
using Lines = std::vector<std::string>;

std::string Utf8(const std::u16string& text) { return text::Utf16ToUtf8(text); }

const char* Name(SkipReason reason) {
  switch (reason) {
    case SkipReason::kFewerThanTwoValues:
      return "few values";
    case SkipReason::kSubjectNameRepeated:
      return "name repeated";
    case SkipReason::kSubjectNotFound:
      return "subject not found";
    case SkipReason::kSubjectWithoutCode:
      return "subject without code";
    case SkipReason::kCourseWithoutGroups:
      return "no groups";
    case SkipReason::kFrameNotChosen:
      return "frame not chosen";
    case SkipReason::kFrameCodeTooLong:
      return "frame code too long";
  }
  return "?";
}

// Every event as a line: "ASIGNOMT MATERIAS 3" starts a group; the others begin with the
// record's index. Rows are left out, except where a test asks for them.
class Recorder : public ConversionObserver {
 public:
  explicit Recorder(bool rows = false) : rows_(rows) {}
  Lines lines;

  void GroupStarted(std::string_view table, std::u16string_view group,
                    const std::vector<Record>& records) override {
    lines.push_back(std::string(table) + " " + Utf8(std::u16string(group)) + " " +
                    std::to_string(records.size()));
  }
  void RowAppended(const Record& record) override {
    if (rows_) lines.push_back(std::to_string(record.index()) + " row");
  }
  void RecordSkipped(const Record& record, SkipReason reason) override {
    lines.push_back(std::to_string(record.index()) + " skipped: " + Name(reason));
  }
  void CodeChanged(const Record& record, std::string_view field, CodeChange change,
                   const std::u16string& before, const std::u16string& after) override {
    lines.push_back(std::to_string(record.index()) + " " + std::string(field) +
                    (change == CodeChange::kSuffixed ? " suffixed " : " shortened ") +
                    Utf8(before) + " -> " + Utf8(after));
  }
  void ValueAltered(const Record& record, std::string_view field,
                    const AlteredValue& value) override {
    std::string line = std::to_string(record.index()) + " " + std::string(field) + " stored " +
                       Utf8(value.stored) +
                       (value.cut ? " cut to " + std::to_string(value.width) : "");
    for (const auto& character : value.replaced) line += " lacks " + Utf8(character);
    lines.push_back(line);
  }
  void CodeRepeated(const Record& record, std::string_view field, const std::u16string& code,
                    size_t earlier_index) override {
    lines.push_back(std::to_string(record.index()) + " " + std::string(field) + " " + Utf8(code) +
                    " repeats " + std::to_string(earlier_index));
  }
  void CourseNotInLevelTable(const Record& course) override {
    lines.push_back(std::to_string(course.index()) + " not in the level table");
  }
  void GroupCourseMissing(const Record& group) override {
    lines.push_back(std::to_string(group.index()) + " course missing");
  }

 private:
  bool rows_;
};

GroupData Materias(const std::vector<std::string>& names) {
  GroupData group{"MATERIAS", {}};
  for (const auto& name : names) group.records.push_back({"305", "1", name});
  return group;
}

class ObserverTest : public testing::ConverterTest {
 protected:
  void SetUp() override {
    testing::WriteLevelTable(ktemp() / "NIVELEX.DBF", {{305, u"ESO", u"Secundaria"}});
  }
  Recorder recorder_;
};

TEST_F(ObserverTest, SubjectsTellSkippedRecordsAndChangedCodes) {
  SubjectLists lists;
  ImportSubjects(Load({Materias({"Lengua Castellana y Literatura", "LENGUA castellana y literatura",
                                 "Lengua Catalana y Literatura", "ABCDEFGHIJ", "ABCDEFGHIJ x",
                                 "ABCDEFGHIJ y"}),
                       {"MATERIAS", {{"solo"}}}}),
                 ktemp(), lists, recorder_);
  EXPECT_EQ(
      recorder_.lines,
      (Lines{
          "ASIGNOMT MATERIAS 7", "1 skipped: name repeated", "2 COD suffixed LCL -> LCL1",
          "4 COD suffixed ABCDEFGHIJ -> ABCDEFGHIJ1", "4 COD shortened ABCDEFGHIJ1 -> ABCDEFGHJ1",
          "5 COD suffixed ABCDEFGHIJ -> ABCDEFGHIJ1", "5 COD shortened ABCDEFGHIJ1 -> ABCDEFGHJ1",
          "5 COD ABCDEFGHJ1 repeats 4", "6 skipped: few values"}));
}

TEST_F(ObserverTest, SubjectsTellValuesCutAndCharactersTheCodePageLacks) {
  const std::string long_name(85, 'x');
  SubjectLists lists;
  ImportSubjects(Load({Materias({long_name, "ABCDEFGHIJKL", "Física ŝ ☃"})}), ktemp(), lists,
                 recorder_);
  EXPECT_EQ(recorder_.lines,
            (Lines{"ASIGNOMT MATERIAS 3", "0 NOMBRE stored " + std::string(80, 'x') + " cut to 80",
                   // The long code is the whole code, which the code field has cut to 10.
                   "1 CODLARGO stored ABCDEFGHIJ cut to 10", "2 COD stored F?? lacks ŝ lacks ☃",
                   "2 CODLARGO stored Física ? ? lacks ŝ lacks ☃",
                   "2 NOMBRE stored Física ? ? lacks ŝ lacks ☃"}));
}

TEST_F(ObserverTest, ActivitiesTellCodesCutToTheirFields) {
  const auto& document = Load({{"ACTIVIDADES", {{"2", "ABCDEFGHIJKLM", "Guardia"}, {"x"}}}});
  SubjectLists lists;
  ImportSubjects(document, ktemp(), lists);
  ImportActivities(document, ktemp(), lists, recorder_);
  EXPECT_EQ(recorder_.lines,
            (Lines{"ASIGNOMT ACTIVIDADES 2", "0 COD stored ABCDEFGHIJ cut to 10",
                   "0 CODTAREA stored ABCDEFGHIJKL cut to 12", "1 skipped: few values"}));
}

TEST_F(ObserverTest, StaffTellSuffixedInitialsAndRecordsWithOneValue) {
  ImportStaff(Load({{"EMPLEADOS",
                     {{"1", "", "Lengua", "Ruiz", "Soto", "Ana"},
                      {"2", "", "Lengua", "ruiz", "soto", "ana"},
                      {"solo"},
                      {"3", "", "Lengua", "Rubio", "Sanz", "Alba"}}}}),
              ktemp(), recorder_);
  EXPECT_EQ(recorder_.lines, (Lines{"PROFT EMPLEADOS 4", "1 ABREV suffixed rsa -> rsa1",
                                    "2 skipped: few values", "3 ABREV suffixed RSA -> RSA2"}));
}

TEST_F(ObserverTest, RoomsTellATenCharacterCodeRepeatedByTheCut) {
  ImportRooms(Load({{"DEPENDENCIAS",
                     {{"AULA-00001", "Aula uno"},
                      {"aula-00001", "Aula uno bis"},
                      {"", "Gimnasio"},
                      {"", "Gimnasio cubierto"}}}}),
              ktemp(), recorder_);
  EXPECT_EQ(recorder_.lines,
            (Lines{"AULAT DEPENDENCIAS 4", "1 ABREV suffixed aula-00001 -> aula-000011",
                   "1 ABREV stored aula-00001 cut to 10", "1 ABREV aula-00001 repeats 0",
                   "3 ABREV suffixed Gimnas -> Gimnas1"}));
}

TEST_F(ObserverTest, CoursesAndGroupsTellWhatTheyCannotPlace) {
  store::Table level_table(ktemp(), "NIVELEX.DBF");
  ImportCoursesAndGroups(
      Load({{"CURSOS_DEL_CENTRO",
             {{"305", "1º de ESO"}, {"999", "Curso raro"}, {"00000000305", "X"}}},
            {"UNIDADES",
             {{"9001", "2º Bachillerato Ciencias A", "305"},
              {"9002", "2º Bachillerato Humanidades A", "999"},
              {"9003", "1º A", "998"},
              {"9004"}}}}),
      ktemp(), level_table, recorder_);
  EXPECT_EQ(recorder_.lines,
            (Lines{"CURSOST CURSOS_DEL_CENTRO 3", "1 not in the level table",
                   "2 CLAVE stored 0000000030 cut to 10", "GRUPOST UNIDADES 4",
                   "0 ABREV shortened 2º Bachillerato Ciencias A -> 2º Bachi A",
                   "1 ABREV shortened 2º Bachillerato Humanidades A -> 2º Bachi A",
                   "1 ABREV 2º Bachi A repeats 0", "2 course missing", "3 skipped: few values"}));
}

TEST_F(ObserverTest, TeachingAssignmentsTellSubjectsTheyCannotPlace) {
  const auto& document = Load(
      {Materias({"Matemáticas", "Música"}),
       {"MATERIAS",
        {{"306", "M3", "Matemáticas"}, {"305", "M4"}, {"305", "ABCDEFGHIJK", "Historia"}, {"x"}}},
       {"CURSOS_DEL_CENTRO", {{"305", "1º de ESO"}}},
       {"UNIDADES", {{"9001", "1º ESO A", "305"}, {"9002", "1º ESO B", "305"}}}});
  SubjectLists lists;
  ImportSubjects(document, ktemp(), lists);
  store::Table level_table(ktemp(), "NIVELEX.DBF");
  ImportCoursesAndGroups(document, ktemp(), level_table);
  // Music is missing from the subjects' table that the assignments read.
  {
    store::Table subjects(ktemp(), "ASIGNOMT.DBF");
    subjects.Open();
    ASSERT_TRUE(subjects.Locate("NOMBRE", {u"Música"}));
    subjects.Edit();
    subjects.SetText("NOMBRE", u"Otra");
    subjects.Close();
  }
  Recorder recorder(/*rows=*/true);
  store::Table subjects(ktemp(), "ASIGNOMT.DBF");
  store::Table groups(ktemp(), "GRUPOST.DBF");
  ImportTeachingAssignments(document, ktemp(), subjects, groups, recorder);
  // A value cut at every row of a record is told at each row; the report keeps one.
  EXPECT_EQ(recorder.lines,
            (Lines{"ASIGT MATERIAS 6", "0 row", "0 row", "1 skipped: subject not found",
                   "2 skipped: no groups", "3 skipped: subject without code", "4 row",
                   "4 CLAVE stored ABCDEFGHIJ cut to 10", "4 row",
                   "4 CLAVE stored ABCDEFGHIJ cut to 10", "5 skipped: few values"}));
}

TEST_F(ObserverTest, TimeSlotsTellSlotsAndFramesNotChosen) {
  const auto& document = Load({{"JORNADAS_ESCOLARES",
                                {{"M", "Mañana", "01/09/2026", "30/06/2027"},
                                 {"T", "Tarde", "01/09/2026", "30/06/2027"},
                                 {"LARGOCODIGO1", "Larga", "01/09/2026", "30/06/2027"}}},
                               {"TRAMOS_HORARIOS",
                                {{"1", "Primera hora de la mañana", "480", "535", "M"},
                                 {"2", "Tarde", "900", "955", "T"},
                                 {"3", "Larga", "480", "535", "LARGOCODIGO1"}}}});
  ImportTimeSlots(document, ktemp(), {u"M", u"LARGOCODIG"}, recorder_);
  // Each slot is written on seven days, each time with the same cut.
  Lines expected = {"DIASHORAST TRAMOS_HORARIOS 3", "1 skipped: frame not chosen"};
  for (int day = 1; day <= 7; ++day) {
    expected.push_back("0 TEXTOHOR stored Primera hora de cut to 15");
    expected.push_back("2 MARCOXML stored LARGOCODIG cut to 10");
  }
  expected.insert(expected.end(), {"PERIODOS JORNADAS_ESCOLARES 3", "1 skipped: frame not chosen",
                                   "2 skipped: frame code too long"});
  EXPECT_EQ(recorder_.lines, expected);
}

// The observer only listens: the tables are the same with it as without it.
TEST_F(ObserverTest, TheTablesAreTheSameWithAnObserverAsWithout) {
  const auto& document =
      Load({Materias({"Lengua", "LENGUA", std::string(90, 'y')}),
            {"EMPLEADOS", {{"1", "", "D", "Ruiz", "Soto", "Ana"}, {"2", "", "D", "R", "S", "A"}}},
            {"DEPENDENCIAS", {{"AULA-00001", "Aula"}, {"AULA-00001", "Aula ŝ"}}},
            {"CURSOS_DEL_CENTRO", {{"305", "1º de ESO"}, {"999", "Otro"}}},
            {"UNIDADES", {{"9001", "2º Bachillerato Ciencias A", "305"}, {"9002", "B", "998"}}},
            {"JORNADAS_ESCOLARES", {{"M", "Mañana", "01/09/2026", "30/06/2027"}}},
            {"TRAMOS_HORARIOS", {{"1", "Primera", "480", "535", "M"}}}});
  const std::vector<std::pair<std::string, std::vector<std::string>>> tables = {
      {"ASIGNOMT.DBF", {"COD", "CODLARGO", "NOMBRE"}},
      {"PROFT.DBF", {"ABREV", "NOMBRE"}},
      {"AULAT.DBF", {"ABREV", "NOMBRE"}},
      {"CURSOST.DBF", {"NIVEL", "CLAVE", "ESTUD"}},
      {"GRUPOST.DBF", {"ABREV", "NIVEL", "DESCRIP"}},
      {"ASIGT.DBF", {"CASIG", "CGRUP", "CLAVE"}},
      {"DIASHORAST.DBF", {"DIHO", "MARCOXML", "MARCO"}},
      {"PERIODOS.DBF", {"CJORNADA", "JORNADA"}}};
  const auto convert = [&](ConversionObserver& observer) {
    SubjectLists lists;
    ConvertExport(document, ktemp(), ktemp() / "NIVELEX.DBF", {u"M", u""}, lists, observer);
    std::vector<testing::Rows> contents;
    for (const auto& [table, fields] : tables) contents.push_back(Read(table, fields));
    return contents;
  };
  const auto ignored = convert(IgnoreConversion());
  EXPECT_EQ(convert(recorder_), ignored);
  EXPECT_FALSE(recorder_.lines.empty());
}

}  // namespace
}  // namespace zentrova::import
