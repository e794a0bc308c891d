#ifndef ZENTROVA_REPORT_TIMETABLE_FINDINGS_H_
#define ZENTROVA_REPORT_TIMETABLE_FINDINGS_H_

// What the second direction did with SOLUC (timetable_export::TimetableReport), in plain
// Spanish: the counts and a line per kind of finding, then the findings grouped by kind, each
// with its row's number (from 1) and values.

#include <string>
#include <utility>
#include <vector>

#include "export/timetable_report.h"

namespace zentrova::report {

// The word that names a kind of finding for programs: profesor_desconocido,
// profesor_repetido, tramo_no_encontrado, grupo_no_encontrado, asignacion_no_encontrada.
const char* FindingWord(timetable_export::FindingKind kind);

// The row's values as the export read them: PROF, DIA, HORA, MARCO, ASIG, CODGRUPO, TAREA,
// AULA, each with its field name (HORA as its number, or empty when it is not one).
std::vector<std::pair<std::string, std::u16string>> RowValues(
    const timetable_export::SolutionRow& row);

// The counts of SOLUC and of the document, then one line per kind of finding with its count.
std::vector<std::u16string> TimetableSummary(const timetable_export::TimetableReport& report);

// For each kind that has findings a blank line and its heading ("Profesor desconocido
// (profesor_desconocido): 2 filas"), then a line per finding indented by two ("Fila 17: ...").
std::vector<std::u16string> FindingLines(const timetable_export::TimetableReport& report);

}  // namespace zentrova::report

#endif  // ZENTROVA_REPORT_TIMETABLE_FINDINGS_H_
