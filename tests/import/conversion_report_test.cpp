// The report a review collects from the converters: one finding per thing a record undergoes,
// counts per data group. The cases run the whole conversion on small exports.

#include "import/conversion_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/conversion.h"
#include "import/vetrana_to_orbelin_fixture.h"
#include "text/encoding.h"

namespace zentrova::import {
namespace {

using testing::GroupData;
using Lines = std::vector<std::string>;

std::string Utf8(const std::u16string& text) { return text::Utf16ToUtf8(text); }

std::string Joined(const std::vector<std::u16string>& values) {
  std::string joined;
  for (const auto& value : values) joined += (joined.empty() ? "" : "|") + Utf8(value);
  return joined;
}

// The findings of a group, one line each, kind by kind.
Lines Findings(const GroupReport& group) {
  Lines lines;
  for (const auto& s : group.skipped) {
    lines.push_back(std::to_string(s.record) + " skipped " +
                    std::to_string(static_cast<int>(s.reason)) + " " + Joined(s.values));
  }
  for (const auto& n : group.notices) {
    lines.push_back(std::to_string(n.record) +
                    (n.kind == NoticeKind::kCourseNotInLevelTable ? " no level " : " no course ") +
                    Joined(n.values));
  }
  for (const auto& c : group.changed_codes) {
    lines.push_back(std::to_string(c.record) + " " + c.field +
                    (c.change == CodeChange::kSuffixed ? " suffixed " : " shortened ") +
                    Utf8(c.after));
  }
  for (const auto& r : group.repeated_codes) {
    lines.push_back(std::to_string(r.record) + " " + r.field + " repeats " +
                    std::to_string(r.earlier_record));
  }
  for (const auto& v : group.changed_values) {
    lines.push_back(std::to_string(v.record) + " " + v.field + " " + Utf8(v.value.given) + " -> " +
                    Utf8(v.value.stored));
  }
  return lines;
}

const GroupData kFrame = {"JORNADAS_ESCOLARES", {{"M", "Mañana", "01/09/2026", "30/06/2027"}}};
const GroupData kSlot = {"TRAMOS_HORARIOS", {{"1", "Primera", "480", "535", "M"}}};

class ConversionReportTest : public testing::ConverterTest {
 protected:
  void SetUp() override {
    testing::WriteLevelTable(ktemp() / "NIVELEX.DBF", {{305, u"ESO", u"Secundaria"}});
  }
  std::vector<GroupReport> Report(std::vector<GroupData> groups) {
    groups.push_back(kFrame);
    groups.push_back(kSlot);
    ConversionReport report;
    SubjectLists lists;
    ConvertExport(Load(groups), ktemp(), ktemp() / "NIVELEX.DBF", {u"M", u""}, lists, report);
    return report.groups();
  }
  const GroupReport& Find(const std::vector<GroupReport>& groups, const std::string& table) {
    for (const auto& group : groups) {
      if (group.table == table) return group;
    }
    ADD_FAILURE() << table;
    return groups.front();
  }
};

TEST_F(ConversionReportTest, EveryKindOfFinding) {
  const struct {
    std::string what;
    std::vector<GroupData> groups;
    std::string table;
    Lines findings;
  } cases[] = {
      {"a record with one value", {{"EMPLEADOS", {{" 7 "}}}}, "PROFT", {"0 skipped 0  7 "}},
      {"a subject repeated",
       {{"MATERIAS", {{"305", "1", "Lengua"}, {"306", "2", "LENGUA"}}}},
       "ASIGNOMT",
       {"1 skipped 1 306|2|LENGUA"}},
      {"a course without groups",
       {{"MATERIAS", {{"305", "1", "Lengua"}}}},
       "ASIGT",
       {"0 skipped 4 305|1|Lengua"}},
      {"a slot of a frame not chosen",
       {{"TRAMOS_HORARIOS", {{"2", "Tarde", "900", "955", "T"}}}},
       "DIASHORAST",
       {"0 skipped 5 2|Tarde|900|955|T"}},
      {"a course not in the level table",
       {{"CURSOS_DEL_CENTRO", {{"999", "Otro"}}}},
       "CURSOST",
       {"0 no level 999|Otro"}},
      {"a group without its course",
       {{"UNIDADES", {{"9001", "1º A", "998"}}}},
       "GRUPOST",
       {"0 no course 9001|1º A|998"}},
      {"a suffixed code",
       {{"DEPENDENCIAS", {{"101", "Aula"}, {"101", "Aula"}}}},
       "AULAT",
       {"1 ABREV suffixed 1011"}},
      {"a code shortened onto an earlier one",
       {{"UNIDADES",
         {{"1", "2º Bachillerato Ciencias A", "305"}, {"2", "2º Bachillerato Letras A", "305"}}}},
       "GRUPOST",
       {"0 no course 1|2º Bachillerato Ciencias A|305",
        "1 no course 2|2º Bachillerato Letras A|305", "0 ABREV shortened 2º Bachi A",
        "1 ABREV shortened 2º Bachi A", "1 ABREV repeats 0"}},
      {"a text cut and a character the code page lacks",
       {{"EMPLEADOS", {{"12345678901", "", "Dŝ", "R", "S", "A"}}}},
       "PROFT",
       {"0 DEPART Dŝ -> D?", "0 X_EMPLEADO 12345678901 -> 1234567890"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Findings(Find(Report(c.groups), c.table)), c.findings);
  }
}

TEST_F(ConversionReportTest, RecordsAndRecordsThatGiveRowsPerGroup) {
  const std::vector<GroupReport> groups =
      Report({{"MATERIAS", {{"305", "1", "Lengua"}, {"305", "2", "LENGUA"}, {"x"}}},
              {"ACTIVIDADES", {{"1", "G", "Guardia"}}},
              {"UNIDADES", {{"9001", "1º A", "305"}, {"9002", "1º B", "305"}}},
              {"CURSOS_DEL_CENTRO", {{"305", "1º de ESO"}}}});
  Lines counts;
  for (const auto& group : groups) {
    counts.push_back(group.table + " " + Utf8(group.group) + " " + std::to_string(group.records) +
                     " " + std::to_string(group.records_with_rows));
  }
  // An assignment gives a row per group and a slot one per day; each record counts once.
  EXPECT_EQ(counts,
            (Lines{"ASIGNOMT MATERIAS 3 1", "ASIGNOMT ACTIVIDADES 1 1", "PROFT EMPLEADOS 0 0",
                   "AULAT DEPENDENCIAS 0 0", "CURSOST CURSOS_DEL_CENTRO 1 1",
                   "GRUPOST UNIDADES 2 2", "ASIGT MATERIAS 3 2", "DIASHORAST TRAMOS_HORARIOS 1 1",
                   "PERIODOS JORNADAS_ESCOLARES 1 1"}));
}

TEST_F(ConversionReportTest, AValueAlteredAtEveryRowOfARecordIsOneFinding) {
  const std::vector<GroupReport> groups =
      Report({{"MATERIAS", {{"305", "ABCDEFGHIJKL", "Lengua"}}},
              {"CURSOS_DEL_CENTRO", {{"305", "1º de ESO"}}},
              {"UNIDADES", {{"9001", "1º A", "305"}, {"9002", "1º B", "305"}}},
              {"TRAMOS_HORARIOS", {{"2", "Una hora muy larga", "535", "590", "M"}}}});
  EXPECT_EQ(Findings(Find(groups, "ASIGT")), (Lines{"0 CLAVE ABCDEFGHIJKL -> ABCDEFGHIJ"}));
  EXPECT_EQ(Findings(Find(groups, "DIASHORAST")),
            (Lines{"0 TEXTOHOR Una hora muy larga -> Una hora muy la"}));
}

}  // namespace
}  // namespace zentrova::import
