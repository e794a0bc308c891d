#ifndef ZENTROVA_STORE_DBF_DATE_H_
#define ZENTROVA_STORE_DBF_DATE_H_

// The date a table's header or an index stores as the day it was last changed.

#include <string>

namespace zentrova::store {

struct Date {
  int year = 1900;
  int month = 1;
  int day = 1;
};

// The local date of now.
Date Today();

// The three bytes a table or an index stores a date in (year - 1900, month, day), at `at`.
// Requires: `bytes` holds at least at + 3 bytes.
void PutDate(std::string& bytes, size_t at, const Date& date);

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_DBF_DATE_H_
