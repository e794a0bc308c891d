#ifndef ZENTROVA_IMPORT_ACTIVITIES_H_
#define ZENTROVA_IMPORT_ACTIVITIES_H_

// The activities converter: ACTIVIDADES of the export become task rows of ASIGNOMT.

#include <filesystem>

#include "import/subjects.h"
#include "xml/document.h"

namespace zentrova::import {

// Appends to ASIGNOMT one task row per record of ACTIVIDADES, with the platform's own code,
// then ends the life of the subjects' lists (they are emptied). `observer` hears what it does.
void ImportActivities(const xml::Document& document, const std::filesystem::path& ktemp,
                      SubjectLists& lists, ConversionObserver& observer = IgnoreConversion());

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_ACTIVITIES_H_
