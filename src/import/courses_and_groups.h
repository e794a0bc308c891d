#ifndef ZENTROVA_IMPORT_COURSES_AND_GROUPS_H_
#define ZENTROVA_IMPORT_COURSES_AND_GROUPS_H_

// The courses and groups converter: CURSOS_DEL_CENTRO becomes CURSOST and UNIDADES becomes
// GRUPOST, with the level table giving each course its level and study.

#include <filesystem>
#include <vector>

#include "import/conversion_observer.h"
#include "store/table.h"
#include "xml/document.h"

namespace zentrova::import {

// CURSOST's fields in their stored order (ABREV, TURNO, NIVEL, CURSO, CLAVE, ESTUD).
const std::vector<store::FieldDef>& CursostFields();
// GRUPOST's fields in their stored order (ABREV, TURNO, NIVEL, CURSO, GRUPO, DESCRIP, MARCO,
// CLAVE, CLAVECURSO).
const std::vector<store::FieldDef>& GrupostFields();

// Re-creates CURSOST from CURSOS_DEL_CENTRO, with level and study looked up in the level
// table (opened shared through `level_table`), and GRUPOST from UNIDADES, each group taking
// its course's level, course letter and study and a group code made unique without regard
// to letter case. A course code that is not a whole number raises text::ConversionError.
// `observer` hears what it does.
void ImportCoursesAndGroups(const xml::Document& document, const std::filesystem::path& ktemp,
                            store::Table& level_table,
                            ConversionObserver& observer = IgnoreConversion());

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_COURSES_AND_GROUPS_H_
