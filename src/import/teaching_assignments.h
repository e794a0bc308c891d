#ifndef ZENTROVA_IMPORT_TEACHING_ASSIGNMENTS_H_
#define ZENTROVA_IMPORT_TEACHING_ASSIGNMENTS_H_

// The teaching assignments converter: MATERIAS, with the ASIGNOMT and GRUPOST this run wrote,
// becomes ASIGT.

#include <filesystem>
#include <vector>

#include "import/conversion_observer.h"
#include "store/table.h"
#include "xml/document.h"

namespace zentrova::import {

// ASIGT's fields in their stored order (CASIG, CPROF, CGRUP, CAULA, TURNO, NIVEL, CURSO, GRUPO,
// HORAS, SESIONES, NCONEX, CLAVE, CLAVECURSO, CTAREA).
const std::vector<store::FieldDef>& AsigtFields();

// Re-creates ASIGT: for each record of MATERIAS whose subject is found by name in ASIGNOMT,
// one row per group of GRUPOST that belongs to the subject's course, four weekly hours each.
// ASIGNOMT and GRUPOST are read through the main window's components, opened exclusively.
// `observer` hears what it does.
void ImportTeachingAssignments(const xml::Document& document, const std::filesystem::path& ktemp,
                               store::Table& subjects, store::Table& groups,
                               ConversionObserver& observer = IgnoreConversion());

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_TEACHING_ASSIGNMENTS_H_
