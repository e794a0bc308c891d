#include "store/dbf_date.h"

#include <chrono>
#include <ctime>

#include "files/local_time.h"

namespace zentrova::store {

Date Today() {
  const std::tm local = files::LocalTime(std::chrono::system_clock::now());
  return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

void PutDate(std::string& bytes, size_t at, const Date& date) {
  bytes[at] = static_cast<char>(date.year - 1900);
  bytes[at + 1] = static_cast<char>(date.month);
  bytes[at + 2] = static_cast<char>(date.day);
}

}  // namespace zentrova::store
