#include "import/teaching_assignments.h"

#include <string>
#include <unordered_map>

#include "import/group_conversion.h"
#include "import/subjects.h"
#include "text/clipper.h"
#include "text/encoding.h"
#include "text/letter_case.h"

namespace zentrova::import {
namespace {

// The weekly time of an assignment, in minutes; one session per hour.
constexpr int kWeeklyMinutes = 240;

// Subject names are compared upper-cased (a to z only) and trimmed.
std::u16string NameKey(std::u16string name) {
  return text::AllTrim(text::UpperAZ(std::move(name)));
}

// The code of the first ASIGNOMT row of each name.
std::unordered_map<std::u16string, std::u16string> ReadSubjectCodes(store::Table& subjects) {
  std::unordered_map<std::u16string, std::u16string> codes;
  for (subjects.First(); !subjects.Eof(); subjects.Next()) {
    codes.try_emplace(NameKey(subjects.AsText("NOMBRE")), subjects.AsText("COD"));
  }
  return codes;
}

struct Group {
  std::u16string code;
  std::u16string level;
  std::u16string course;
  std::u16string letter;
};

// GRUPOST rows by CLAVECURSO, each list in stored order.
std::unordered_map<std::u16string, std::vector<Group>> ReadGroupsByCourse(store::Table& groups) {
  std::unordered_map<std::u16string, std::vector<Group>> by_course;
  for (groups.First(); !groups.Eof(); groups.Next()) {
    by_course[groups.AsText("CLAVECURSO")].push_back(
        Group{groups.AsText("ABREV"), groups.AsText("NIVEL"), groups.AsText("CURSO"),
              groups.AsText("GRUPO")});
  }
  return by_course;
}

}  // namespace

const std::vector<store::FieldDef>& AsigtFields() {
  using store::FieldKind;
  static const std::vector<store::FieldDef> fields = {
      {"CASIG", FieldKind::kText, 10},      {"CPROF", FieldKind::kText, 10},
      {"CGRUP", FieldKind::kText, 10},      {"CAULA", FieldKind::kText, 10},
      {"TURNO", FieldKind::kText, 1},       {"NIVEL", FieldKind::kText, 5},
      {"CURSO", FieldKind::kText, 3},       {"GRUPO", FieldKind::kText, 2},
      {"HORAS", FieldKind::kFloat, 0},      {"SESIONES", FieldKind::kText, 20},
      {"NCONEX", FieldKind::kText, 4},      {"CLAVE", FieldKind::kText, 10},
      {"CLAVECURSO", FieldKind::kText, 10}, {"CTAREA", FieldKind::kText, 10},
  };
  return fields;
}

void ImportTeachingAssignments(const xml::Document& document, const std::filesystem::path& ktemp,
                               store::Table& subjects, store::Table& groups,
                               ConversionObserver& observer) {
  store::OpenForScope open_groups(groups, store::OpenMode::kExclusive);
  store::OpenForScope open_subjects(subjects, store::OpenMode::kExclusive);
  const auto codes = ReadSubjectCodes(subjects);
  const auto groups_by_course = ReadGroupsByCourse(groups);
  open_subjects.Close();
  open_groups.Close();
  constexpr int hours = (kWeeklyMinutes + 59) / 60;
  const std::u16string sessions(static_cast<size_t>(hours), u'1');

  const GroupConversion conversion{"ASIGT", kMaterias, &AsigtFields()};
  ConvertGroup(document, ktemp, conversion, observer, [&](const Record& record, RowWriter& rows) {
    const std::u16string course_code = record.Value(materias::kCourse);
    // The name is compared as ASIGNOMT holds it: cut to its field's width and in the table's
    // code page, so a name with a character the code page lacks still finds its row.
    const auto subject = codes.find(
        NameKey(text::AsCp1252(text::LeftChars(record.Value(materias::kName), kSubjectNameWidth))));
    if (subject == codes.end() || subject->second.empty()) {
      observer.RecordSkipped(record, subject == codes.end() ? SkipReason::kSubjectNotFound
                                                            : SkipReason::kSubjectWithoutCode);
      return;
    }
    const auto course_groups = groups_by_course.find(course_code);
    if (course_groups == groups_by_course.end()) {
      observer.RecordSkipped(record, SkipReason::kCourseWithoutGroups);
      return;
    }
    for (const Group& group : course_groups->second) {
      rows.Append(record);
      rows.SetText("CASIG", subject->second);
      rows.SetText("CGRUP", group.code);
      rows.SetText("NIVEL", group.level);
      rows.SetText("CURSO", group.course);
      rows.SetText("GRUPO", group.letter);
      rows.SetFloat("HORAS", hours);
      rows.SetText("SESIONES", sessions);
      rows.SetText("CLAVE", record.Value(materias::kKey));
      rows.SetText("CLAVECURSO", course_code);
      rows.SetText("CTAREA", u"1");
      rows.Post();
    }
  });
}

}  // namespace zentrova::import
