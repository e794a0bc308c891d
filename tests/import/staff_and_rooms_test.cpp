#include <gtest/gtest.h>

#include "import/rooms.h"
#include "import/staff.h"
#include "import/vetrana_to_orbelin_fixture.h"

namespace zentrova::import {
namespace {

using testing::GroupData;
using testing::Rows;

class StaffTest : public testing::ConverterTest {
 protected:
  Rows Convert(const std::vector<std::vector<std::string>>& records) {
    ImportStaff(Load({GroupData{"EMPLEADOS", records}}), ktemp());
    return Read("PROFT.DBF",
                {"ABREV", "NOMBRE", "DEPART", "EMAIL", "DNI", "X_EMPLEADO", "F_TOMAPOS"});
  }
  std::vector<std::u16string> Codes(const std::vector<std::vector<std::string>>& records) {
    std::vector<std::u16string> codes;
    for (const auto& row : Convert(records)) codes.push_back(row[0]);
    return codes;
  }
};

std::vector<std::string> Person(std::string first, std::string second, std::string given) {
  return {"1001", "01/09/2020", "Lengua", first, second, given};
}

TEST_F(StaffTest, RowHoldsNameDepartmentAndPlatformValues) {
  EXPECT_EQ(Convert({{" 0001234 ", "01/09/2020", " Lengua ", "Ruiz", "Soto", "Ana"}}),
            (Rows{{u"RSA", u"Ruiz Soto, Ana", u"Lengua", u"", u"", u"0001234", u"01/09/2020"}}));
  EXPECT_EQ(Convert({Person("Ruiz", "", "Ana")})[0][1], u"Ruiz , Ana");
}

TEST_F(StaffTest, InitialsAreMadeUniqueWithoutRegardToCase) {
  const struct {
    std::vector<std::vector<std::string>> records;
    std::vector<std::u16string> codes;
  } cases[] = {
      {{Person("Ruiz", "Soto", "Ana"), Person("Rivas", "Sanz", "Alba"),
        Person("Romero", "Sáez", "Aitor"), Person("ruiz", "soto", "ana")},
       {u"RSA", u"RSA1", u"RSA2", u"rsa3"}},
      {{Person("Ruiz", "", "Ana")}, {u"RA"}},
      {{Person("", "", ""), Person("", "", ""), Person("", "", "")}, {u"", u"1", u"2"}},
      // Initials come from the texts as they stand, before trimming.
      {{Person(" Ruiz", "Soto", "Ana")}, {u" SA"}},
      {{Person("Ángel", "Ñúñez", "Íñigo"), Person("ángel", "ñúñez", "íñigo")}, {u"ÁÑÍ", u"áñí1"}},
      {{{"1"}, Person("Ruiz", "Soto", "Ana")}, {u"RSA"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Codes(c.records), c.codes);
}

class RoomsTest : public testing::ConverterTest {
 protected:
  Rows Convert(const std::vector<std::vector<std::string>>& records) {
    ImportRooms(Load({GroupData{"DEPENDENCIAS", records}}), ktemp());
    return Read("AULAT.DBF", {"ABREV", "NOMBRE", "EDIFICIO", "MAXALUM", "DEPCENTRO"});
  }
};

TEST_F(RoomsTest, CodesFromTheRecordOrTheName) {
  const struct {
    std::vector<std::vector<std::string>> records;
    std::vector<std::u16string> codes;
  } cases[] = {
      {{{"101", "Laboratorio"}, {"101", "Aula"}, {"101", "Aula 2"}}, {u"101", u"1011", u"1012"}},
      {{{"", "Gimnasio cubierto"}, {" ", "Gimnasio exterior"}}, {u"Gimnas", u"Gimnas1"}},
      {{{"B1", "x"}, {"b1", "y"}}, {u"B1", u"b11"}},
      // A ten-character code that repeats is not shortened; the table cuts it.
      {{{"ABCDEFGHIJ", "x"}, {"ABCDEFGHIJ", "y"}}, {u"ABCDEFGHIJ", u"ABCDEFGHIJ"}},
      {{{"ABCDEFGHIJKLMN", "x"}}, {u"ABCDEFGHIJ"}},
      {{{"x"}, {"", ""}}, {u""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("case " + std::to_string(&c - &cases[0]));
    std::vector<std::u16string> codes;
    for (const auto& row : Convert(c.records)) codes.push_back(row[0]);
    EXPECT_EQ(codes, c.codes);
  }
  EXPECT_EQ(Convert({{" A1 ", " Aula 1 "}}), (Rows{{u"A1", u"Aula 1", u"", u"", u""}}));
}

}  // namespace
}  // namespace zentrova::import
