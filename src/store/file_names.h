#ifndef ZENTROVA_STORE_FILE_NAMES_H_
#define ZENTROVA_STORE_FILE_NAMES_H_

// Names of a table's files.

#include <string>
#include <string_view>

namespace zentrova::store {

// "PROFT.DBF" -> "PROFT"; a name without an extension stays as it is.
std::string BaseName(std::string_view file_name);

// The production index beside a table: "PROFT.DBF" -> "PROFT.MDX".
std::string IndexFileName(std::string_view table_file_name);

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_FILE_NAMES_H_
