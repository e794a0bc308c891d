#ifndef ZENTROVA_EXPORT_TIMETABLE_REPORT_H_
#define ZENTROVA_EXPORT_TIMETABLE_REPORT_H_

// What the timetable export did with SOLUC, collected from its observer: the counts of the
// table and of the document, and every finding about a row, that is, every lesson that is
// not written as the timetable has it:
//   - its teacher is unknown: the row has a day and its PROF is the ABREV of no PROFT record,
//     so the lesson is written into no timetable;
//   - its teacher is repeated: its PROF is the ABREV of two or more PROFT records, so the
//     lesson is written once for each;
//   - its slot is not found: no DIASHORAST record for its slot key and frame mark, so the
//     lesson goes out without day, slot code and times;
//   - its group is not found: its CODGRUPO is not blank and no GRUPOST record has it, so the
//     lesson has no unit code;
//   - its assignment is not found: its CODGRUPO is not blank and no ASIGT record has its ASIG
//     and CODGRUPO, so the lesson has no subject and course codes.
// A lesson written twice (a repeated teacher) gives each finding once.

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "export/solution_table.h"
#include "export/timetable_observer.h"

namespace zentrova::timetable_export {

enum class FindingKind {
  kUnknownTeacher,
  kRepeatedTeacher,
  kSlotNotFound,
  kGroupNotFound,
  kAssignmentNotFound,
};

// A PROFT record as a finding names it.
struct TeacherRecord {
  int number = 0;       // its number among PROFT's records, from 1: the document's teacher number
  std::u16string code;  // ABREV
  std::u16string name;  // NOMBRE, empty when the table has no such field
};

struct TimetableFinding {
  FindingKind kind = FindingKind::kUnknownTeacher;
  SolutionRow row;  // the row, as the export read it; row.record is its number
  // A repeated teacher: every PROFT record with the row's PROF. An unknown teacher: the first
  // PROFT record whose ABREV differs from PROF only in letter case or blanks, if there is one.
  std::vector<TeacherRecord> teachers;
};

class TimetableReport : public TimetableObserver {
 public:
  size_t rows() const { return rows_; }                          // SOLUC's rows
  size_t rows_without_day() const { return rows_without_day_; }  // DIA 0: never exported
  // Lessons written into the document, a repeated teacher's as often as they are written.
  size_t lessons_written() const { return lessons_written_; }
  size_t teachers_without_lessons() const { return teachers_without_lessons_; }
  // By row, a row's findings in the order of FindingKind.
  const std::vector<TimetableFinding>& findings() const { return findings_; }

  void TeacherWritten(const store::Table& proft, int number, const std::u16string& code,
                      size_t lessons) override;
  void LessonWritten(const SolutionRow& row, int number) override;
  void SlotNotFound(const SolutionRow& row) override;
  void UnitNotFound(const SolutionRow& row) override;
  void AssignmentNotFound(const SolutionRow& row) override;
  void TimetablesWritten(SolutionTable& soluc) override;

 private:
  void Add(FindingKind kind, const SolutionRow& row, std::vector<TeacherRecord> teachers = {});
  // The first teacher whose code differs from `code` only in letter case or blanks.
  std::vector<TeacherRecord> CloseTo(const std::u16string& code) const;

  size_t rows_ = 0;
  size_t rows_without_day_ = 0;
  size_t lessons_written_ = 0;
  size_t teachers_without_lessons_ = 0;
  std::vector<TimetableFinding> findings_;
  // PROFT in record order, and the teachers of each code.
  std::vector<TeacherRecord> teachers_;
  std::map<std::u16string, std::vector<size_t>> teachers_of_code_;
  // What was found already, by row and kind, so that a lesson written twice counts once.
  std::set<std::pair<size_t, FindingKind>> found_;
};

}  // namespace zentrova::timetable_export

#endif  // ZENTROVA_EXPORT_TIMETABLE_REPORT_H_
