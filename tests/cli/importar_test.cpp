// zentrova-cli importar end to end: the bundled sample export through `exportar` into a
// temporary exchange folder, a SOLUC made for those tables as the timetabling product would
// leave it, then `importar`. The saved document is checked with xmllint and against the
// rules worked out independently in Python from the tables (python3-dbfread).

#include <gtest/gtest.h>

#include "import/level_table.h"
#include "support/bundled_files.h"
#include "support/python.h"
#include "support/temp_folder.h"

namespace zentrova::testing {
namespace {

// A timetable for the exchange tables: teachers with none, one or several lessons, rows
// without a day, slots of both frames, a slot that does not exist, a task whose code comes
// from ASIGNOMT, a blank and a filled room, and a field the export does not read.
constexpr char kMakeSoluc[] = R"PY(
import os, sys, soluc
from dbfread import DBF
k = sys.argv[1]
def rows(name): return list(DBF(os.path.join(k, name + '.DBF'), encoding='cp1252'))
prof, asig, slots, noms = rows('PROFT'), rows('ASIGT'), rows('DIASHORAST'), rows('ASIGNOMT')
tasks = [n for n in noms if n['ESTAREA'] and n['CODTAREA']]
lessons = []
def add(p, dia, hora, marco, a, g, tarea, aula):
    lessons.append((p, dia, hora, marco, a, g, tarea, aula, len(lessons) + 1))
for i, p in enumerate(prof):
    for j in range(i % 4):
        a = asig[(i * 3 + j) % len(asig)]
        s = slots[(i * 5 + j * 7) % len(slots)]
        add(p['ABREV'], int(s['DIA']), int(s['DIHO'][len(s['DIA']):]), s['MARCO'],
            a['CASIG'], a['CGRUP'], 'CLASE' if j == 2 else '', 'A%d' % j if j else '')
    if i % 3 == 0:
        add(p['ABREV'], 0, 1, '0', asig[0]['CASIG'], asig[0]['CGRUP'], '', '')
    if i % 5 == 1:
        task = tasks[i % len(tasks)]
        add(p['ABREV'], 3, 2, '1', task['COD'], '', '', 'Biblio')
    if i % 7 == 2:
        add(p['ABREV'], 6, 15, '0', asig[1]['CASIG'], asig[1]['CGRUP'], '', '')
add('NADIE', 1, 1, '0', asig[0]['CASIG'], asig[0]['CGRUP'], '', '')
soluc.write(k, lessons, soluc.FIELDS + '; SESION N(4,0)')
print(len(lessons))
)PY";

// The document the rules give for the tables, compared with the saved one.
constexpr char kCheckResult[] = R"PY(
import os, sys, re
import xml.etree.ElementTree as ET
from dbfread import DBF
k, saved, chosen = sys.argv[1:4]
def rows(name): return list(DBF(os.path.join(k, name + '.DBF'), encoding='cp1252'))
prof, asig, slots, noms, groups, periods, soluc = (rows(n) for n in
    ('PROFT', 'ASIGT', 'DIASHORAST', 'ASIGNOMT', 'GRUPOST', 'PERIODOS', 'SOLUC'))
def first(table, test):
    return next((r for r in table if test(r)), None)
def clock(text):
    if len(text) < 5: text = '0' + text
    return str(int(text[:2]) * 60 + int(text[-2:]))
start, end = (periods[0]['FECINI'], periods[0]['FECFIN']) if periods else ('', '')
names = ['N_DIASEMANA', 'X_TRAMO', 'X_DEPENDENCIA', 'X_UNIDAD', 'X_OFERTAMATRIG',
         'X_MATERIAOMG', 'F_INICIO', 'F_FIN', 'N_HORINI', 'N_HORFIN', 'X_ACTIVIDAD']
def activity(r):
    a = first(asig, lambda x: x['CASIG'] == r['ASIG'] and x['CGRUP'] == r['CODGRUPO'])
    tarea = r['TAREA']
    if not tarea.strip():
        m = first(noms, lambda x: x['COD'] == r['ASIG'])
        if m: tarea = m['CODTAREA']
    key, mark = str(r['DIA']) + str(r['HORA']), r['MARCO'][:1]
    s = first(slots, lambda x: x['DIHO'] == key and x['MARCO'] == mark)
    g = first(groups, lambda x: x['ABREV'] == r['CODGRUPO'])
    return [s['DIA'] if s else '', s['CODDIHO'] if s else '',
            r['AULA'] if r['AULA'].strip() else '', g['CLAVE'] if g else '',
            a['CLAVECURSO'] if a else '', a['CLAVE'] if a else '', start, end,
            clock(s['HORADESDE'] if s else ''), clock(s['HORAHASTA'] if s else ''),
            tarea if tarea.strip() else '1']

root = ET.parse(saved).getroot()
def outline(e): return (e.tag, list(e.attrib.items()))
assert root.tag == 'SERVICIO' and list(root.attrib)[:3] == ['modulo', 'tipo', 'autor'], outline(root)
assert list(root.attrib) == ['modulo', 'tipo', 'autor', 'fecha'], outline(root)
assert (root.get('modulo'), root.get('tipo'), root.get('autor')) == ('HORARIOS', 'I', 'HORARIOS')
assert re.search(r'\d', root.get('fecha')) and ' ' in root.get('fecha'), root.get('fecha')
[block] = list(root)
year, regular = list(block)
assert outline(year) == ('grupo_datos', [('seq', 'ANNO_ACADEMICO')]), outline(year)
assert [outline(d) for d in year] == [('dato', [('nombre_dato', 'C_ANNO')])]
assert year[0].text == '2026', year[0].text
assert outline(regular) == ('grupo_datos', [('seq', 'HORARIOS_REGULARES'),
                                            ('registros', str(len(prof)))]), outline(regular)
teachers = list(regular)
assert len(teachers) == len(prof), len(teachers)
activities = 0
for number, (p, group) in enumerate(zip(prof, teachers), 1):
    mine = [activity(r) for r in soluc if r['PROF'] == p['ABREV'] and (r['DIA'] or 0) != 0]
    activities += len(mine)
    assert outline(group) == ('grupo_datos', [('seq', 'HORARIO_REGULAR_PROFESOR_%d' % number),
                                              ('registros', str(len(mine)))]), outline(group)
    children = list(group)
    assert [outline(d) for d in children[:2]] == [('dato', [('nombre_dato', 'X_EMPLEADO')]),
                                                  ('dato', [('nombre_dato', 'F_TOMAPOS')])]
    assert [d.text or '' for d in children[:2]] == [p['X_EMPLEADO'], p['F_TOMAPOS']]
    assert len(children) == 2 + len(mine), (number, len(children))
    for index, (element, values) in enumerate(zip(children[2:], mine), 1):
        assert outline(element) == ('grupo_datos', [('seq', 'ACTIVIDAD_%d' % index)])
        assert [outline(d) for d in element] == [('dato', [('nombre_dato', n)]) for n in names]
        got = [d.text or '' for d in element]
        assert got == values, (p['ABREV'], index, got, values)
        assert all(len(d) == 0 for d in element)

# Declaration and comments outside the root, as in the chosen file.
def outside(path):
    data = open(path, 'rb').read()
    head = data[:data.index(b'<SERVICIO')]
    return re.match(rb'<\?xml[^>]*\?>', head).group(0), re.findall(rb'<!--.*?-->', head, re.S)
assert outside(saved) == outside(chosen), (outside(saved), outside(chosen))
print('OK', activities)
)PY";

// The sample's course offers.
void WriteLevelTable(const std::filesystem::path& path) {
  std::vector<import::LevelRow> rows;
  for (int code : {305, 306, 307, 308, 410, 411}) {
    rows.push_back(code < 400 ? import::LevelRow{code, u"ESO", u"Educación Secundaria"}
                              : import::LevelRow{code, u"BACH", u"Bachillerato"});
  }
  import::WriteLevelTable(path, rows);
}

class ImportarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(ktemp());
    std::filesystem::copy_file(kSample, chosen());
    WriteLevelTable(root_ / "NIVELEX.DBF");
    const CommandResult exported =
        RunCommand(ShellQuote(kCli) + " exportar " + ShellQuote(chosen().string()) + " --ktemp " +
                   ShellQuote(ktemp().string()) + " --nivelex " +
                   ShellQuote((root_ / "NIVELEX.DBF").string()) + " --marcos M,T");
    ASSERT_EQ(exported.exit_code, 0) << exported.err;
  }
  CommandResult Importar(const std::filesystem::path& file) {
    return RunCommand(ShellQuote(kCli) + " importar " + ShellQuote(file.string()) + " --ktemp " +
                      ShellQuote(ktemp().string()));
  }
  std::filesystem::path ktemp() const { return root_ / "KTEMP"; }
  std::filesystem::path chosen() const { return root_ / "instituto.xml"; }
  std::filesystem::path result() const { return root_ / "ResultadoOrbelininstituto.xml"; }

  TempFolder root_;
};

TEST_F(ImportarTest, TheSampleTimetableBecomesAVetranaDocument) {
  const CommandResult made = RunPython(kMakeSoluc, {ktemp().string()});
  ASSERT_EQ(made.exit_code, 0) << made.err;
  const std::string original = ReadFile(chosen());

  const CommandResult run = Importar(chosen());
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "Proceso finalizado\n" + result().string() + "\n");
  EXPECT_EQ(ReadFile(chosen()), original);

  const CommandResult lint = RunCommand("xmllint --noout " + ShellQuote(result().string()));
  EXPECT_EQ(lint.exit_code, 0) << lint.err;
  const CommandResult check =
      RunPython(kCheckResult, {ktemp().string(), result().string(), chosen().string()});
  ASSERT_EQ(check.exit_code, 0) << check.err;
  EXPECT_EQ(check.out.rfind("OK ", 0), 0u) << check.out;
  EXPECT_NE(check.out, "OK 0\n");
}

// A SOLUC whose header length is one byte off would be read as records shifted by a byte:
// the run refuses it and the result of an earlier run stays as it was.
TEST_F(ImportarTest, ASolucWhoseHeaderDisagreesLeavesTheResultAsItWas) {
  ASSERT_EQ(RunPython(kMakeSoluc, {ktemp().string()}).exit_code, 0);
  ASSERT_EQ(Importar(chosen()).exit_code, 0);
  const std::string good_result = ReadFile(result());

  std::string soluc = ReadFile(ktemp() / "SOLUC.DBF");
  const int header_length =
      static_cast<unsigned char>(soluc[8]) | static_cast<unsigned char>(soluc[9]) << 8;
  soluc[8] = static_cast<char>((header_length + 1) & 0xFF);
  soluc[9] = static_cast<char>((header_length + 1) >> 8);
  WriteFile(ktemp() / "SOLUC.DBF", soluc);

  const CommandResult run = Importar(chosen());
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "La tabla " + (ktemp() / "SOLUC.DBF").string() +
                " está dañada: la longitud de cabecera (" + std::to_string(header_length + 1) +
                " bytes) no cuadra con sus 9 "
                "campos, que piden " +
                std::to_string(header_length) + " bytes. No se ha escrito ningún archivo.\n");
  EXPECT_EQ(ReadFile(result()), good_result);
}

// A timetabled row whose hour is no whole number: the conversion's own text, then where the
// value stands, and no result is saved.
TEST_F(ImportarTest, AValueOfSolucThatDoesNotConvertIsNamedWithItsRecordAndField) {
  const CommandResult made = RunPython(R"PY(
import os, sys, soluc
from dbfread import DBF
k = sys.argv[1]
teacher = list(DBF(os.path.join(k, 'PROFT.DBF'), encoding='cp1252'))[0]['ABREV']
soluc.write(k, [(teacher, '1', '1', '0', '', '', '', ''), (teacher, '2', '1y', '0', '', '', '', '')],
            'PROF C(10); DIA C(2); HORA C(3); MARCO C(1); ASIG C(10); CODGRUPO C(10); '
            'TAREA C(12); AULA C(10)')
)PY",
                                       {ktemp().string()});
  ASSERT_EQ(made.exit_code, 0) << made.err;

  const CommandResult run = Importar(chosen());
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "'1y' is not a valid integer value\r\nTabla " +
                         (ktemp() / "SOLUC.DBF").string() +
                         ", registro 2, campo HORA. No se ha escrito ningún archivo.\n");
  EXPECT_FALSE(std::filesystem::exists(result()));
}

TEST_F(ImportarTest, StopsAndErrors) {
  EXPECT_EQ(RunCommand(ShellQuote(kCli) + " importar").exit_code, 2);

  const CommandResult missing = Importar(root_ / "falta.xml");
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(missing.err, "No existe archivo\n" + (root_ / "falta.xml").string() + "\n");
  // A relative name: the line gives the path it was looked for at.
  const CommandResult relative = RunCommand("cd " + ShellQuote(root_.path().string()) + " && " +
                                            ShellQuote(kCli) + " importar falta.xml --ktemp KTEMP");
  EXPECT_EQ(relative.exit_code, 1);
  EXPECT_EQ(relative.err, "No existe archivo\n" + (root_ / "falta.xml").string() + "\n");

  // Orbelin has not produced a timetable yet.
  const CommandResult no_soluc = Importar(chosen());
  EXPECT_EQ(no_soluc.exit_code, 3);
  EXPECT_NE(no_soluc.err.find("SOLUC"), std::string::npos) << no_soluc.err;
  EXPECT_FALSE(std::filesystem::exists(result()));

  ASSERT_EQ(RunPython(kMakeSoluc, {ktemp().string()}).exit_code, 0);
  WriteFile(root_ / "roto.xml", "<SERVICIO><BLOQUE_DATOS>");
  const CommandResult broken = Importar(root_ / "roto.xml");
  EXPECT_EQ(broken.exit_code, 1);
  EXPECT_NE(broken.err.find("roto.xml"), std::string::npos) << broken.err;
  EXPECT_FALSE(std::filesystem::exists(root_ / "ResultadoOrbelinroto.xml"));

  std::filesystem::remove(ktemp() / "PERIODOS.DBF");
  const CommandResult no_periods = Importar(chosen());
  EXPECT_EQ(no_periods.exit_code, 1);
  EXPECT_EQ(no_periods.err,
            "ATENCIÓN - PERIODOS.DBF No encontrado - Importe de nuevo XML de VETRANA.\n");
  EXPECT_FALSE(std::filesystem::exists(result()));
}

// A chosen export the converter could not read faithfully stops like any other malformed one:
// the same exit status and sentence, the file and the place named, nothing written.
TEST_F(ImportarTest, AnExportThatCannotBeReadWritesNothing) {
  ASSERT_EQ(RunPython(kMakeSoluc, {ktemp().string()}).exit_code, 0);
  const std::string sample = ReadFile(chosen());
  std::string nested;
  for (int i = 0; i < 1000000; ++i) nested += "<b>";
  nested += "2026";
  for (int i = 0; i < 1000000; ++i) nested += "</b>";
  const auto with = [&sample](std::string_view from, std::string_view to) {
    std::string xml = sample;
    xml.replace(xml.find(from), from.size(), to);
    return xml;
  };
  const struct {
    const char* label;
    std::string xml;
    std::string cause;
  } cases[] = {
      {"Malformed", sample.substr(0, 2000), "(línea "},
      // Its ISO-8859-1 bytes are not UTF-8.
      {"BytesNotInTheDeclaredEncoding", with("ISO-8859-1", "UTF-8"),
       "bytes que no son válidos en la codificación 'UTF-8'"},
      // The academic year would be read as the reference itself.
      {"EntityReference", with(">2026<", ">&anno;<"),
       "la referencia a la entidad 'anno' en el elemento 'dato' no se admite"},
      {"ControlCharacter",
       with(">2026<",
            ">20\x1B"
            "26<"),
       "carácter de control U+001B en el elemento 'dato', que XML no admite"},
      // A million levels.
      {"DeeplyNested", with(">2026<", ">" + nested + "<"), "anidados a más de 256 niveles"},
  };
  const std::filesystem::path file = root_ / "elegido.xml";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    WriteFile(file, c.xml);
    const CommandResult run = Importar(file);
    EXPECT_EQ(run.exit_code, 1) << run.err;
    EXPECT_EQ(run.err.rfind("El archivo " + file.string() + " no es un XML válido (línea ", 0), 0u)
        << run.err;
    EXPECT_NE(run.err.find(c.cause), std::string::npos) << run.err;
    EXPECT_TRUE(run.err.ends_with(". No se ha escrito ningún archivo.\n")) << run.err;
    EXPECT_FALSE(std::filesystem::exists(root_ / "ResultadoOrbelinelegido.xml"));
  }
}

}  // namespace
}  // namespace zentrova::testing
