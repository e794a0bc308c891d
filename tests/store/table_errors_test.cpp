// Failures name the file and the cause in Spanish.

#include <gtest/gtest.h>

#include <fstream>

#include "store/table.h"
#include "support/temp_folder.h"

namespace zentrova::store {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

std::string OpenError(const std::filesystem::path& folder, const std::string& name) {
  Table table(folder, name);
  try {
    table.Open();
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

std::string GoodTable(const TempFolder& folder) {
  Table table(folder.path(), "T.DBF");
  table.Create({{"A", FieldKind::kText, 5}, {"B", FieldKind::kWholeNumber}});
  table.Open();
  for (int i = 0; i < 3; ++i) {
    table.Append();
    table.SetInteger("B", i);
    table.Post();
  }
  table.Close();
  return ReadFile(folder / "T.DBF");
}

TEST(TableErrorsTest, CorruptAndTruncatedFiles) {
  TempFolder folder;
  const std::string good = GoodTable(folder);
  const size_t header = 32 + 2 * 32 + 1;
  struct Case {
    std::string bytes;
    std::string cause;
  };
  std::string wrong_record_length = good;
  wrong_record_length[10] = 20;
  std::string short_header_length = good;
  short_header_length[8] = 40;
  std::string bad_version = good;
  bad_version[0] = 0x02;
  std::string no_fields = good;
  no_fields[32] = 0x0D;
  const std::vector<Case> cases = {
      {good.substr(0, header + 2 * 17), "está truncada"},
      {good.substr(0, 20), "está dañada"},
      {"", "está dañada"},
      {wrong_record_length, "longitud de registro"},
      {short_header_length, "está dañada"},
      {bad_version, "no es una tabla dBASE"},
      {no_fields, "no tiene campos"},
  };
  for (const Case& c : cases) {
    WriteFile(folder / "T.DBF", c.bytes);
    const std::string message = OpenError(folder.path(), "T.DBF");
    EXPECT_NE(message.find((folder / "T.DBF").string()), std::string::npos) << message;
    EXPECT_NE(message.find(c.cause), std::string::npos) << message;
  }
}

TEST(TableErrorsTest, MissingFilesAndFolders) {
  TempFolder folder;
  EXPECT_EQ(OpenError(folder.path(), "NADA.DBF"),
            "No existe la tabla " + (folder / "NADA.DBF").string() + ".");
  const auto missing = folder / "KTEMP";
  EXPECT_EQ(OpenError(missing, "NADA.DBF"), "No se puede abrir la tabla " +
                                                (missing / "NADA.DBF").string() +
                                                ": no existe la carpeta " + missing.string() + ".");
  Table table(missing, "PROFT.DBF");
  try {
    table.Create({{"A", FieldKind::kText, 1}});
    FAIL() << "created in a missing folder";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "No se puede crear la tabla " +
                                         (missing / "PROFT.DBF").string() +
                                         ": no existe la carpeta " + missing.string() + ".");
  }
}

TEST(TableErrorsTest, ReadOnlyTableOpensButRefusesWrites) {
#ifndef _WIN32
  if (geteuid() == 0) GTEST_SKIP() << "root ignores file permissions";
#endif
  TempFolder folder;
  GoodTable(folder);
  std::filesystem::permissions(folder / "T.DBF", std::filesystem::perms::owner_read);
#ifdef _WIN32
  // Wine keeps the read-only attribute as the Linux permissions, which root ignores.
  if (std::ofstream(folder / "T.DBF", std::ios::app)) {
    std::filesystem::permissions(folder / "T.DBF", std::filesystem::perms::owner_all);
    GTEST_SKIP() << "a read-only file can be written here (Wine run as root)";
  }
#endif
  Table table(folder.path(), "T.DBF");
  table.Open();
  EXPECT_EQ(table.RecordCount(), 3);
  table.Append();
  try {
    table.Post();
    FAIL() << "wrote a read-only table";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "No hay permiso para escribir en la tabla " + (folder / "T.DBF").string() + ".");
  }
#ifndef _WIN32
  // Windows' read-only attribute is all that perms can set there: a file stays readable.
  std::filesystem::permissions(folder / "T.DBF", std::filesystem::perms::none);
  Table other(folder.path(), "T.DBF");
  EXPECT_THROW(other.Open(), Error);
#else
  // Windows' read-only attribute would keep even the temporary folder's removal out.
  std::filesystem::permissions(folder / "T.DBF", std::filesystem::perms::owner_all);
#endif
}

}  // namespace
}  // namespace zentrova::store
