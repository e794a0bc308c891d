// zentrova-cli revisar-horario end to end, over exchange folders and timetables made from
// outside (python3-dbf, at random from a few seeds): its findings and counts against an
// independent reading of the tables (python3-dbfread), its text, `importar --informe` telling
// the same rows, the stops and errors `importar` would give, and that it writes nothing.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "support/bundled_files.h"
#include "support/python.h"
#include "support/temp_folder.h"

namespace zentrova::testing {
namespace {

using Json = nlohmann::ordered_json;

// An exchange folder as the first direction and the timetabling product leave it, drawn at
// random from the seed: teachers (one twice, one with a blank in its code), the slots of two
// frames with some missing, groups, assignments, the period, and a SOLUC whose rows name
// teachers by their code, in another letter case, without the blank or not at all, with and
// without a day, slots that exist or not, groups that exist, do not, or are blank.
constexpr char kMakeFolder[] = R"PY(
import os, random, sys, dbf
k, seed = sys.argv[1], int(sys.argv[2])
r = random.Random(seed)
def table(name, layout, rows):
    t = dbf.Table(os.path.join(k, name + '.DBF'), layout, dbf_type='db3', codepage='cp1252')
    t.open(dbf.READ_WRITE)
    for row in rows:
        t.append(row)
    t.close()
codes = r.sample(['ANA', 'BEA', 'CAR', 'DAV', 'EVA', 'FER', 'GAR', 'HUG'], r.randint(3, 6))
codes += [r.choice(codes), 'LO PEZ']
r.shuffle(codes)
table('PROFT', 'ABREV C(10); NOMBRE C(80); X_EMPLEADO C(10); F_TOMAPOS C(10)',
      [(c, 'Profesor %s %s' % (c.title(), 'Núñez'), str(1000 + i), '01/09/2020')
       for i, c in enumerate(codes)])
slots = [(str(d) + str(h), m, str(d), 'T%s%d%d' % (m, d, h), '%02d:00' % (7 + h), '%02d:55' % (7 + h))
         for m in '01' for d in range(1, 6) for h in range(1, 7) if r.random() > 0.1]
table('DIASHORAST', 'DIHO C(5); MARCO C(1); DIA C(2); CODDIHO C(10); HORADESDE C(5); '
      'HORAHASTA C(5)', slots)
groups = ['1A', '1B', '2A', '2B']
table('GRUPOST', 'ABREV C(10); CLAVE C(10)', [(g, 'U' + g) for g in groups])
subjects = ['MAT', 'LEN', 'ING', 'HIS']
table('ASIGT', 'CASIG C(10); CGRUP C(10); CLAVE C(10); CLAVECURSO C(10)',
      [(s, g, s + g, 'C' + g) for s in subjects for g in groups if r.random() > 0.2])
table('ASIGNOMT', 'COD C(10); CODTAREA C(10)', [(s, '') for s in subjects] + [('GUARDIA', 'G')])
table('PERIODOS', 'FECINI C(10); FECFIN C(10)', [('15/09/2026', '22/06/2027')])
table('CURSOST', 'CLAVE N(5,0)', [])
table('AULAT', 'ABREV C(10)', [])
def teacher():
    c = r.choice(codes)
    return r.choice([c, c, c, c.lower(), c.replace(' ', ''), 'NADIE'])
rows = []
for _ in range(r.randint(40, 80)):
    day = r.choice([None, 0] + [1, 2, 3, 4, 5] * 3)
    group = r.choice(groups * 4 + ['9Z', ''])
    subject = r.choice(subjects * 3 + ['GUARDIA'])
    rows.append((teacher(), day, r.randint(1, 7), r.choice('01'), subject, group,
                 r.choice(['', '', 'CLASE']), r.choice(['', 'A1'])))
table('SOLUC', 'PROF C(10); DIA N(2,0); HORA N(2,0); MARCO C(2); ASIG C(10); CODGRUPO C(10); '
      'TAREA C(12); AULA C(10)', rows)
)PY";

// The findings and counts the tables give, worked out from the rules with dbfread alone, and
// compared with revisar-horario's JSON.
constexpr char kCheckReview[] = R"PY(
import json, os, sys
from dbfread import DBF
k, review_file = sys.argv[1:3]
review = json.load(open(review_file, encoding='utf-8'))
def rows(name): return list(DBF(os.path.join(k, name + '.DBF'), encoding='cp1252'))
proft, soluc, slots, groups, asigt = (rows(n) for n in
    ('PROFT', 'SOLUC', 'DIASHORAST', 'GRUPOST', 'ASIGT'))
codes = [p['ABREV'] for p in proft]
loose = lambda code: code.replace(' ', '').casefold()
def teacher(i): return {'numero': i + 1, 'abrev': proft[i]['ABREV'], 'nombre': proft[i]['NOMBRE']}
order = ['profesor_desconocido', 'profesor_repetido', 'tramo_no_encontrado',
         'grupo_no_encontrado', 'asignacion_no_encontrada']
findings, written = [], 0
for fila, row in enumerate(soluc, 1):
    day = row['DIA'] or 0
    if day == 0:
        continue
    mine = [i for i, c in enumerate(codes) if c == row['PROF']]
    if not mine:
        close = [i for i, c in enumerate(codes) if loose(c) == loose(row['PROF'])]
        findings.append((fila, 'profesor_desconocido', teacher(close[0]) if close else None))
        continue
    written += len(mine)
    if len(mine) > 1:
        findings.append((fila, 'profesor_repetido', [teacher(i) for i in mine]))
    key, mark = str(day) + str(row['HORA']), row['MARCO'][:1]
    if not any(s['DIHO'] == key and s['MARCO'] == mark for s in slots):
        findings.append((fila, 'tramo_no_encontrado', None))
    if row['CODGRUPO'].strip():
        if not any(g['ABREV'] == row['CODGRUPO'] for g in groups):
            findings.append((fila, 'grupo_no_encontrado', None))
        if not any(a['CASIG'] == row['ASIG'] and a['CGRUP'] == row['CODGRUPO'] for a in asigt):
            findings.append((fila, 'asignacion_no_encontrada', None))
findings.sort(key=lambda f: (f[0], order.index(f[1])))
with_day = [row for row in soluc if (row['DIA'] or 0) != 0]
expected = {
    'filas': len(soluc),
    'sin_dia': len(soluc) - len(with_day),
    'escritas': written,
    'profesores_sin_lecciones': sum(1 for c in codes if not any(r['PROF'] == c for r in with_day)),
}
for name, value in expected.items():
    assert review[name] == value, (name, review[name], value)
got = []
for f in review['hallazgos']:
    extra = None
    if f['tipo'] == 'profesor_desconocido':
        extra = f['parecido']
    elif f['tipo'] == 'profesor_repetido':
        extra = f['profesores']
        assert f['veces'] == len(extra)
    got.append((f['fila'], f['tipo'], extra))
    row = soluc[f['fila'] - 1]
    assert f['valores']['PROF'] == row['PROF'] and f['valores']['ASIG'] == row['ASIG'], f
assert got == findings, (got, findings)
assert review['se_completa'] is True and review['parada'] is None
print('OK', len(findings), sorted(set(f[1] for f in findings)))
)PY";

using Snapshot = std::map<std::string, std::pair<std::string, std::filesystem::file_time_type>>;

// What a folder holds: each file with its bytes and the time it was last written.
Snapshot Take(const std::filesystem::path& folder) {
  Snapshot entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string name = std::filesystem::relative(entry.path(), folder).string();
    entries[name] = entry.is_regular_file()
                        ? std::pair{ReadFile(entry.path()), entry.last_write_time()}
                        : std::pair{std::string("<carpeta>"), std::filesystem::file_time_type{}};
  }
  return entries;
}

class RevisarHorarioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(ktemp());
    std::filesystem::copy_file(kSample, chosen());
  }
  void MakeFolder(int seed) {
    const CommandResult made = RunPython(kMakeFolder, {ktemp().string(), std::to_string(seed)});
    ASSERT_EQ(made.exit_code, 0) << made.err;
  }
  CommandResult Cli(const std::string& command, const std::filesystem::path& file,
                    const std::string& options = "") {
    return RunCommand(ShellQuote(kCli) + " " + command + " " + ShellQuote(file.string()) +
                      " --ktemp " + ShellQuote(ktemp().string()) + " " + options);
  }
  std::filesystem::path ktemp() const { return root_ / "KTEMP"; }
  std::filesystem::path chosen() const { return root_ / "instituto.xml"; }

  TempFolder root_;
};

TEST_F(RevisarHorarioTest, TheFindingsAreThoseTheTablesGive) {
  std::set<std::string> kinds_seen;
  for (int seed : {1, 2, 3, 4, 5}) {
    SCOPED_TRACE("semilla " + std::to_string(seed));
    MakeFolder(seed);
    const CommandResult review = Cli("revisar-horario", chosen(), "--json");
    ASSERT_EQ(review.exit_code, 0) << review.err;
    EXPECT_EQ(review.err, "");
    WriteFile(root_ / "revision.json", review.out);
    const CommandResult check =
        RunPython(kCheckReview, {ktemp().string(), (root_ / "revision.json").string()});
    ASSERT_EQ(check.exit_code, 0) << check.err;
    const Json json = Json::parse(review.out);
    for (const auto& finding : json["hallazgos"]) {
      kinds_seen.insert(finding["tipo"].get<std::string>());
    }
  }
  // The seeds give every kind of finding.
  EXPECT_EQ(kinds_seen.size(), 5u);
}

// The text names each finding's row under its kind, with the counts first; importar's report
// (--informe) tells the same rows, and its document the lessons counted.
TEST_F(RevisarHorarioTest, TheTextAndImportarsReportTellTheSameRows) {
  MakeFolder(3);
  const Json review = Json::parse(Cli("revisar-horario", chosen(), "--json").out);
  const CommandResult text = Cli("revisar-horario", chosen());
  ASSERT_EQ(text.exit_code, 0) << text.err;
  EXPECT_EQ(text.out.rfind(
                "Revisión del horario de " + ktemp().string() + " para " + chosen().string() +
                    "\nLa importación se puede hacer (importar terminaría con "
                    "«Proceso finalizado»).\n\nResumen:\n  Filas de SOLUC: " +
                    std::to_string(review["filas"].get<int>()) + ", de ellas " +
                    std::to_string(review["sin_dia"].get<int>()) + " sin día (no se exportan).\n",
                0),
            0u)
      << text.out;

  const auto informe = root_ / "informe.txt";
  const CommandResult run = Cli("importar", chosen(), "--informe " + ShellQuote(informe.string()));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const std::string report = ReadFile(informe);
  EXPECT_EQ(report.rfind("\xEF\xBB\xBFInforme de la conversión\r\n", 0), 0u);
  ASSERT_FALSE(review["hallazgos"].empty());
  for (const auto& finding : review["hallazgos"]) {
    const std::string line = "  Fila " + std::to_string(finding["fila"].get<int>()) + ": ";
    EXPECT_NE(text.out.find(line), std::string::npos) << line;
    EXPECT_NE(report.find(line), std::string::npos) << line;
  }
  const CommandResult activities =
      RunCommand("xmllint --xpath 'count(//grupo_datos[starts-with(@seq,\"ACTIVIDAD_\")])' " +
                 ShellQuote((root_ / "ResultadoOrbelininstituto.xml").string()));
  EXPECT_EQ(activities.out, std::to_string(review["escritas"].get<int>()) + "\n");
}

// Where importar stops or fails, the review does too, with the same message and status; it
// writes nothing in the exchange folder or beside the export either way, and leaves no lock.
TEST_F(RevisarHorarioTest, StopsAndErrorsAreImportarsAndNothingIsWritten) {
  MakeFolder(1);
  const struct {
    const char* label;
    std::function<void()> spoil;
    std::string file;
    int status;
  } cases[] = {
      {"NoFile", [] {}, "falta.xml", 1},
      {"NotAnExport", [&] { WriteFile(root_ / "roto.xml", "<SERVICIO/>"); }, "roto.xml", 1},
      {"NoPeriods", [&] { std::filesystem::remove(ktemp() / "PERIODOS.DBF"); }, "instituto.xml", 1},
      {"NoSoluc", [&] { std::filesystem::remove(ktemp() / "SOLUC.DBF"); }, "instituto.xml", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    c.spoil();
    const std::filesystem::path file = root_ / c.file;
    const Snapshot before = Take(root_.path());
    const CommandResult review = Cli("revisar-horario", file, "--json");
    EXPECT_EQ(Take(root_.path()), before);
    const CommandResult importar = Cli("importar", file);
    ASSERT_EQ(importar.exit_code, c.status) << importar.err;
    EXPECT_EQ(review.exit_code, c.status) << review.err;
    if (c.status == 1) {
      EXPECT_EQ(review.err, "");
      const Json json = Json::parse(review.out);
      EXPECT_EQ(json["se_completa"], false);
      EXPECT_EQ(json["parada"].get<std::string>() + "\n", importar.err);
      EXPECT_TRUE(json["hallazgos"].empty());
    } else {
      EXPECT_EQ(review.out, "");
      EXPECT_EQ(review.err, importar.err);
    }
  }
}

// A conversion that a crash interrupted would be completed by importar first: the review,
// which changes nothing, stops and says so.
TEST_F(RevisarHorarioTest, AnInterruptedConversionIsLeftAsItIs) {
  MakeFolder(2);
  std::filesystem::create_directory(ktemp() / "ZENTROVA.NUEVO");
  WriteFile(ktemp() / "ZENTROVA.NUEVO" / "PROFT.DBF", "nuevo");
  WriteFile(ktemp() / "ZENTROVA.JNL", "ZENTROVA 1\nMUEVE PROFT.DBF\nFIN\n");
  const Snapshot before = Take(root_.path());
  const CommandResult review = Cli("revisar-horario", chosen());
  EXPECT_EQ(review.exit_code, 1);
  EXPECT_NE(review.out.find("quedó a medias una conversión (ZENTROVA.JNL)"), std::string::npos)
      << review.out;
  EXPECT_EQ(Take(root_.path()), before);
}

}  // namespace
}  // namespace zentrova::testing
