// Local time on POSIX systems: localtime_r, since localtime() shares one result between
// threads.

#include "files/local_time.h"

namespace zentrova::files {

std::tm LocalTime(std::chrono::system_clock::time_point moment) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
  std::tm local{};
  localtime_r(&seconds, &local);
  return local;
}

}  // namespace zentrova::files
