#ifndef ZENTROVA_IMPORT_STAFF_H_
#define ZENTROVA_IMPORT_STAFF_H_

// The staff converter: EMPLEADOS of the export becomes PROFT.

#include <filesystem>
#include <vector>

#include "import/conversion_observer.h"
#include "store/table.h"
#include "xml/document.h"

namespace zentrova::import {

// PROFT's fields in their stored order (ABREV, NOMBRE, DEPART, EMAIL, DNI, X_EMPLEADO,
// F_TOMAPOS).
const std::vector<store::FieldDef>& ProftFields();

// Re-creates PROFT with one row per record of EMPLEADOS: the teacher's code is the initials
// of the three parts of the name, made unique without regard to letter case. `observer` hears
// what it does.
void ImportStaff(const xml::Document& document, const std::filesystem::path& ktemp,
                 ConversionObserver& observer = IgnoreConversion());

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_STAFF_H_
