#ifndef ZENTROVA_IMPORT_PREFLIGHT_H_
#define ZENTROVA_IMPORT_PREFLIGHT_H_

// Checks made before a conversion deletes any table: an export the converters would stop
// on half-way is refused while the exchange folder is still as it was. Each check looks at
// exactly the values the converters read, after the same trimming and padding; records they
// skip are not checked.

#include <filesystem>
#include <optional>
#include <string>

#include "import/time_frames.h"
#include "xml/document.h"

namespace zentrova::import {

// What every stop of the first direction before its tables are moved in ends with.
inline constexpr char16_t kNothingChanged[] = u"No se ha modificado ninguna tabla.";

// The envelope, the time frames and the course codes. A message for the user when the
// export cannot be converted; nothing when it can.
std::optional<std::u16string> CheckExport(const xml::Document& document,
                                          const xml::LoadResult& load,
                                          const std::filesystem::path& file);

// The start and end of every slot of the chosen frames.
std::optional<std::u16string> CheckTimeSlots(const xml::Document& document,
                                             const ChosenFrames& frames,
                                             const std::filesystem::path& file);

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_PREFLIGHT_H_
