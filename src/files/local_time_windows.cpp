// Local time on Windows: localtime_s, whose arguments come in the other order than POSIX's
// localtime_r.

#include "files/local_time.h"

namespace zentrova::files {

std::tm LocalTime(std::chrono::system_clock::time_point moment) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
  std::tm local{};
  localtime_s(&local, &seconds);
  return local;
}

}  // namespace zentrova::files
