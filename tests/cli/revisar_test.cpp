// zentrova-cli revisar end to end: the report of an export with every kind of finding against
// an expected file and against the tables `exportar` writes from it (read with
// python3-dbfread), an export without findings, the stops `exportar` would make, and that the
// review leaves no file behind: not in the exchange folder, not among the temporary ones.

#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "support/bundled_files.h"
#include "support/python.h"
#include "support/temp_folder.h"

namespace zentrova::testing {
namespace {

const std::filesystem::path kData = std::filesystem::path(ZENTROVA_TEST_DATA) / "revisar";

using Json = nlohmann::ordered_json;

// What a folder holds: each file with its bytes and the time it was last written, each
// folder by its name.
using Snapshot = std::map<std::string, std::pair<std::string, std::filesystem::file_time_type>>;

Snapshot Take(const std::filesystem::path& folder) {
  Snapshot entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string name = std::filesystem::relative(entry.path(), folder).string();
    if (entry.is_regular_file()) {
      entries[name] = {ReadFile(entry.path()), entry.last_write_time()};
    } else {
      entries[name] = {"<carpeta>", {}};
    }
  }
  return entries;
}

// The review runs with its own exchange folder and temporary folder, so that a test sees
// whatever it would leave in either.
class RevisarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(ktemp());
    std::filesystem::create_directory(tmp());
    WriteFile(ktemp() / "PROFT.DBF", "tabla de otra conversión");
  }
  std::filesystem::path ktemp() const { return root_ / "KTEMP"; }
  std::filesystem::path tmp() const { return root_ / "tmp"; }

  CommandResult Revisar(const std::filesystem::path& file, const std::string& options,
                        const std::string& nivelex = kNivelex) {
    return RunCommand("ZENTROVA_KTEMP=" + ShellQuote(ktemp().string()) +
                      " TMPDIR=" + ShellQuote(tmp().string()) + " " + ShellQuote(kCli) +
                      " revisar " + ShellQuote(file.string()) + " --nivelex " +
                      ShellQuote(nivelex) + " " + options);
  }
  // The report in JSON, with the file named by its name alone.
  Json RevisarJson(const std::filesystem::path& file, const std::string& options,
                   const std::string& nivelex = kNivelex) {
    const CommandResult run = Revisar(file, options + " --json", nivelex);
    EXPECT_EQ(run.err, "");
    Json json = Json::parse(run.out);
    EXPECT_EQ(json["file"], std::filesystem::absolute(file).string());
    json["file"] = file.filename().string();
    return json;
  }
  // `exportar` into a fresh exchange folder of its own.
  CommandResult Exportar(const std::filesystem::path& file, const std::filesystem::path& folder,
                         const std::string& options, const std::string& nivelex = kNivelex) {
    return RunCommand(ShellQuote(kCli) + " exportar " + ShellQuote(file.string()) + " --ktemp " +
                      ShellQuote(folder.string()) + " --nivelex " + ShellQuote(nivelex) + " " +
                      options);
  }
  // The level table the expected reports were written with.
  std::string Niveles() {
    const std::filesystem::path table = root_ / "NIVELES.DBF";
    if (!std::filesystem::exists(table)) {
      const CommandResult built =
          RunCommand(ShellQuote(kCli) + " nivelex " + ShellQuote((kData / "niveles.csv").string()) +
                     " " + ShellQuote(table.string()));
      EXPECT_EQ(built.exit_code, 0) << built.err;
    }
    return table.string();
  }

  TempFolder root_;
};

TEST_F(RevisarTest, TheJsonReportOfAnExportWithEveryKindOfFinding) {
  const Json expected = Json::parse(ReadFile(kData / "hallazgos.json"));
  EXPECT_EQ(RevisarJson(kData / "hallazgos.xml", "--marcos M,NOCTURNO-LARGO", Niveles()), expected);
}

// The text report, whole, byte for byte (the file named by its name alone).
TEST_F(RevisarTest, TheTextReportOfAnExportWithEveryKindOfFinding) {
  const CommandResult run =
      Revisar(kData / "hallazgos.xml", "--marcos M,NOCTURNO-LARGO", Niveles());
  EXPECT_EQ(run.exit_code, 0) << run.err;
  const std::string first_line =
      "Revisión de " + std::filesystem::absolute(kData / "hallazgos.xml").string() + "\n";
  ASSERT_EQ(run.out.rfind(first_line, 0), 0u) << run.out;
  EXPECT_EQ("Revisión de hallazgos.xml\n" + run.out.substr(first_line.size()),
            ReadFile(kData / "hallazgos.txt"));
}

// The report tells what the tables hold: each count, each value as stored, each code twice.
constexpr char kCheckAgainstTables[] = R"PY(
import json, os, sys
from dbfread import DBF
report = json.load(open(sys.argv[1], encoding='utf-8'))
folder = sys.argv[2]
tables = {}
for t in report['tables']:
    tables[t['table']] = list(DBF(os.path.join(folder, t['table'] + '.DBF'), encoding='cp1252'))
rows_per_record = {'DIASHORAST': 7}
for t in report['tables']:
    name = t['table']
    if name != 'ASIGT':
        given = sum(g['records_with_rows'] for g in t['groups']) * rows_per_record.get(name, 1)
        assert len(tables[name]) == given, (name, len(tables[name]), given)
    for g in t['groups']:
        for v in g['changed_values']:
            stored = [r[v['field']] for r in tables[name]]
            assert v['stored'] in stored, (name, v, stored)
            assert v['given'] not in stored, (name, v)
        for c in g['repeated_codes']:
            codes = [r[c['field']].lower() for r in tables[name]]
            assert codes.count(c['code'].lower()) >= 2, (name, c, codes)
print('OK')
)PY";

TEST_F(RevisarTest, TheReportAgreesWithTheTablesExportarWrites) {
  const std::string options = "--marcos M,NOCTURNO-LARGO";
  const CommandResult review = Revisar(kData / "hallazgos.xml", options + " --json", Niveles());
  ASSERT_EQ(review.exit_code, 0) << review.err;
  WriteFile(root_ / "informe.json", review.out);
  const CommandResult run = Exportar(kData / "hallazgos.xml", ktemp(), options, Niveles());
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const CommandResult check =
      RunPython(kCheckAgainstTables, {(root_ / "informe.json").string(), ktemp().string()});
  EXPECT_EQ(check.out, "OK\n") << check.err;
}

TEST_F(RevisarTest, TheSampleInPlainSpanish) {
  const Snapshot before = Take(root_.path());
  const CommandResult run = Revisar(kSample, "--marcos M,T");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err, "");
  for (const char* line :
       {"La exportación se puede convertir (exportar terminaría con «Proceso finalizado»).\n",
        "\nMarcos horarios (JORNADAS_ESCOLARES): 2\n",
        "  Con --marcos se eligen uno o dos, separados por una coma, de: M, T.\n",
        "  Elegidos: «M» y «T».\n", "\nGRUPOST\n  UNIDADES: 9 registros, 9 dan fila.\n",
        "    Registro 9: ABREV «2º Bachi A» es el mismo código que el del registro 8: la tabla lo "
        "tendrá dos veces.\n",
        "    Registro 8: ABREV «Gimnas» ya estaba dado: lleva un número detrás, «Gimnas1».\n",
        "\nPERIODOS\n  JORNADAS_ESCOLARES: 2 registros, 2 dan fila.\n"}) {
    EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
  }
  EXPECT_EQ(run.out.rfind("Revisión de " + kSample + "\n", 0), 0u) << run.out;
  // Nothing written: the exchange folder as it was, no temporary left, no other file.
  EXPECT_EQ(Take(root_.path()), before);
}

TEST_F(RevisarTest, AnExportWithoutFindings) {
  WriteFile(root_ / "limpia.xml",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SERVICIO><BLOQUE_DATOS>"
            "<grupo_datos seq=\"MATERIAS\"><grupo_datos><dato>305</dato><dato>101</dato>"
            "<dato>Lengua</dato></grupo_datos></grupo_datos>"
            "<grupo_datos seq=\"EMPLEADOS\"><grupo_datos><dato>1</dato><dato>01/09/2020</dato>"
            "<dato>Lengua</dato><dato>Ruiz</dato><dato>Soto</dato><dato>Ana</dato></grupo_datos>"
            "</grupo_datos>"
            "<grupo_datos seq=\"DEPENDENCIAS\"><grupo_datos><dato>101</dato><dato>Aula</dato>"
            "</grupo_datos></grupo_datos>"
            "<grupo_datos seq=\"CURSOS_DEL_CENTRO\"><grupo_datos><dato>305</dato>"
            "<dato>1º de ESO</dato></grupo_datos></grupo_datos>"
            "<grupo_datos seq=\"UNIDADES\"><grupo_datos><dato>9001</dato><dato>1º A</dato>"
            "<dato>305</dato></grupo_datos></grupo_datos>"
            "<grupo_datos seq=\"JORNADAS_ESCOLARES\"><grupo_datos><dato>M</dato>"
            "<dato>Mañana</dato><dato>15/09/2026</dato><dato>22/06/2027</dato></grupo_datos>"
            "</grupo_datos>"
            "<grupo_datos seq=\"TRAMOS_HORARIOS\"><grupo_datos><dato>1</dato><dato>Primera</dato>"
            "<dato>480</dato><dato>535</dato><dato>M</dato></grupo_datos></grupo_datos>"
            "</BLOQUE_DATOS></SERVICIO>");
  const CommandResult text = Revisar(root_ / "limpia.xml", "", Niveles());
  EXPECT_EQ(text.exit_code, 0) << text.err;
  EXPECT_EQ(text.out.find("Registro"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("Con un solo marco no hay que elegir: --marcos no hace falta."),
            std::string::npos)
      << text.out;

  const Json json = RevisarJson(root_ / "limpia.xml", "", Niveles());
  EXPECT_EQ(json["converts"], true);
  EXPECT_TRUE(json["stop"].is_null());
  EXPECT_EQ(json["chosen_frames"], Json::array({"M"}));
  EXPECT_TRUE(json["frames"][0]["marcos"].is_null());
  EXPECT_EQ(json["tables"].size(), 8u);
  for (const auto& table : json["tables"]) {
    for (const auto& group : table["groups"]) {
      EXPECT_EQ(group["records"], group["records_with_rows"]) << group;
      for (const char* findings :
           {"skipped", "notices", "changed_codes", "changed_values", "repeated_codes"}) {
        EXPECT_TRUE(group[findings].empty()) << group;
      }
    }
  }
}

// `xml` with the first `from` replaced by `to`.
std::string Replaced(std::string xml, std::string_view from, std::string_view to) {
  const size_t at = xml.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) xml.replace(at, from.size(), to);
  return xml;
}

// Every stop of `exportar` before its converters: revisar gives the same message, whole, and
// the exit status 1.
TEST_F(RevisarTest, AnExportThatWouldStopGivesExportarsMessage) {
  const std::string sample = ReadFile(kSample);
  const struct {
    const char* label;
    std::string xml;  // empty: no file at all
    std::string options;
    bool level_table = true;
  } cases[] = {
      {"NoFile", "", "--marcos M"},
      {"NoLevelTable", sample, "--marcos M", false},
      {"NotWellFormed", sample.substr(0, 2000), "--marcos M"},
      {"NoDataBlock", "<?xml version=\"1.0\"?><SERVICIO/>", ""},
      {"NoFrames", Replaced(sample, "seq=\"JORNADAS_ESCOLARES\"", "seq=\"OTRAS\""), ""},
      {"CourseCodeNotANumber",
       Replaced(sample, "\"X_OFERTAMATRIG\">306</dato><dato nombre_dato=\"D_OFERTAMATRIG\"",
                "\"X_OFERTAMATRIG\">3O6</dato><dato nombre_dato=\"D_OFERTAMATRIG\""),
       "--marcos M"},
      {"FramesNotChosen", sample, ""},
      {"UnknownFrame", sample, "--marcos X"},
      {"TooManyFrames", sample, "--marcos M,T,M"},
      {"SlotTimeNotANumber", Replaced(sample, ">480<", ">8:00<"), "--marcos M"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const std::filesystem::path file = root_ / (std::string(c.label) + ".xml");
    if (!c.xml.empty()) WriteFile(file, c.xml);
    const std::string nivelex = c.level_table ? kNivelex : (root_ / "falta.dbf").string();
    TempFolder folder;
    const CommandResult exportar = Exportar(file, folder.path(), c.options, nivelex);
    ASSERT_EQ(exportar.exit_code, 1) << exportar.err;
    const CommandResult review = Revisar(file, c.options + " --json", nivelex);
    EXPECT_EQ(review.exit_code, 1) << review.err;
    EXPECT_EQ(review.err, "");
    const Json json = Json::parse(review.out);
    EXPECT_EQ(json["converts"], false);
    EXPECT_EQ(json["stop"].get<std::string>() + "\n", exportar.err);
    EXPECT_TRUE(json["tables"].empty());

    const CommandResult text = Revisar(file, c.options, nivelex);
    EXPECT_EQ(text.exit_code, 1);
    EXPECT_NE(text.out.find("La conversión se pararía con este mensaje:\n  "), std::string::npos)
        << text.out;
  }
  EXPECT_TRUE(std::filesystem::is_empty(tmp()));
}

// Without --marcos the review stops as exportar would, and lists the frames to choose from.
TEST_F(RevisarTest, TheFramesAndTheirChoicesAreListedWhenNoneIsChosen) {
  const Json json = RevisarJson(kSample, "");
  ASSERT_EQ(json["frames"].size(), 2u);
  EXPECT_EQ(json["frames"][0]["code"], "M");
  EXPECT_EQ(json["frames"][0]["marcos"], "M");
  EXPECT_EQ(json["frames"][0]["slots"].size(), 7u);
  EXPECT_EQ(json["frames"][1]["slots"],
            Json::array({"1ª tarde", "2ª tarde", "3ª tarde", "4ª tarde"}));
  EXPECT_TRUE(json["chosen_frames"].empty());
}

TEST_F(RevisarTest, ATemporaryFolderThatCannotBeMadeEndsWithAMessage) {
  std::filesystem::remove(tmp());
  const CommandResult run = Revisar(kSample, "--marcos M");
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.err.rfind("No se puede crear una carpeta temporal en ", 0), 0u) << run.err;
  EXPECT_EQ(run.out, "");
}

}  // namespace
}  // namespace zentrova::testing
