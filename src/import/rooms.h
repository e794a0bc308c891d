#ifndef ZENTROVA_IMPORT_ROOMS_H_
#define ZENTROVA_IMPORT_ROOMS_H_

// The rooms converter: DEPENDENCIAS of the export becomes AULAT.

#include <filesystem>
#include <vector>

#include "import/conversion_observer.h"
#include "store/table.h"
#include "xml/document.h"

namespace zentrova::import {

// AULAT's fields in their stored order (ABREV, NOMBRE, EDIFICIO, MAXALUM, DEPCENTRO).
const std::vector<store::FieldDef>& AulatFields();

// Re-creates AULAT with one row per record of DEPENDENCIAS: the room's own code, or the
// first six characters of its name when it has none, made unique without regard to letter
// case and never shortened. `observer` hears what it does.
void ImportRooms(const xml::Document& document, const std::filesystem::path& ktemp,
                 ConversionObserver& observer = IgnoreConversion());

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_ROOMS_H_
