#ifndef ZENTROVA_FILES_LOCAL_TIME_H_
#define ZENTROVA_FILES_LOCAL_TIME_H_

// The calendar date and clock time of a moment in the system's time zone, as the dates of
// the files we write and the reports show them. Safe to call from any thread.

#include <chrono>
#include <ctime>

namespace zentrova::files {

// tm_year counts from 1900 and tm_mon from 0, as the C library's do.
std::tm LocalTime(std::chrono::system_clock::time_point moment);

}  // namespace zentrova::files

#endif  // ZENTROVA_FILES_LOCAL_TIME_H_
