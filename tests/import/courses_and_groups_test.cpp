#include "import/courses_and_groups.h"

#include <gtest/gtest.h>

#include "import/subjects.h"
#include "import/teaching_assignments.h"
#include "import/vetrana_to_orbelin_fixture.h"
#include "text/integer.h"

namespace zentrova::import {
namespace {

using testing::GroupData;
using testing::Rows;

class CoursesAndGroupsTest : public testing::ConverterTest {
 protected:
  void SetUp() override {
    testing::WriteLevelTable(ktemp() / "NIVELEX.DBF",
                             {{305, u"ESO", u"Educación Secundaria Obligatoria"},
                              {305, u"XXX", u"segunda fila del mismo código"},
                              {306, u"", u"Sin nivel"},
                              {307, u"BACHILLERATO", u""}});
  }
  void Convert(const std::vector<GroupData>& groups) {
    store::Table level_table(ktemp(), "nivelex.dbf");
    ImportCoursesAndGroups(Load(groups), ktemp(), level_table);
  }
  Rows Courses() {
    return Read("CURSOST.DBF", {"ABREV", "TURNO", "NIVEL", "CURSO", "CLAVE", "ESTUD"});
  }
  Rows Groups() {
    return Read("GRUPOST.DBF", {"ABREV", "TURNO", "NIVEL", "CURSO", "GRUPO", "DESCRIP", "MARCO",
                                "CLAVE", "CLAVECURSO"});
  }
};

TEST_F(CoursesAndGroupsTest, CoursesTakeLevelAndStudyFromTheLevelTable) {
  Convert({{"CURSOS_DEL_CENTRO",
            {{"305", "1º de ESO"},
             {"0305", "1º bis"},
             {"306", "2º de ESO"},
             {"307", "3º"},
             {"999", "Curso propio"},
             {"x"},
             {"00000000305", "Largo"}}}});
  EXPECT_EQ(Courses(),
            (Rows{{u"", u"", u"ESO", u"1", u"305", u"Educación Secundaria Obligatoria"},
                  {u"", u"", u"ESO", u"1", u"0305", u"Educación Secundaria Obligatoria"},
                  {u"", u"", u"Niv", u"2", u"306", u"Sin nivel"},
                  {u"", u"", u"BACHI", u"3", u"307", u""},
                  {u"", u"", u"Niv", u"C", u"999", u"Curso propio"},
                  {u"", u"", u"ESO", u"L", u"0000000030", u"Educación Secundaria Obligatoria"}}));
}

TEST_F(CoursesAndGroupsTest, LevelRowsWithoutAWholeNumberMatchNoCourse) {
  using store::FieldKind;
  const std::vector<GroupData> courses = {
      {"CURSOS_DEL_CENTRO", {{"0", "Cero"}, {"306", "Seis"}, {"307", "Siete"}}}};
  const struct {
    FieldKind key_kind;
    std::vector<std::pair<std::u16string, std::u16string>> rows;  // key (empty: blank), level
  } cases[] = {
      {FieldKind::kFloat, {{u"", u"BLANK"}, {u"305.5", u"MEDIO"}, {u"307", u"ESO"}}},
      {FieldKind::kText, {{u"", u"BLANK"}, {u"abc", u"TEXTO"}, {u" 307", u"ESO"}}},
  };
  for (const auto& c : cases) {
    {
      store::Table table(ktemp(), "NIVELEX.DBF");
      table.Create({{"X_OFERTAMATRIG", c.key_kind, 10},
                    {"NIVEL_ABREV", FieldKind::kText, 10},
                    {"ESTUDIO", FieldKind::kText, 80}},
                   {}, store::Level::kDbase7);
      table.Open();
      for (const auto& [key, level] : c.rows) {
        table.Append();
        if (!key.empty() && c.key_kind == FieldKind::kFloat) {
          table.SetFloat("X_OFERTAMATRIG", std::stod(std::string(key.begin(), key.end())));
        } else if (!key.empty()) {
          table.SetText("X_OFERTAMATRIG", key);
        }
        table.SetText("NIVEL_ABREV", level);
        table.Post();
      }
    }
    Convert(courses);
    std::vector<std::u16string> levels;
    for (const auto& row : Courses()) levels.push_back(row[2]);
    EXPECT_EQ(levels, (std::vector<std::u16string>{u"Niv", u"Niv", u"ESO"}));
  }
}

TEST_F(CoursesAndGroupsTest, GroupsTakeTheirCourseAndAUniqueCode) {
  Convert({{"CURSOS_DEL_CENTRO", {{"305", "1º de ESO"}, {"307", "3º de ESO"}}},
           {"UNIDADES",
            {{"9001", "1º ESO A", "305"},
             {"9002", "1º ESO B", "305"},
             {"9003", "1º eso a", "305"},
             {"9004", "2º Bachillerato A", "0305"},
             {"9005", "2º Bachillerato Ciencias A", "307"},
             {"9006", "Sin curso", ""},
             {"solo"},
             {"9007", "3º ESO C", "307"}}}});
  EXPECT_EQ(Groups(),
            (Rows{{u"1º ESO A", u"", u"ESO", u"1", u"A", u"Educación Secundaria Obligatoria", u"0",
                   u"9001", u"305"},
                  {u"1º ESO B", u"", u"ESO", u"1", u"B", u"Educación Secundaria Obligatoria", u"0",
                   u"9002", u"305"},
                  {u"1º eso a1", u"", u"ESO", u"1", u"a", u"Educación Secundaria Obligatoria", u"0",
                   u"9003", u"305"},
                  {u"2º Bachi A", u"", u"", u"", u"A", u"   A", u"0", u"9004", u"0305"},
                  {u"2º Bachi A", u"", u"BACHI", u"3", u"A", u" BACHI 3 A", u"0", u"9005", u"307"},
                  {u"Sin curso", u"", u"", u"", u"o", u"   o", u"0", u"9006", u""},
                  {u"3º ESO C", u"", u"BACHI", u"3", u"C", u" BACHI 3 C", u"0", u"9007", u"307"}}));
}

TEST_F(CoursesAndGroupsTest, ACourseCodeThatIsNotAWholeNumberStopsTheConversion) {
  try {
    Convert({{"CURSOS_DEL_CENTRO", {{"305", "1º"}, {"3O5", "2º"}}},
             {"UNIDADES", {{"9001", "1º A", "305"}}}});
    FAIL();
  } catch (const text::ConversionError& error) {
    EXPECT_STREQ(error.what(), "'3O5' is not a valid integer value");
  }
  EXPECT_EQ(Courses().size(), 1u);
  EXPECT_TRUE(Groups().empty());
}

TEST_F(CoursesAndGroupsTest, AssignmentsJoinSubjectsToTheGroupsOfTheirCourse) {
  const auto& document = Load(
      {{"MATERIAS",
        {{"305", "M1", "Matemáticas"},
         {"305", "M2", " MATEMáTICAS "},
         {"305", "M3", "MATEMÁTICAS"},
         {"0305", "M4", "Matemáticas"},
         {"307", "M5", "Música"},
         {"305", "M6"},
         {"305"}}},
       {"CURSOS_DEL_CENTRO", {{"305", "1º de ESO"}, {"307", "3º de ESO"}}},
       {"UNIDADES",
        {{"9001", "1º ESO A", "305"}, {"9002", "1º ESO B", "305"}, {"9003", "1º ESO C", "305"}}}});
  {
    store::Table subjects(ktemp(), "ASIGNOMT.DBF");
    subjects.Create(
        {{"COD", store::FieldKind::kText, 10}, {"NOMBRE", store::FieldKind::kText, 80}});
    subjects.Open();
    for (auto [code, name] :
         {std::pair{u"MAT", u"matemáticas  "}, std::pair{u"MAT2", u"Matemáticas"}}) {
      subjects.Append();
      subjects.SetText("COD", code);
      subjects.SetText("NOMBRE", name);
      subjects.Post();
    }
  }
  store::Table level_table(ktemp(), "NIVELEX.DBF");
  ImportCoursesAndGroups(document, ktemp(), level_table);
  store::Table subjects(ktemp(), "ASIGNOMT.DBF");
  store::Table groups(ktemp(), "GRUPOST.DBF");
  ImportTeachingAssignments(document, ktemp(), subjects, groups);
  EXPECT_FALSE(subjects.IsOpen());
  EXPECT_FALSE(groups.IsOpen());
  const Rows rows = Read("ASIGT.DBF", {"CASIG", "CGRUP", "NIVEL", "CURSO", "GRUPO", "HORAS",
                                       "SESIONES", "CLAVE", "CLAVECURSO", "CTAREA", "CPROF"});
  const auto row = [](std::u16string group, std::u16string letter, std::u16string clave) {
    return std::vector<std::u16string>{u"MAT",  group, u"ESO", u"1", letter, u"4",
                                       u"1111", clave, u"305", u"1", u""};
  };
  EXPECT_EQ(rows, (Rows{row(u"1º ESO A", u"A", u"M1"), row(u"1º ESO B", u"B", u"M1"),
                        row(u"1º ESO C", u"C", u"M1"), row(u"1º ESO A", u"A", u"M2"),
                        row(u"1º ESO B", u"B", u"M2"), row(u"1º ESO C", u"C", u"M2")}));
}

// ASIGNOMT keeps 80 characters of a name: the assignment finds the subject all the same.
TEST_F(CoursesAndGroupsTest, ASubjectNameLongerThanItsFieldStillGivesAssignments) {
  const std::string name =
      "Proyecto interdisciplinar de Tecnología, Programación y Robótica "
      "para el alumnado de primer ciclo";
  ASSERT_GT(name.size(), 80u);
  const auto& document = Load({{"MATERIAS", {{"305", "M1", name}}},
                               {"CURSOS_DEL_CENTRO", {{"305", "1º de ESO"}}},
                               {"UNIDADES", {{"9001", "1º ESO A", "305"}}}});
  SubjectLists lists;
  ImportSubjects(document, ktemp(), lists);
  store::Table level_table(ktemp(), "NIVELEX.DBF");
  ImportCoursesAndGroups(document, ktemp(), level_table);
  store::Table subjects(ktemp(), "ASIGNOMT.DBF");
  store::Table groups(ktemp(), "GRUPOST.DBF");
  ImportTeachingAssignments(document, ktemp(), subjects, groups);
  EXPECT_EQ(Read("ASIGT.DBF", {"CASIG", "CGRUP", "CLAVE"}), (Rows{{u"PTPR", u"1º ESO A", u"M1"}}));
}

}  // namespace
}  // namespace zentrova::import
