#ifndef ZENTROVA_IMPORT_CONVERSION_H_
#define ZENTROVA_IMPORT_CONVERSION_H_

// The seven converters of the first direction, in their order, on one loaded export.

#include <filesystem>

#include "import/conversion_observer.h"
#include "import/subjects.h"
#include "import/time_frames.h"
#include "xml/document.h"

namespace zentrova::import {

// Writes the nine tables into `folder` (the converters read back what they wrote there),
// with the level table `level_table` and the chosen `frames`; `lists` are the subjects'
// lists, made fresh here. Errors pass to the caller: tables written before stay.
void ConvertExport(const xml::Document& document, const std::filesystem::path& folder,
                   const std::filesystem::path& level_table, const ChosenFrames& frames,
                   SubjectLists& lists, ConversionObserver& observer = IgnoreConversion());

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_CONVERSION_H_
