#include "import/subjects.h"

#include <gtest/gtest.h>

#include "import/activities.h"
#include "import/vetrana_to_orbelin_fixture.h"

namespace zentrova::import {
namespace {

using testing::GroupData;
using testing::Rows;

GroupData Materias(const std::vector<std::string>& names) {
  GroupData group{"MATERIAS", {}};
  for (const auto& name : names) group.records.push_back({"305", "1", name});
  return group;
}

TEST(BuildSubjectCodeTest, CodeAndLongCodeFromTheName) {
  const struct {
    std::u16string name, code, long_code;
  } cases[] = {
      {u"Lengua Castellana y Literatura", u"LCL", u"Lengua Castellana y Literatura"},
      {u"Educación Física", u"EF", u"Educación Física"},
      {u"Música", u"Música", u"Música"},
      {u"Ciencias sociales", u"Cs", u"Ciencias sociales"},
      // A code of exactly four characters still takes the name as its long code.
      {u"Física Y Química Aplicada", u"FYQA", u"Física Y Química Aplicada"},
      {u"matemáticas", u"matemá", u"matemá"},
      {u"3º ESO Refuerzo", u"3ESOR", u"3ESOR"},
      {u"MATEMÁTICAS", u"MATEMTICAS", u"MATEMTICAS"},
      {u"ABCDEFGHIJKL", u"ABCDEFGHIJ", u"ABCDEFGHIJKL"},
      {u"", u"", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.name));
    const SubjectCode code = BuildSubjectCode(c.name);
    EXPECT_EQ(code.code, c.code);
    // The long code is 10 characters at most once stored; the rule gives it whole.
    EXPECT_EQ(code.long_code.substr(0, 10), c.long_code.substr(0, 10));
  }
}

class SubjectsTest : public testing::ConverterTest {
 protected:
  Rows Convert(const std::vector<GroupData>& groups) {
    SubjectLists lists;
    ImportSubjects(Load(groups), ktemp(), lists);
    return Read("ASIGNOMT.DBF", {"COD", "CODLARGO", "NOMBRE", "MATERIA", "CODTAREA", "ESTAREA"});
  }
};

TEST_F(SubjectsTest, RowsCarryCodeLongCodeNameAndFalseTask) {
  EXPECT_EQ(Convert({Materias({"  Educación Física  "})}),
            (Rows{{u"EF", u"Educación", u"Educación Física", u"", u"", u"F"}}));
}

TEST_F(SubjectsTest, CodesAreMadeUniqueInDocumentOrder) {
  const struct {
    std::vector<std::string> names;
    std::vector<std::u16string> codes;
  } cases[] = {
      {{"Lengua Castellana y Literatura", "Lengua Catalana y Literatura",
        "Lengua Cooficial y Literatura"},
       {u"LCL", u"LCL1", u"LCL2"}},
      // The shortened form is what the list holds, so the candidate with suffix 1 is new again.
      {{"ABCDEFGHIJ", "ABCDEFGHIJ x", "ABCDEFGHIJ y"},
       {u"ABCDEFGHIJ", u"ABCDEFGHJ1", u"ABCDEFGHJ1"}},
      {{"Matemáticas", "matemáticas"}, {u"Matemá"}},
      {{"Matemáticas", "MATEMÁTICAS"}, {u"Matemá", u"MATEMTICAS"}},
      {{"Matemáticas", "Física", "Matemáticas"}, {u"Matemá", u"Física"}},
  };
  for (const auto& c : cases) {
    std::vector<std::u16string> codes;
    for (const auto& row : Convert({Materias(c.names)})) codes.push_back(row[0]);
    EXPECT_EQ(codes, c.codes) << c.names.front();
  }
}

TEST_F(SubjectsTest, ANineCharacterCodeUsedElevenTimes) {
  std::vector<std::string> names;
  for (int i = 0; i < 11; ++i) names.push_back("ABCDEFGHI " + std::string(1, char('a' + i)));
  const Rows rows = Convert({Materias(names)});
  ASSERT_EQ(rows.size(), 11u);
  EXPECT_EQ(rows[1][0], u"ABCDEFGHI1");
  EXPECT_EQ(rows[9][0], u"ABCDEFGHI9");
  EXPECT_EQ(rows[10][0], u"ABCDEFGH10");
}

TEST_F(SubjectsTest, RecordsWithOneValueAndMissingGroupsGiveNoRows) {
  GroupData group{"MATERIAS", {{"solo"}, {"305", "1"}}};
  // Two values: the name at position 2 does not exist and reads as empty.
  EXPECT_EQ(Convert({group}), (Rows{{u"", u"", u"", u"", u"", u"F"}}));
  EXPECT_TRUE(Convert({}).empty());
}

TEST_F(SubjectsTest, ActivitiesFollowTheSubjects) {
  SubjectLists lists;
  const auto& document = Load(
      {{"ACTIVIDADES", {{"2", " 123 ", "Guardia de recreo"}, {"2", "ABCDEFGHIJKLM", ""}, {"x"}}},
       Materias({"Matemáticas"})});
  ImportSubjects(document, ktemp(), lists);
  EXPECT_TRUE(lists.used_codes.Contains(u"Matemá"));
  ImportActivities(document, ktemp(), lists);
  EXPECT_FALSE(lists.used_codes.Contains(u"Matemá"));
  EXPECT_EQ(Read("ASIGNOMT.DBF", {"COD", "CODLARGO", "NOMBRE", "MATERIA", "CODTAREA", "ESTAREA"}),
            (Rows{{u"Matemá", u"Matemá", u"Matemáticas", u"", u"", u"F"},
                  {u"123", u"Guardia", u"Guardia de recreo", u"", u"123", u"T"},
                  {u"ABCDEFGHIJ", u"", u"", u"", u"ABCDEFGHIJKL", u"T"}}));
}

}  // namespace
}  // namespace zentrova::import
