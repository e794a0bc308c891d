#include "import/courses_and_groups.h"

#include <unordered_map>

#include "import/code_list.h"
#include "import/exchange_document.h"
#include "import/level_table.h"
#include "import/row_writer.h"
#include "text/clipper.h"
#include "text/integer.h"

namespace zentrova::import {
namespace {

struct Level {
  std::u16string abbreviation;
  std::u16string study;
};

// The first row of the level table for each course-offer code. A row whose code is not a
// whole number (blank, with decimals, or text that is no number) equals no course's code:
// it is passed over rather than read as 0, rounded, or left to stop the conversion.
std::unordered_map<int32_t, Level> ReadLevels(store::Table& level_table) {
  std::unordered_map<int32_t, Level> levels;
  store::OpenForScope open(level_table, store::OpenMode::kShared);
  for (level_table.First(); !level_table.Eof(); level_table.Next()) {
    const auto code = text::TryParseInteger(text::AllTrim(level_table.AsText(kLevelCodeField)));
    if (!code) continue;
    levels.try_emplace(*code, Level{level_table.AsText(kLevelAbbreviationField),
                                    level_table.AsText(kLevelStudyField)});
  }
  open.Close();
  return levels;
}

void WriteCourses(const xml::Document& document, store::Table& courses,
                  const std::unordered_map<int32_t, Level>& levels, ConversionObserver& observer) {
  const std::vector<Record> records = ReadGroup(document, kCursosDelCentro);
  observer.GroupStarted("CURSOST", kCursosDelCentro, records);
  RowWriter rows(courses, observer);
  for (const Record& record : records) {
    if (HasTooFewValues(record, observer)) continue;
    const std::u16string code = record.Value(cursos_del_centro::kCode);
    const std::u16string name = record.Value(cursos_del_centro::kName);
    const auto found = levels.find(text::ParseInteger(code));
    if (found == levels.end()) observer.CourseNotInLevelTable(record);
    Level level = found != levels.end() ? found->second : Level{u"Niv", name};
    if (level.abbreviation.empty()) level.abbreviation = u"Niv";
    rows.Append(record);
    rows.SetText("NIVEL", level.abbreviation);
    rows.SetText("CURSO", text::LeftChars(name, 1));
    rows.SetText("CLAVE", code);
    rows.SetText("ESTUD", level.study);
    rows.Post();
  }
}

struct Course {
  std::u16string level;
  std::u16string letter;
  std::u16string study;
};

// The first CURSOST row of each CLAVE, as the table stores it.
std::unordered_map<std::u16string, Course> ReadCourses(store::Table& courses) {
  std::unordered_map<std::u16string, Course> by_code;
  for (courses.First(); !courses.Eof(); courses.Next()) {
    by_code.try_emplace(
        courses.AsText("CLAVE"),
        Course{courses.AsText("NIVEL"), courses.AsText("CURSO"), courses.AsText("ESTUD")});
  }
  return by_code;
}

void WriteGroups(const xml::Document& document, store::Table& groups,
                 const std::unordered_map<std::u16string, Course>& courses,
                 ConversionObserver& observer) {
  CodeList codes(CodeList::Comparison::kIgnoringCase);
  const std::vector<Record> records = ReadGroup(document, kUnidades);
  observer.GroupStarted("GRUPOST", kUnidades, records);
  RowWriter rows(groups, observer);
  for (const Record& record : records) {
    if (HasTooFewValues(record, observer)) continue;
    const std::u16string group_code = record.Value(unidades::kCode);
    const std::u16string name = record.Value(unidades::kName);
    const std::u16string course_code = record.Value(unidades::kCourse);
    const auto found = courses.find(course_code);
    if (found == courses.end()) observer.GroupCourseMissing(record);
    const Course course = found != courses.end() ? found->second : Course{};
    const std::u16string letter = text::RightChars(name, 1);
    // Uniqueness looks at the whole name; the code is shortened afterwards in every case.
    const std::u16string unique = codes.MakeUnique(name);
    const std::u16string code = FirstEightLastTwo(unique);
    observer.CodeGiven(record, "ABREV", name, unique, code);
    codes.Add(code);
    const std::u16string description =
        !course.study.empty() ? course.study
                              : u" " + course.level + u" " + course.letter + u" " + letter;
    rows.Append(record);
    rows.SetCode("ABREV", code, codes);
    rows.SetText("NIVEL", course.level);
    rows.SetText("CURSO", course.letter);
    rows.SetText("GRUPO", letter);
    rows.SetText("DESCRIP", description);
    rows.SetText("MARCO", u"0");
    rows.SetText("CLAVE", group_code);
    rows.SetText("CLAVECURSO", course_code);
    rows.Post();
  }
}

}  // namespace

const std::vector<store::FieldDef>& CursostFields() {
  using store::FieldKind;
  static const std::vector<store::FieldDef> fields = {
      {"ABREV", FieldKind::kText, 10}, {"TURNO", FieldKind::kText, 1},
      {"NIVEL", FieldKind::kText, 5},  {"CURSO", FieldKind::kText, 3},
      {"CLAVE", FieldKind::kText, 10}, {"ESTUD", FieldKind::kText, 80},
  };
  return fields;
}

const std::vector<store::FieldDef>& GrupostFields() {
  using store::FieldKind;
  static const std::vector<store::FieldDef> fields = {
      {"ABREV", FieldKind::kText, 10},      {"TURNO", FieldKind::kText, 1},
      {"NIVEL", FieldKind::kText, 5},       {"CURSO", FieldKind::kText, 3},
      {"GRUPO", FieldKind::kText, 2},       {"DESCRIP", FieldKind::kText, 80},
      {"MARCO", FieldKind::kText, 1},       {"CLAVE", FieldKind::kText, 10},
      {"CLAVECURSO", FieldKind::kText, 10},
  };
  return fields;
}

void ImportCoursesAndGroups(const xml::Document& document, const std::filesystem::path& ktemp,
                            store::Table& level_table, ConversionObserver& observer) {
  store::Table courses(ktemp, "CURSOST.DBF");
  courses.Create(CursostFields());
  store::Table groups(ktemp, "GRUPOST.DBF");
  groups.Create(GrupostFields());

  courses.Open();
  WriteCourses(document, courses, ReadLevels(level_table), observer);
  groups.Open();
  WriteGroups(document, groups, ReadCourses(courses), observer);
  groups.Close();
  courses.Close();
}

}  // namespace zentrova::import
