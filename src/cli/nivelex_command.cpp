// zentrova-cli nivelex: builds the level table NIVELEX.DBF from a CSV file. The table is a
// dBASE level-7 table, because its field names are longer than ten characters.

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "app/paths.h"
#include "cli/commands.h"
#include "cli/console_host.h"
#include "files/file_error.h"
#include "files/find_file.h"
#include "files/input_file.h"
#include "import/level_table.h"
#include "store/table.h"
#include "text/clipper.h"
#include "text/encoding.h"
#include "text/integer.h"

namespace zentrova::cli {
namespace {

constexpr const char* kFormat =
    "El CSV está en UTF-8, con una línea por oferta de cursos: código de Vetrana (número "
    "entero), abreviatura del nivel (hasta 10 caracteres) y nombre del estudio (hasta 80), "
    "separados por ';' o por ','. Un campo entre comillas dobles puede llevar el separador; "
    "\"\" dentro de él es una comilla. Una primera línea cuyo código no es un número (por "
    "ejemplo X_OFERTAMATRIG;NIVEL_ABREV;ESTUDIO) se toma como cabecera; las líneas vacías se "
    "saltan.\n";

using import::LevelRow;

// A level table holds a few hundred course offers: a CSV larger than this is not one.
constexpr uint64_t kMaxCsvBytes = uint64_t{8} << 20;

// Said when the school's table cannot be written where every user of the machine reads it.
constexpr const char* kForEveryUser =
    "La tabla del centro sirve a todos los usuarios del equipo: créela con permisos de "
    "administrador, o nombre otra salida.";

[[noreturn]] void FailLine(const std::string& file, int line, const std::string& cause) {
  throw Error("El archivo " + file + ", línea " + std::to_string(line) + ": " + cause + ".");
}

// One CSV line split at `separator`, honouring double quotes.
std::vector<std::string> SplitCsvLine(const std::string& line, char separator) {
  std::vector<std::string> cells(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char ch = line[i];
    if (ch == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
      cells.back() += '"';
      ++i;
    } else if (ch == '"') {
      quoted = !quoted;
    } else if (ch == separator && !quoted) {
      cells.emplace_back();
    } else {
      cells.back() += ch;
    }
  }
  return cells;
}

// A cell without its blanks; the last cell of a line also without the CR of a CRLF file.
std::string Trimmed(std::string_view cell) {
  if (!cell.empty() && cell.back() == '\r') cell.remove_suffix(1);
  return std::string(text::AllTrim(cell));
}

std::u16string CheckedText(const std::string& cell, int width, const char* what,
                           const std::string& file, int line) {
  const std::u16string value = text::Utf8ToUtf16(cell);
  if (value.empty()) FailLine(file, line, std::string("falta ") + what);
  if (static_cast<int>(value.size()) > width) {
    FailLine(file, line,
             std::string(what) + " tiene más de " + std::to_string(width) + " caracteres");
  }
  return value;
}

std::vector<LevelRow> ReadLevels(const std::string& file) {
  std::istringstream in(files::ReadWholeFile(text::PathFromUtf8(file), "el archivo", kMaxCsvBytes));
  std::vector<LevelRow> rows;
  std::set<int32_t> codes;
  std::string line;
  char separator = 0;
  bool first = true;
  for (int number = 1; std::getline(in, line); ++number) {
    if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    if (Trimmed(line).empty()) continue;
    if (separator == 0) separator = line.find(';') != std::string::npos ? ';' : ',';
    std::vector<std::string> cells = SplitCsvLine(line, separator);
    for (auto& cell : cells) cell = Trimmed(cell);
    const auto code = text::TryParseInteger(text::Utf8ToUtf16(cells[0]));
    if (std::exchange(first, false) && !code) continue;  // the header line
    if (cells.size() != 3) FailLine(file, number, "se esperaban 3 campos");
    if (!code) FailLine(file, number, "el código '" + cells[0] + "' no es un número entero");
    if (!codes.insert(*code).second)
      FailLine(file, number, "el código " + cells[0] + " está repetido");
    rows.push_back(LevelRow{
        *code,
        CheckedText(cells[1], import::kLevelAbbreviationWidth, "la abreviatura", file, number),
        CheckedText(cells[2], import::kLevelStudyWidth, "el estudio", file, number)});
  }
  if (rows.empty()) throw Error("El archivo " + file + " no tiene ninguna oferta de cursos.");
  return rows;
}

struct NivelexOptions {
  std::string csv;
  std::string out;
};

// The school's own table, which the programs read before the one they ship with. Its folder
// is made when missing.
std::filesystem::path SchoolLevelTable() {
  const std::filesystem::path folder = app::MachineDataFolder();
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    throw Error("No se puede crear la carpeta de datos del equipo «" + text::PathUtf8(folder) +
                "»: " + files::SystemReason(error) + ". " + kForEveryUser);
  }
  return files::FindIgnoringCase(folder, app::kLevelTableName);
}

int RunNivelex(const NivelexOptions& options) {
  return RunReporting([&] {
    const std::vector<LevelRow> rows = ReadLevels(options.csv);
    const std::filesystem::path out =
        options.out.empty() ? SchoolLevelTable() : text::PathFromUtf8(options.out);
    try {
      import::WriteLevelTable(out, rows);
    } catch (Error& error) {
      if (options.out.empty()) error.AddSentence(kForEveryUser);
      throw;
    }
    PrintLine(text::PathText(out) + u": " + text::IntegerText(rows.size()) + u" ofertas de cursos");
    return kExitDone;
  });
}

}  // namespace

void AddNivelexCommand(CLI::App& app, int& exit_status) {
  auto options = std::make_shared<NivelexOptions>();
  CLI::App* command = app.add_subcommand(
      "nivelex", "Crea la tabla de niveles (dBASE nivel 7) a partir de un archivo CSV");
  command->footer(kFormat);
  command->add_option("NIVELES.csv", options->csv, "Ofertas de cursos: código;nivel;estudio")
      ->required();
  command->add_option("SALIDA.DBF", options->out,
                      "Tabla que se crea (se sustituye si existe); por omisión, la tabla del "
                      "centro, " +
                          text::PathUtf8(app::MachineDataFolder() / app::kLevelTableName) +
                          ", que los programas leen antes que la que traen");
  command->callback([options, &exit_status] { exit_status = RunNivelex(*options); });
}

}  // namespace zentrova::cli
