// zentrova-cli tabla and nivelex, run as built, on tables from python3-dbf and on the
// NIVELEX.DBF the build makes.

#include <gtest/gtest.h>

#include "support/bundled_files.h"
#include "support/python.h"
#include "support/sanitizers.h"
#include "support/temp_folder.h"

namespace zentrova::cli {
namespace {

using testing::kCli;
using testing::RunCommand;
using testing::RunPython;
using testing::ShellQuote;
using testing::TempFolder;

testing::CommandResult Cli(const std::string& arguments) {
  return RunCommand(ShellQuote(kCli) + " " + arguments);
}

void MakeStaffTable(const std::filesystem::path& path) {
  const auto made = RunPython(R"(
import sys, dbf
t = dbf.Table(sys.argv[1], 'NOMBRE C(20); HORAS N(5,1); ACTIVO L', dbf_type='db3',
              codepage='cp1252')
t.open(dbf.READ_WRITE)
t.append(('Peña "Ñu"', 4, True))
t.append(('Tab\there', None, False))
t.close()
)",
                              {path.string()});
  ASSERT_EQ(made.exit_code, 0) << made.err;
}

TEST(TablaTest, PrintsFieldsAndRows) {
  TempFolder folder;
  MakeStaffTable(folder / "staff.dbf");
  const auto result = Cli("tabla " + ShellQuote((folder / "STAFF.DBF").string()));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, (folder / "STAFF.DBF").string() +
                            ": 3 campos, 2 filas\n"
                            "NOMBRE C 20 0\nHORAS N 5 1\nACTIVO L 1 0\n\n"
                            "NOMBRE\tHORAS\tACTIVO\n"
                            "Peña \"Ñu\"\t4\tT\n"
                            "Tab\there\t\tF\n");
}

TEST(TablaTest, JsonIsValidUtf8Json) {
  TempFolder folder;
  MakeStaffTable(folder / "STAFF.DBF");
  const auto result = Cli("tabla --json " + ShellQuote((folder / "STAFF.DBF").string()));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  testing::WriteFile(folder / "out.json", result.out);
  const auto parsed = RunPython(R"(
import sys, json
d = json.load(open(sys.argv[1], encoding='utf-8'))
print(d['fields'])
print(d['rows'])
)",
                                {(folder / "out.json").string()});
  ASSERT_EQ(parsed.exit_code, 0) << parsed.err << result.out;
  EXPECT_EQ(parsed.out,
            "[{'name': 'NOMBRE', 'type': 'C', 'width': 20, 'decimals': 0}, "
            "{'name': 'HORAS', 'type': 'N', 'width': 5, 'decimals': 1}, "
            "{'name': 'ACTIVO', 'type': 'L', 'width': 1, 'decimals': 0}]\n"
            "[['Peña \"Ñu\"', '4', 'T'], ['Tab\\there', '', 'F']]\n");
}

TEST(TablaTest, ShowsTheBuiltLevelTable) {
  const auto result =
      Cli(std::string("tabla --json ") + ShellQuote(ZENTROVA_BIN_DIR) + "/NIVELEX.DBF");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_NE(result.out.find("{\"name\":\"X_OFERTAMATRIG\",\"type\":\"I\",\"width\":4"),
            std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("[\"305\",\"ESO\",\"1º de Educación Secundaria Obligatoria\"]"),
            std::string::npos)
      << result.out;
}

TEST(TablaTest, MissingTableEndsWithTheStoreMessage) {
  TempFolder folder;
  const auto result = Cli("tabla " + ShellQuote((folder / "NADA.DBF").string()));
  EXPECT_EQ(result.exit_code, 3);
  EXPECT_EQ(result.err, "No existe la tabla " + (folder / "NADA.DBF").string() + ".\n");
  EXPECT_EQ(result.out, "");
}

// A level-7 table names its code page by the language driver; a name that names none ends
// the run with a message, never with an abort.
TEST(TablaTest, UnknownLanguageDriverEndsWithAMessage) {
  TempFolder folder;
  std::string table = testing::ReadFile(std::string(ZENTROVA_BIN_DIR) + "/NIVELEX.DBF");
  ASSERT_EQ(table.substr(32, 9), std::string("DBWINUS0\0", 9));
  const std::string name = "DB12345678901234567890US0";
  table.replace(32, name.size(), name);
  testing::WriteFile(folder / "NIVELEX.DBF", table);
  const auto result = Cli("tabla " + ShellQuote((folder / "NIVELEX.DBF").string()));
  EXPECT_EQ(result.exit_code, 3);
  EXPECT_EQ(result.err, "La tabla " + (folder / "NIVELEX.DBF").string() +
                            " usa el controlador de idioma 'DB12345678901234567890US0', que no "
                            "corresponde a ninguna página de códigos conocida: no se puede leer "
                            "su texto.\n");
  EXPECT_EQ(result.out, "");
}

// A file read whole that does not fit in the memory the run may use: a sparse file of 3 GiB
// under a 1 GiB limit of address space.
// A dBASE III table of one 100-character field whose header announces `records` records, and
// a file as long as they need (sparse: the records are never written).
void WriteTableAnnouncing(const std::filesystem::path& file, uint32_t records) {
  std::string header(65, '\0');
  header[0] = 0x03;
  for (int i = 0; i < 4; ++i) header[4 + i] = static_cast<char>(records >> (8 * i));
  header[8] = 65;    // header length
  header[10] = 101;  // record length: the deletion flag and the field
  header[32] = 'X';
  header[43] = 'C';
  header[48] = 100;
  header[64] = 0x0D;
  testing::WriteFile(file, header);
  std::filesystem::resize_file(file, 65 + std::uintmax_t{101} * records);
}

TEST(TablaTest, ATableTooLargeForMemoryEndsWithAMessage) {
  if (testing::kAddressSanitizer) GTEST_SKIP() << testing::kNoOutOfMemoryUnderAddressSanitizer;
  TempFolder folder;
  WriteTableAnnouncing(folder / "GRANDE.DBF", 30'000'000);
  const auto result = RunCommand("(ulimit -v 1048576 && " + ShellQuote(kCli) + " tabla " +
                                 ShellQuote((folder / "GRANDE.DBF").string()) + ")");
  EXPECT_EQ(result.exit_code, 3);
  EXPECT_EQ(result.err, "La tabla " + (folder / "GRANDE.DBF").string() +
                            " es demasiado grande para la memoria disponible.\n");
}

// A file that is no table is refused from its header, before its records are read.
TEST(TablaTest, AHugeFileThatIsNoTableIsRefusedFromItsHeader) {
  TempFolder folder;
  testing::WriteFile(folder / "CEROS.DBF", "");
  std::filesystem::resize_file(folder / "CEROS.DBF", std::uintmax_t{3} << 30);
  const auto result =
      RunCommand(std::string("(") + (testing::kAddressSanitizer ? "" : "ulimit -v 1048576 && ") +
                 ShellQuote(kCli) + " tabla " + ShellQuote((folder / "CEROS.DBF").string()) + ")");
  EXPECT_EQ(result.exit_code, 3);
  EXPECT_EQ(result.err, "La tabla " + (folder / "CEROS.DBF").string() +
                            " no es una tabla dBASE que se pueda leer (versión 0x00).\n");
}

TEST(NivelexTest, BuildsTheLevelTableFromCommaSeparatedLines) {
  TempFolder folder;
  testing::WriteFile(folder / "niveles.csv",
                     "\xEF\xBB\xBF"
                     "410,BACH,\"1º de Bachillerato, Ciencias\"\r\n\r\n"
                     "305,ESO,1º de ESO\r\n");
  const auto made = Cli("nivelex " + ShellQuote((folder / "niveles.csv").string()) + " " +
                        ShellQuote((folder / "NIVELEX.DBF").string()));
  ASSERT_EQ(made.exit_code, 0) << made.err;
  const auto shown = Cli("tabla " + ShellQuote((folder / "NIVELEX.DBF").string()));
  EXPECT_NE(shown.out.find("410\tBACH\t1º de Bachillerato, Ciencias\n305\tESO\t1º de ESO\n"),
            std::string::npos)
      << shown.out;
}

TEST(NivelexTest, RefusesBadLines) {
  TempFolder folder;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"X;Y;Z\n30a;ESO;x\n", "línea 2: el código '30a' no es un número entero"},
      {"305;ESO\n", "línea 1: se esperaban 3 campos"},
      {"305;ESO;a\n305;ESO;b\n", "línea 2: el código 305 está repetido"},
      {"305;DEMASIADOLARGO;a\n", "línea 1: la abreviatura tiene más de 10 caracteres"},
      {"X;Y;Z\n", "no tiene ninguna oferta de cursos"},
  };
  for (const auto& [csv, message] : cases) {
    SCOPED_TRACE(csv);
    testing::WriteFile(folder / "n.csv", csv);
    const auto result = Cli("nivelex " + ShellQuote((folder / "n.csv").string()) + " " +
                            ShellQuote((folder / "N.DBF").string()));
    EXPECT_EQ(result.exit_code, 3);
    EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
  }
}

}  // namespace
}  // namespace zentrova::cli
