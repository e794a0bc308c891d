#include "export/timetable_report.h"

#include <algorithm>
#include <tuple>

#include "text/clipper.h"
#include "text/letter_case.h"

namespace zentrova::timetable_export {
namespace {

bool IsBlank(const std::u16string& text) { return text::AllTrim(text).empty(); }

// A code as a user would compare it by eye: without blanks and letter case.
std::u16string Loosely(const std::u16string& code) {
  std::u16string kept;
  for (char16_t c : code) {
    if (c != u' ') kept += c;
  }
  return text::FoldCase(kept);
}

// NOMBRE of the current record; PROFT written by another program may have no such field.
std::u16string NameOf(const store::Table& proft) {
  for (const store::FieldInfo& field : proft.Fields()) {
    if (text::EqualsIgnoringCaseAZ(field.name, "NOMBRE")) return proft.AsText("NOMBRE");
  }
  return {};
}

}  // namespace

void TimetableReport::TeacherWritten(const store::Table& proft, int number,
                                     const std::u16string& code, size_t lessons) {
  teachers_of_code_[code].push_back(teachers_.size());
  teachers_.push_back(TeacherRecord{number, code, NameOf(proft)});
  if (lessons == 0) ++teachers_without_lessons_;
}

void TimetableReport::LessonWritten(const SolutionRow&, int) { ++lessons_written_; }

void TimetableReport::SlotNotFound(const SolutionRow& row) { Add(FindingKind::kSlotNotFound, row); }

void TimetableReport::UnitNotFound(const SolutionRow& row) {
  // A lesson without a group (a task, a duty) has no unit to find.
  if (!IsBlank(row.codgrupo)) Add(FindingKind::kGroupNotFound, row);
}

void TimetableReport::AssignmentNotFound(const SolutionRow& row) {
  if (!IsBlank(row.codgrupo)) Add(FindingKind::kAssignmentNotFound, row);
}

void TimetableReport::TimetablesWritten(SolutionTable& soluc) {
  for (const SolutionRow* row : soluc.RowsInRecordOrder()) {
    ++rows_;
    const std::optional<int32_t> day = row->dia.Value();
    if (day == 0) {
      ++rows_without_day_;
      continue;
    }
    const auto teachers = teachers_of_code_.find(row->prof);
    if (teachers == teachers_of_code_.end()) {
      Add(FindingKind::kUnknownTeacher, *row, CloseTo(row->prof));
    } else if (teachers->second.size() > 1) {
      std::vector<TeacherRecord> repeated;
      for (size_t index : teachers->second) repeated.push_back(teachers_[index]);
      Add(FindingKind::kRepeatedTeacher, *row, std::move(repeated));
    }
  }
  std::stable_sort(findings_.begin(), findings_.end(),
                   [](const TimetableFinding& a, const TimetableFinding& b) {
                     return std::tie(a.row.record, a.kind) < std::tie(b.row.record, b.kind);
                   });
}

void TimetableReport::Add(FindingKind kind, const SolutionRow& row,
                          std::vector<TeacherRecord> teachers) {
  if (!found_.emplace(row.record, kind).second) return;
  findings_.push_back(TimetableFinding{kind, row, std::move(teachers)});
}

std::vector<TeacherRecord> TimetableReport::CloseTo(const std::u16string& code) const {
  const std::u16string loose = Loosely(code);
  for (const TeacherRecord& teacher : teachers_) {
    if (Loosely(teacher.code) == loose) return {teacher};
  }
  return {};
}

}  // namespace zentrova::timetable_export
