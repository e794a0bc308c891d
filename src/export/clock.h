#ifndef ZENTROVA_EXPORT_CLOCK_H_
#define ZENTROVA_EXPORT_CLOCK_H_

// Clock texts of the week grid (DIASHORAST) as the minutes the platform's document carries.

#include <string>

namespace zentrova::timetable_export {

// Minutes after midnight of a clock text as DIASHORAST keeps it ("08:15" gives "495"), as
// decimal text. A text shorter than five characters gets one "0" in front ("8:15" and "08:15"
// are the same time, "" gives "0"); the hours are then its first two characters and the
// minutes its last two. Raises text::ConversionError, naming those two characters, when
// either part is not a whole decimal number.
std::u16string ClockToMinutes(std::u16string clock);

}  // namespace zentrova::timetable_export

#endif  // ZENTROVA_EXPORT_CLOCK_H_
