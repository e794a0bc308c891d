#ifndef ZENTROVA_EXPORT_TIMETABLE_OBSERVER_H_
#define ZENTROVA_EXPORT_TIMETABLE_OBSERVER_H_

// What the timetable export does with the rows of SOLUC, told as it does it: each teacher's
// timetable, each lesson written, each look-up that finds nothing, and at the end every row
// read. A run ignores it (IgnoreTimetable); a report collects it. The export reports; it never
// asks the observer anything.

#include <cstddef>
#include <string>

#include "export/solution_table.h"
#include "store/table.h"

namespace zentrova::timetable_export {

class TimetableObserver {
 public:
  virtual ~TimetableObserver() = default;

  // The timetable of teacher `number` (from 1, the PROFT record `proft` stands on, whose ABREV
  // is `code`) is written with `lessons` lessons.
  virtual void TeacherWritten(const store::Table& /*proft*/, int /*number*/,
                              const std::u16string& /*code*/, size_t /*lessons*/) {}
  // A lesson of `row` is written into the timetable of teacher `number`.
  virtual void LessonWritten(const SolutionRow& /*row*/, int /*number*/) {}
  // The look-ups of a lesson being written that find nothing: no DIASHORAST record for its
  // slot key and frame mark; no GRUPOST record for its CODGRUPO; no ASIGT record for its ASIG
  // and CODGRUPO.
  virtual void SlotNotFound(const SolutionRow& /*row*/) {}
  virtual void UnitNotFound(const SolutionRow& /*row*/) {}
  virtual void AssignmentNotFound(const SolutionRow& /*row*/) {}
  // Every teacher's timetable is written; `soluc` gives every row it read.
  virtual void TimetablesWritten(SolutionTable& /*soluc*/) {}
};

// The observer of a run: it ignores everything.
TimetableObserver& IgnoreTimetable();

}  // namespace zentrova::timetable_export

#endif  // ZENTROVA_EXPORT_TIMETABLE_OBSERVER_H_
