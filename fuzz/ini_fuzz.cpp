// Arbitrary bytes as Orbelin.ini, given the result code as batch mode gives it. What must
// hold: no crash or undefined behaviour, and setting the same value again changes nothing
// (the key is found again in whatever encoding the file was kept in).

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/private_profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const std::string once =
      zentrova::app::ProfileFileWithValue(file, "Transformadores", "Transformado", "1");
  // A file of one byte may become one whose first two bytes read as UTF-16.
  if (size >= 2 &&
      zentrova::app::ProfileFileWithValue(once, "Transformadores", "Transformado", "1") != once) {
    std::abort();
  }
  return 0;
}
