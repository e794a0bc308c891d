#ifndef ZENTROVA_TESTS_IMPORT_VETRANA_TO_ORBELIN_FIXTURE_H_
#define ZENTROVA_TESTS_IMPORT_VETRANA_TO_ORBELIN_FIXTURE_H_

// Direction one (Vetrana to Orbelin): small exports written inline, the converters run on
// them, and the tables they leave read back.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "import/level_table.h"
#include "store/table.h"
#include "support/temp_folder.h"
#include "xml/document.h"

namespace zentrova::testing {

// One data group: its name and its records, each a list of `dato` texts (UTF-8).
struct GroupData {
  std::string seq;
  std::vector<std::vector<std::string>> records;
};

// A UTF-8 export with these groups inside /SERVICIO/BLOQUE_DATOS.
std::string BuildExport(const std::vector<GroupData>& groups);

// Rows of a table as AsText gives them, the named fields of each row in record order.
using Rows = std::vector<std::vector<std::u16string>>;
Rows ReadRows(const std::filesystem::path& folder, const std::string& table,
              const std::vector<std::string>& fields);

// Level tables are written as the program writes them.
using import::LevelRow;
using import::WriteLevelTable;

class ConverterTest : public ::testing::Test {
 protected:
  // Writes the export into the temporary folder and loads it.
  const xml::Document& Load(const std::vector<GroupData>& groups);
  Rows Read(const std::string& table, const std::vector<std::string>& fields) const {
    return ReadRows(ktemp(), table, fields);
  }
  std::filesystem::path ktemp() const { return folder_.path(); }
  std::filesystem::path export_file() const { return folder_ / "export.xml"; }

 private:
  TempFolder folder_;
  std::unique_ptr<xml::Document> document_;
};

}  // namespace zentrova::testing

#endif  // ZENTROVA_TESTS_IMPORT_VETRANA_TO_ORBELIN_FIXTURE_H_
