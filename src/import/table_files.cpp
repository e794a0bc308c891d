#include "import/table_files.h"

#include <string>

#include "store/table.h"

namespace zentrova::import {

void DeleteTableFiles(const std::filesystem::path& ktemp, std::string_view base) {
  store::DeleteIfExists(ktemp, std::string(base) + ".DBF");
  store::DeleteIfExists(ktemp, std::string(base) + ".MDX");
}

}  // namespace zentrova::import
