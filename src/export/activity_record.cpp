#include "export/activity_record.h"

#include "export/clock.h"
#include "export/timetable_document.h"
#include "text/clipper.h"
#include "text/integer.h"

namespace zentrova::timetable_export {
std::u16string SlotKey(const SolutionRow& row) {
  return row.dia_text + text::IntegerText(row.hora.Get());
}

std::u16string FrameMark(const SolutionRow& row) { return text::LeftChars(row.marco, 1); }

void WriteActivityRecord(xml::Node teacher_group, int activity_number, const SolutionRow& row,
                         Lookups& lookups, const Period& period, TimetableObserver& observer) {
  xml::Node activity = teacher_group.AppendElement(u"grupo_datos");
  activity.SetAttribute(u"seq", u"ACTIVIDAD_" + text::IntegerText(activity_number));

  AssignmentCodes assignment;
  if (const AssignmentCodes* found = lookups.Assignment(row.asig, row.codgrupo)) {
    assignment = *found;
  } else {
    observer.AssignmentNotFound(row);
  }
  // Texts come from the table store without their trailing blanks: a blank one is empty.
  std::u16string tarea = row.tarea;
  if (tarea.empty()) {
    if (const std::u16string* code = lookups.ActivityCode(row.asig)) tarea = *code;
  }
  SlotValues slot;
  if (const SlotValues* found = lookups.Slot(SlotKey(row), FrameMark(row))) {
    slot = *found;
  } else {
    observer.SlotNotFound(row);
  }

  AppendValue(activity, u"N_DIASEMANA", slot.day);
  AppendValue(activity, u"X_TRAMO", slot.slot_code);
  AppendValue(activity, u"X_DEPENDENCIA", row.aula);
  const std::u16string* unit = lookups.Unit(row.codgrupo);
  if (unit == nullptr) observer.UnitNotFound(row);
  AppendValue(activity, u"X_UNIDAD", unit ? *unit : std::u16string());
  AppendValue(activity, u"X_OFERTAMATRIG", assignment.course_code);
  AppendValue(activity, u"X_MATERIAOMG", assignment.subject_code);
  AppendValue(activity, u"F_INICIO", period.start);
  AppendValue(activity, u"F_FIN", period.end);
  AppendValue(activity, u"N_HORINI", ClockToMinutes(slot.start_time));
  AppendValue(activity, u"N_HORFIN", ClockToMinutes(slot.end_time));
  AppendValue(activity, u"X_ACTIVIDAD", tarea.empty() ? u"1" : tarea);
}

}  // namespace zentrova::timetable_export
