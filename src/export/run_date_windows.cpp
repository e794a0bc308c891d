// The run's date on Windows.
//
// Traps of this system:
// - The user's regional formats are not the C library's locale: only GetDateFormatEx and
//   GetTimeFormatEx with LOCALE_NAME_USER_DEFAULT follow what the user chose in the settings.
// - Those take a SYSTEMTIME in local time; the moment is converted through FILETIME, which
//   counts from 1601, and the time zone's rules for that very date.
// - Their lengths count the closing null.

#include <windows.h>

#include "export/run_date.h"

namespace zentrova::timetable_export {
namespace {

SYSTEMTIME LocalTime(std::chrono::system_clock::time_point moment) {
  // FILETIME counts 100-nanosecond intervals from 1 January 1601, UTC.
  using Ticks = std::chrono::duration<long long, std::ratio<1, 10000000>>;
  constexpr long long kFrom1601To1970 = 116444736000000000LL;
  ULARGE_INTEGER ticks;
  ticks.QuadPart = static_cast<ULONGLONG>(
      std::chrono::duration_cast<Ticks>(moment.time_since_epoch()).count() + kFrom1601To1970);
  FILETIME utc_file_time{ticks.LowPart, ticks.HighPart};
  SYSTEMTIME utc{};
  SYSTEMTIME local{};
  FileTimeToSystemTime(&utc_file_time, &utc);
  SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
  return local;
}

std::u16string WideText(const wchar_t* text, int length_with_null) {
  if (length_with_null <= 1) return std::u16string();
  return std::u16string(reinterpret_cast<const char16_t*>(text), length_with_null - 1);
}

}  // namespace

std::u16string RunDateText(std::chrono::system_clock::time_point moment) {
  const SYSTEMTIME local = LocalTime(moment);
  wchar_t date[128];
  wchar_t time[128];
  const int date_length = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr,
                                          date, 128, nullptr);
  const int time_length = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &local, nullptr, time, 128);
  return WideText(date, date_length) + u" " + WideText(time, time_length);
}

}  // namespace zentrova::timetable_export
