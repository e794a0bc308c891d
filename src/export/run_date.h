#ifndef ZENTROVA_EXPORT_RUN_DATE_H_
#define ZENTROVA_EXPORT_RUN_DATE_H_

// The `fecha` of a saved timetable: the moment of the run as the user's regional settings
// show it.

#include <chrono>
#include <functional>
#include <string>

namespace zentrova::timetable_export {

// Gives the moment of the run; the system clock outside tests.
using RunClock = std::function<std::chrono::system_clock::time_point()>;

// The local date of `moment` in the short date format, one space, and its local time in the
// long time format. On Windows the formats are the user's (GetDateFormatEx with
// DATE_SHORTDATE, GetTimeFormatEx); elsewhere they are those of the LC_TIME locale that the
// environment names (LC_ALL, else LC_TIME, else LANG; "C" when none). A locale the system
// has not generated gives Spain's formats, day first: "03/02/25 14:05:09".
std::u16string RunDateText(std::chrono::system_clock::time_point moment);

}  // namespace zentrova::timetable_export

#endif  // ZENTROVA_EXPORT_RUN_DATE_H_
