#include "export/teacher_timetables.h"

#include "export/activity_record.h"
#include "export/timetable_document.h"
#include "text/integer.h"

namespace zentrova::timetable_export {
void WriteTeacherTimetables(xml::Node timetables, store::Table& proft, SolutionTable& soluc,
                            Lookups& lookups, const Period& period, TimetableObserver& observer,
                            const std::function<void(xml::Node)>& completed) {
  int teacher_number = 0;
  for (proft.First(); !proft.Eof(); proft.Next()) {
    const std::u16string employee = proft.AsText("X_EMPLEADO");
    const std::u16string taking_post = proft.AsText("F_TOMAPOS");
    const std::u16string seq = u"HORARIO_REGULAR_PROFESOR_" + text::IntegerText(++teacher_number);
    const std::u16string code = proft.AsText("ABREV");
    const std::vector<SolutionRow>& rows = soluc.RowsOf(code);

    // The count reads every row's day before any activity is written, so a day that does
    // not convert stops the run at the same point as a count over the filtered table.
    long long activities = 0;
    for (const SolutionRow& row : rows) {
      if (row.dia.Get() != 0) ++activities;
    }
    xml::Node group = timetables.AppendElement(u"grupo_datos");
    group.SetAttribute(u"seq", seq);
    group.SetAttribute(u"registros", text::IntegerText(activities));
    AppendValue(group, u"X_EMPLEADO", employee);
    AppendValue(group, u"F_TOMAPOS", taking_post);
    observer.TeacherWritten(proft, teacher_number, code, static_cast<size_t>(activities));

    int activity_number = 1;
    for (const SolutionRow& row : rows) {
      if (row.dia.Get() == 0) continue;
      WriteActivityRecord(group, activity_number++, row, lookups, period, observer);
      observer.LessonWritten(row, teacher_number);
    }
    if (completed) completed(group);
  }
  observer.TimetablesWritten(soluc);
}

}  // namespace zentrova::timetable_export
