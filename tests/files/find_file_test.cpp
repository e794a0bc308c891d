// Files found without regard to letter case, reported by the name the folder holds.

#include "files/find_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "text/encoding.h"

namespace zentrova::files {
namespace {

using testing::TempFolder;
using testing::WriteFile;

TEST(FindFileTest, FindIgnoringCaseGivesTheNameOnDisk) {
  struct Case {
    std::string on_disk;  // UTF-8
    std::string asked;
    std::string found;
  };
  const std::vector<Case> cases = {
      {"proft.dbf", "PROFT.DBF", "proft.dbf"},
      {"PROFT.DBF", "PROFT.DBF", "PROFT.DBF"},
      {"Año 2024.dbf", "AñO 2024.DBF", "Año 2024.dbf"},
      {"AULAT.DBF", "PROFT.DBF", "PROFT.DBF"},  // none: the name as asked
  };
  for (const Case& c : cases) {
    TempFolder folder;
    WriteFile(folder.path() / text::PathFromUtf8(c.on_disk), "x");
    const std::filesystem::path found = FindIgnoringCase(folder.path(), c.asked);
    EXPECT_EQ(found.parent_path(), folder.path()) << c.asked;
    EXPECT_EQ(text::PathText(found.filename()), text::Utf8ToUtf16(c.found)) << c.asked;
  }
}

// Only where a folder can hold names that differ in case alone.
TEST(FindFileTest, AmongNamesDifferingInCaseTheExactOneThenTheSmallest) {
  TempFolder folder;
  for (const char* name : {"proft.dbf", "Proft.dbf", "PROFT.dbf"}) WriteFile(folder / name, "x");
  if (std::filesystem::directory_entry(folder / "PROFT.DBF").exists()) {
    GTEST_SKIP() << "the folder does not tell names apart by case";
  }
  EXPECT_EQ(FindIgnoringCase(folder.path(), "proft.dbf").filename(), "proft.dbf");
  EXPECT_EQ(FindIgnoringCase(folder.path(), "PROFT.DBF").filename(), "PROFT.dbf");
  EXPECT_EQ(FindIgnoringCase(folder.path(), "pROFT.DBF").filename(), "PROFT.dbf");
}

}  // namespace
}  // namespace zentrova::files
