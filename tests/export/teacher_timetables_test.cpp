#include "export/teacher_timetables.h"

#include <gtest/gtest.h>

#include "export/orbelin_to_vetrana_fixture.h"
#include "support/temp_folder.h"
#include "text/integer.h"

namespace zentrova::timetable_export {
namespace {

using testing::ExchangeRows;
using testing::SolucRow;
using testing::TempFolder;

class TeacherTimetablesTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ExchangeRows rows;
    rows.proft = {{u"T1", u"E1", u"01/09/2020"},
                  {u"O'NEIL", u"E2", u""},
                  {u"Z", u"", u""},
                  {u"T1", u"E4", u"F4"}};
    rows.diashorast = {{u"11", u"0", u"1", u"S11", u"08:00", u"08:55"},
                       {u"25", u"0", u"2", u"S25", u"11:00", u"11:55"}};
    testing::WriteExchangeTables(folder_.path(), rows);
  }

  // The HORARIOS_REGULARES group after the walk, read back with pugixml.
  std::vector<pugi::xml_node> Write(const std::vector<SolucRow>& soluc_rows, const char* layout) {
    testing::WriteSoluc(folder_.path(), layout, soluc_rows);
    Run();
    saved_ = std::make_unique<testing::ResultDocument>(folder_ / "teachers.xml");
    std::vector<pugi::xml_node> teachers;
    for (pugi::xml_node group : saved_->document().document_element().children()) {
      teachers.push_back(group);
    }
    return teachers;
  }

  void Run() {
    OpenTables open(testing::ExportTablesOf(tables_));
    SolutionTable soluc(tables_.wwTableSoluc);
    Lookups lookups(tables_.wwTableAsig, tables_.wwTableNomAsg, tables_.wwTableTramos,
                    tables_.wwTableGrupos);
    xml::Document document;
    xml::Node timetables = document.Root().AppendElement(u"grupo_datos");
    WriteTeacherTimetables(timetables, tables_.wwTableProfesor, soluc, lookups, Period{u"A", u"B"});
    document.Save(folder_ / "teachers.xml");
  }

  TempFolder folder_;
  app::ExchangeTables tables_{folder_.path(), folder_ / "NIVELEX.DBF"};
  std::unique_ptr<testing::ResultDocument> saved_;
};

// The group's own attributes and its first two values, without the activities.
std::string Head(const pugi::xml_node& teacher) {
  std::string head = teacher.name();
  for (pugi::xml_attribute attribute : teacher.attributes()) {
    head += std::string(" ") + attribute.name() + "=" + attribute.value();
  }
  for (pugi::xml_node dato : teacher.children("dato")) {
    head += std::string(" ") + dato.attribute("nombre_dato").value() + ":" + dato.text().get();
  }
  return head;
}

// Slot code of every activity, in order, with its seq.
std::vector<std::string> Activities(const pugi::xml_node& teacher) {
  std::vector<std::string> activities;
  for (pugi::xml_node activity : teacher.children("grupo_datos")) {
    activities.push_back(std::string(activity.attribute("seq").value()) + " " +
                         testing::ActivityValues(activity)[1]);
  }
  return activities;
}

TEST_P(TeacherTimetablesTest, OneGroupPerTeacherWithItsTimetabledRows) {
  const auto teachers = Write({{"T1", "2", "5", "0", "MAT", "1A", "", ""},
                               {"T1", "0", "3", "0", "MAT", "1A", "", ""},
                               {"O'NEIL", "1", "1", "0", "LEN", "1A", "", ""},
                               {"NADIE", "1", "1", "0", "LEN", "1A", "", ""},
                               {"Z", "0", "1", "0", "LEN", "1A", "", ""},
                               {"T1", "1", "1", "0", "FIS", "1A", "", ""},
                               {"T1", "", "2", "0", "QUI", "1A", "", ""}},
                              GetParam());
  ASSERT_EQ(teachers.size(), 4u);
  EXPECT_EQ(Head(teachers[0]),
            "grupo_datos seq=HORARIO_REGULAR_PROFESOR_1 registros=2 X_EMPLEADO:E1 "
            "F_TOMAPOS:01/09/2020");
  // Record order of SOLUC, not day order; DIA 0 and an empty DIA are left out.
  EXPECT_EQ(Activities(teachers[0]),
            (std::vector<std::string>{"ACTIVIDAD_1 S25", "ACTIVIDAD_2 S11"}));
  EXPECT_EQ(Head(teachers[1]),
            "grupo_datos seq=HORARIO_REGULAR_PROFESOR_2 registros=1 X_EMPLEADO:E2 F_TOMAPOS:");
  EXPECT_EQ(Activities(teachers[1]), (std::vector<std::string>{"ACTIVIDAD_1 S11"}));
  // Only rows without a day: the group, its two values and nothing else.
  EXPECT_EQ(Head(teachers[2]),
            "grupo_datos seq=HORARIO_REGULAR_PROFESOR_3 registros=0 X_EMPLEADO: F_TOMAPOS:");
  EXPECT_EQ(testing::Outline(teachers[2]),
            "grupo_datos[seq=HORARIO_REGULAR_PROFESOR_3,registros=0]"
            "{dato[nombre_dato=X_EMPLEADO];dato[nombre_dato=F_TOMAPOS]}");
  // The same code twice: its own number, the same activities.
  EXPECT_EQ(Head(teachers[3]),
            "grupo_datos seq=HORARIO_REGULAR_PROFESOR_4 registros=2 X_EMPLEADO:E4 F_TOMAPOS:F4");
  EXPECT_EQ(Activities(teachers[3]), Activities(teachers[0]));
}

TEST_P(TeacherTimetablesTest, EmptySolutionTable) {
  const auto teachers = Write({}, GetParam());
  ASSERT_EQ(teachers.size(), 4u);
  for (size_t i = 0; i < teachers.size(); ++i) {
    EXPECT_EQ(std::string(teachers[i].attribute("registros").value()), "0");
    EXPECT_EQ(std::string(teachers[i].attribute("seq").value()),
              "HORARIO_REGULAR_PROFESOR_" + std::to_string(i + 1));
    EXPECT_TRUE(Activities(teachers[i]).empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, TeacherTimetablesTest,
                         ::testing::Values(testing::kNumericSoluc, testing::kTextSoluc));

using TeacherConversionsTest = TeacherTimetablesTest;

TEST_F(TeacherConversionsTest, NumbersNoTeacherReadsStopNothing) {
  // A day of a code no teacher has, and an hour of a row without a day.
  const auto teachers = Write({{"NADIE", "x", "1", "0", "MAT", "1A", "", ""},
                               {"T1", "0", "y", "0", "MAT", "1A", "", ""},
                               {"T1", "1", "1", "0", "MAT", "1A", "", ""}},
                              testing::kTextSoluc);
  ASSERT_EQ(teachers.size(), 4u);
  EXPECT_EQ(Activities(teachers[0]), (std::vector<std::string>{"ACTIVIDAD_1 S11"}));
}

TEST_F(TeacherConversionsTest, DayOrHourOfATimetabledRowThatDoesNotConvertStopsTheRun) {
  struct Case {
    SolucRow row;
    std::string message;
  };
  const std::string soluc = "\r\nTabla " + (folder_ / "SOLUC.DBF").string() + ", registro 1, ";
  for (const Case& c : {Case{{"Z", "1x", "1", "0", "MAT", "1A", "", ""},
                             "'1x' is not a valid integer value" + soluc + "campo DIA."},
                        Case{{"T1", "1", "z", "0", "MAT", "1A", "", ""},
                             "'z' is not a valid integer value" + soluc + "campo HORA."}}) {
    testing::WriteSoluc(folder_.path(), testing::kTextSoluc, {c.row});
    try {
      Run();
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const text::ConversionError& error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
    EXPECT_FALSE(tables_.wwTableSoluc.IsOpen());
  }
}

}  // namespace
}  // namespace zentrova::timetable_export
