#include "import/courses_and_groups.h"

#include <unordered_map>

#include "import/code_list.h"
#include "import/exchange_document.h"
#include "import/level_table.h"
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
                  const std::unordered_map<int32_t, Level>& levels) {
  for (const Record& record : ReadGroup(document, kCursosDelCentro)) {
    if (!record.HasTwoValues()) continue;
    const std::u16string code = record.Value(0);
    const std::u16string name = record.Value(1);
    const auto found = levels.find(text::ParseInteger(code));
    Level level = found != levels.end() ? found->second : Level{u"Niv", name};
    if (level.abbreviation.empty()) level.abbreviation = u"Niv";
    courses.Append();
    courses.SetText("NIVEL", level.abbreviation);
    courses.SetText("CURSO", text::LeftChars(name, 1));
    courses.SetText("CLAVE", code);
    courses.SetText("ESTUD", level.study);
    courses.Post();
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
                 const std::unordered_map<std::u16string, Course>& courses) {
  CodeList codes(CodeList::Comparison::kIgnoringCase);
  for (const Record& record : ReadGroup(document, kUnidades)) {
    if (!record.HasTwoValues()) continue;
    const std::u16string group_code = record.Value(0);
    const std::u16string name = record.Value(1);
    const std::u16string course_code = record.Value(2);
    const auto found = courses.find(course_code);
    const Course course = found != courses.end() ? found->second : Course{};
    const std::u16string letter = text::RightChars(name, 1);
    // Uniqueness looks at the whole name; the code is shortened afterwards in every case.
    const std::u16string code = FirstEightLastTwo(codes.MakeUnique(name));
    codes.Add(code);
    const std::u16string description =
        !course.study.empty() ? course.study
                              : u" " + course.level + u" " + course.letter + u" " + letter;
    groups.Append();
    groups.SetText("ABREV", code);
    groups.SetText("NIVEL", course.level);
    groups.SetText("CURSO", course.letter);
    groups.SetText("GRUPO", letter);
    groups.SetText("DESCRIP", description);
    groups.SetText("MARCO", u"0");
    groups.SetText("CLAVE", group_code);
    groups.SetText("CLAVECURSO", course_code);
    groups.Post();
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
                            store::Table& level_table) {
  store::Table courses(ktemp, "CURSOST.DBF");
  courses.Create(CursostFields());
  store::Table groups(ktemp, "GRUPOST.DBF");
  groups.Create(GrupostFields());

  courses.Open();
  WriteCourses(document, courses, ReadLevels(level_table));
  groups.Open();
  WriteGroups(document, groups, ReadCourses(courses));
  groups.Close();
  courses.Close();
}

}  // namespace zentrova::import
