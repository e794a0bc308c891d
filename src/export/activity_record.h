#ifndef ZENTROVA_EXPORT_ACTIVITY_RECORD_H_
#define ZENTROVA_EXPORT_ACTIVITY_RECORD_H_

// One timetabled SOLUC row as an activity of a teacher's timetable: a group
// seq="ACTIVIDAD_<n>" of eleven `dato`, always all eleven and in this order: N_DIASEMANA,
// X_TRAMO, X_DEPENDENCIA, X_UNIDAD, X_OFERTAMATRIG, X_MATERIAOMG, F_INICIO, F_FIN, N_HORINI,
// N_HORFIN, X_ACTIVIDAD. A look-up that finds nothing gives empty values (times "0",
// activity "1"); nothing is carried over from an earlier activity.

#include "export/lookups.h"
#include "export/period.h"
#include "export/solution_table.h"
#include "export/timetable_observer.h"
#include "xml/document.h"

namespace zentrova::timetable_export {

// Appends the activity `activity_number` for `row` to `teacher_group`; `observer` hears of
// the look-ups that find nothing (the activity code aside, which has its own way out). Raises
// the table store's conversion error for a HORA that is not a whole number, and
// text::ConversionError for a slot time ClockToMinutes cannot read.
void WriteActivityRecord(xml::Node teacher_group, int activity_number, const SolutionRow& row,
                         Lookups& lookups, const Period& period,
                         TimetableObserver& observer = IgnoreTimetable());

// The key of a row's slot in DIASHORAST: DIA as text followed by HORA in decimal ("2" and 5
// give "25").
std::u16string SlotKey(const SolutionRow& row);

// The first character of the row's MARCO, empty when MARCO is.
std::u16string FrameMark(const SolutionRow& row);

}  // namespace zentrova::timetable_export

#endif  // ZENTROVA_EXPORT_ACTIVITY_RECORD_H_
