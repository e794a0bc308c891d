#ifndef ZENTROVA_EXPORT_TEACHER_TIMETABLES_H_
#define ZENTROVA_EXPORT_TEACHER_TIMETABLES_H_

// One regular timetable per teacher, in PROFT record order: a group
// seq="HORARIO_REGULAR_PROFESOR_<n>" (n counts every PROFT record from 1) whose `registros`
// is the number of the teacher's SOLUC rows with a day (DIA not 0), the values X_EMPLEADO and
// F_TOMAPOS of the PROFT record, then one activity per such row, in SOLUC record order,
// numbered from 1 in every group.

#include <functional>

#include "export/lookups.h"
#include "export/period.h"
#include "export/solution_table.h"
#include "export/timetable_observer.h"
#include "store/table.h"
#include "xml/document.h"

namespace zentrova::timetable_export {

// Appends the teacher groups to `timetables` (the HORARIOS_REGULARES group), telling
// `observer` what it writes and handing each group to `completed`, when given, as soon as it
// is complete (a run that saves as it builds writes it out there and drops it). `proft` must
// be open; a teacher's rows are those whose PROF reads exactly as its ABREV. Errors of the
// table store, the document and the conversions pass through.
void WriteTeacherTimetables(xml::Node timetables, store::Table& proft, SolutionTable& soluc,
                            Lookups& lookups, const Period& period,
                            TimetableObserver& observer = IgnoreTimetable(),
                            const std::function<void(xml::Node)>& completed = {});

}  // namespace zentrova::timetable_export

#endif  // ZENTROVA_EXPORT_TEACHER_TIMETABLES_H_
