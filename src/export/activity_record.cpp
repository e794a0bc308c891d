#include "export/activity_record.h"

#include "export/clock.h"
#include "text/clipper.h"
#include "text/integer.h"

namespace zentrova::timetable_export {
namespace {

bool IsBlank(const std::u16string& value) { return text::AllTrim(value).empty(); }

void AppendValue(xml::Node& group, std::u16string_view name, std::u16string_view value) {
  xml::Node dato = group.AppendElement(u"dato");
  dato.SetAttribute(u"nombre_dato", name);
  dato.SetText(value);
}

}  // namespace

std::u16string SlotKey(const SolutionRow& row) {
  return row.dia_text + text::IntegerText(row.hora.Get());
}

std::u16string FrameMark(const SolutionRow& row) { return text::LeftChars(row.marco, 1); }

void WriteActivityRecord(xml::Node teacher_group, int activity_number, const SolutionRow& row,
                         Lookups& lookups, const Period& period) {
  xml::Node activity = teacher_group.AppendElement(u"grupo_datos");
  activity.SetAttribute(u"seq", u"ACTIVIDAD_" + text::IntegerText(activity_number));

  AssignmentCodes assignment;
  if (const AssignmentCodes* found = lookups.Assignment(row.asig, row.codgrupo)) {
    assignment = *found;
  }
  std::u16string tarea = row.tarea;
  if (IsBlank(tarea)) {
    if (const std::u16string* code = lookups.ActivityCode(row.asig)) tarea = *code;
  }
  SlotValues slot;
  if (const SlotValues* found = lookups.Slot(SlotKey(row), FrameMark(row))) slot = *found;

  AppendValue(activity, u"N_DIASEMANA", slot.day);
  AppendValue(activity, u"X_TRAMO", slot.slot_code);
  AppendValue(activity, u"X_DEPENDENCIA", IsBlank(row.aula) ? std::u16string() : row.aula);
  const std::u16string* unit = lookups.Unit(row.codgrupo);
  AppendValue(activity, u"X_UNIDAD", unit ? *unit : std::u16string());
  AppendValue(activity, u"X_OFERTAMATRIG", assignment.course_code);
  AppendValue(activity, u"X_MATERIAOMG", assignment.subject_code);
  AppendValue(activity, u"F_INICIO", period.start);
  AppendValue(activity, u"F_FIN", period.end);
  AppendValue(activity, u"N_HORINI", ClockToMinutes(slot.start_time));
  AppendValue(activity, u"N_HORFIN", ClockToMinutes(slot.end_time));
  AppendValue(activity, u"X_ACTIVIDAD", IsBlank(tarea) ? u"1" : tarea);
}

}  // namespace zentrova::timetable_export
