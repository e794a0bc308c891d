// zentrova-cli exportar end to end: the bundled sample export into a temporary exchange
// folder, every table read back with an independent reader (python3-dbfread).

#include <gtest/gtest.h>

#include "support/bundled_files.h"
#include "support/python.h"
#include "support/sanitizers.h"
#include "support/temp_folder.h"

namespace zentrova::testing {
namespace {

CommandResult Exportar(const std::filesystem::path& file, const std::filesystem::path& ktemp,
                       const std::string& extra) {
  return RunCommand(ShellQuote(kCli) + " exportar " + ShellQuote(file.string()) + " --ktemp " +
                    ShellQuote(ktemp.string()) + " --nivelex " + ShellQuote(kNivelex) + " " +
                    extra);
}

CommandResult Exportar(const std::filesystem::path& ktemp, const std::string& extra) {
  return Exportar(kSample, ktemp, extra);
}

// `xml` with the first `from` replaced by `to`.
std::string Replaced(std::string xml, std::string_view from, std::string_view to) {
  const size_t at = xml.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) xml.replace(at, from.size(), to);
  return xml;
}

// The sample export, ISO-8859-1, with the first `from` replaced by `to`.
std::string SampleWith(std::string_view from, std::string_view to) {
  return Replaced(ReadFile(kSample), from, to);
}

constexpr char kLatin1Declaration[] = "encoding=\"ISO-8859-1\"";
// A subject's name in the sample: "Matemáticas" in ISO-8859-1.
constexpr char kSubjectName[] = ">Matem\xE1ticas<";

// The sample with a document type after its declaration, and `name` for a subject's name.
std::string SampleWithEntity(const std::string& doctype, std::string_view name) {
  return Replaced(SampleWith("?>\n", "?>\n" + doctype + "\n"), kSubjectName,
                  ">" + std::string(name) + "<");
}

// Nine levels of entities each ten times the one before: a billion "lol" if expanded.
std::string BillionLaughs() {
  std::string doctype = "<!DOCTYPE SERVICIO [\n<!ENTITY lol \"lol\">\n";
  for (int level = 1; level <= 9; ++level) {
    const std::string before = level == 1 ? "lol" : "lol" + std::to_string(level - 1);
    doctype += "<!ENTITY lol" + std::to_string(level) + " \"";
    for (int i = 0; i < 10; ++i) doctype += "&" + before + ";";
    doctype += "\">\n";
  }
  return doctype + "]>";
}

// A million levels of elements around `text`.
std::string DeeplyNested(std::string_view text) {
  constexpr size_t kLevels = 1000000;
  std::string xml;
  xml.reserve(kLevels * 7 + text.size());
  for (size_t i = 0; i < kLevels; ++i) xml += "<b>";
  xml += text;
  for (size_t i = 0; i < kLevels; ++i) xml += "</b>";
  return xml;
}

// The sample in UTF-8, as declaring it.
std::string SampleInUtf8() {
  std::string xml;
  for (const char c : SampleWith(kLatin1Declaration, "encoding=\"UTF-8\"")) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      xml += c;
    } else {
      xml += static_cast<char>(0xC0 | (byte >> 6));
      xml += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return xml;
}

// Layouts every reader of the exchange folder relies on, and a few rows of the sample.
constexpr char kCheckTables[] = R"PY(
import sys, os
from dbfread import DBF
folder = sys.argv[1]
layouts = {
 'ASIGNOMT': [('COD','C',10,0),('CODLARGO','C',10,0),('NOMBRE','C',80,0),('MATERIA','C',8,0),('CODTAREA','C',12,0),('ESTAREA','L',1,0)],
 'PROFT': [('ABREV','C',10,0),('NOMBRE','C',80,0),('DEPART','C',40,0),('EMAIL','C',100,0),('DNI','N',11,0),('X_EMPLEADO','C',10,0),('F_TOMAPOS','C',10,0)],
 'AULAT': [('ABREV','C',10,0),('NOMBRE','C',80,0),('EDIFICIO','C',1,0),('MAXALUM','N',11,0),('DEPCENTRO','C',10,0)],
 'CURSOST': [('ABREV','C',10,0),('TURNO','C',1,0),('NIVEL','C',5,0),('CURSO','C',3,0),('CLAVE','C',10,0),('ESTUD','C',80,0)],
 'GRUPOST': [('ABREV','C',10,0),('TURNO','C',1,0),('NIVEL','C',5,0),('CURSO','C',3,0),('GRUPO','C',2,0),('DESCRIP','C',80,0),('MARCO','C',1,0),('CLAVE','C',10,0),('CLAVECURSO','C',10,0)],
 'ASIGT': [('CASIG','C',10,0),('CPROF','C',10,0),('CGRUP','C',10,0),('CAULA','C',10,0),('TURNO','C',1,0),('NIVEL','C',5,0),('CURSO','C',3,0),('GRUPO','C',2,0),('HORAS','N',20,4),('SESIONES','C',20,0),('NCONEX','C',4,0),('CLAVE','C',10,0),('CLAVECURSO','C',10,0),('CTAREA','C',10,0)],
 'DIASHORAST': [('DIHO','C',10,0),('CODDIHO','C',10,0),('DIA','C',20,0),('TEXTODIA','C',20,0),('HORA','C',8,0),('TEXTOHOR','C',15,0),('HORADESDE','C',8,0),('HORAHASTA','C',8,0),('MINUTOS','C',8,0),('MARCO','C',1,0),('MARCOXML','C',10,0)],
 'PERIODOS': [('CJORNADA','C',10,0),('JORNADA','C',40,0),('FECINI','C',10,0),('FECFIN','C',10,0)],
}
layouts['DIASHORAST2'] = layouts['DIASHORAST'] + [('ORDEN','N',11,0)]
tables = {}
for name, layout in layouts.items():
    t = DBF(os.path.join(folder, name + '.DBF'), encoding='cp1252')
    got = [(f.name, f.type, f.length, f.decimal_count) for f in t.fields]
    assert got == layout, (name, got)
    tables[name] = list(t)
def rows(name, *fields): return [tuple(r[f] for f in fields) for r in tables[name]]
a = rows('ASIGNOMT', 'COD', 'CODLARGO', 'NOMBRE', 'ESTAREA', 'CODTAREA')
assert a[0] == ('LCL', 'Lengua Cas', 'Lengua Castellana y Literatura', False, ''), a[0]
assert ('EF', 'Educación', 'Educación Física', False, '') in a, a
assert ('17', 'Guardia', 'Guardia de recreo', True, '17') == a[-4], a[-4]
p = rows('PROFT', 'ABREV', 'NOMBRE', 'DNI', 'X_EMPLEADO')
assert p[0] == ('RSA', 'Ruiz Soto, Ana', None, '1001'), p[0]
assert [r[0] for r in p[:3]] == ['RSA', 'RSA1', 'RSA2'], p
assert ('CE', 'Castillo , Elena', None, '1010') in p and p[10][0] == 'RSA4', p
r = rows('AULAT', 'ABREV', 'MAXALUM')
assert ('Gimnas', None) in r and ('Gimnas1', None) in r and ('Biblio', None) in r, r
g = rows('GRUPOST', 'ABREV', 'GRUPO', 'MARCO', 'CLAVECURSO')
assert ('2º Bachi A', 'A', '0', '411') in g and g.count(('2º Bachi A', 'A', '0', '411')) == 2, g
s = rows('ASIGT', 'HORAS', 'SESIONES', 'CTAREA')
assert s and all(x == (4.0, '1111', '1') for x in s), s[:3]
d = rows('DIASHORAST', 'DIHO', 'DIA', 'HORADESDE', 'MARCO', 'MARCOXML')
assert len(d) == 7 * 11, len(d)
assert d[0] == ('11', '1', '08:00', '0', 'M') and d[1] == ('11', '1', '15:30', '1', 'T'), d[:2]
assert rows('PERIODOS', 'CJORNADA') == [('M',), ('T',)]
assert not tables['DIASHORAST2']
print('OK')
)PY";

TEST(ExportarTest, TheSampleExportBecomesTheExchangeTables) {
  TempFolder ktemp;
  testing::WriteFile(ktemp / "JORNADAS.DBF", "old");
  const CommandResult run = Exportar(ktemp.path(), "--marcos M,T");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("Proceso finalizado"), std::string::npos);
  EXPECT_NE(run.out.find("DIASHORAST.DBF: 77 filas"), std::string::npos) << run.out;
  EXPECT_FALSE(std::filesystem::exists(ktemp / "JORNADAS.DBF"));
  const CommandResult check = RunPython(kCheckTables, {ktemp.path().string()});
  EXPECT_EQ(check.out, "OK\n") << check.err;
}

TEST(ExportarTest, AnInvalidFrameChoiceTouchesNoTable) {
  const struct {
    std::string options;
    std::string message;
  } cases[] = {
      {"--marcos X", "El marco horario 'X'"},
      {"", "Debe al menos seleccionar 1 Marco Horario."},
      {"--marcos M,T,M", "Demasiados Marcos Horarios seleccionados."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("options: " + std::string(c.options));
    TempFolder ktemp;
    testing::WriteFile(ktemp / "PROFT.DBF", "held");
    const CommandResult run = Exportar(ktemp.path(), c.options);
    EXPECT_EQ(run.exit_code, 1) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(ktemp / "PROFT.DBF"), "held");
  }
}

// An export the converters could not read faithfully stops like any other malformed one: the
// same exit status and sentence, the file and the place named, no table touched.
TEST(ExportarTest, AnExportThatCannotBeReadTouchesNoTable) {
  // Nothing outside the file is ever read: an external entity names this one.
  TempFolder outside;
  const std::string secret = "contenido-de-otro-archivo";
  WriteFile(outside / "secreto.txt", secret);
  const std::string external = "<!DOCTYPE SERVICIO [<!ENTITY xxe SYSTEM \"file://" +
                               (outside / "secreto.txt").string() + "\">]>";
  const struct {
    const char* label;
    std::string xml;
    std::string cause;
  } cases[] = {
      {"Malformed", ReadFile(kSample).substr(0, 2000), "(línea "},
      {"StrayByteInUtf8", Replaced(SampleInUtf8(), ">Matem", ">\xE9Matem"),
       "bytes que no son válidos en la codificación 'UTF-8'"},
      {"ByteWindows1252LeavesUndefined",
       Replaced(SampleWith(kLatin1Declaration, "encoding=\"windows-1252\""), kSubjectName,
                ">Matem\x81ticas<"),
       "bytes que no son válidos en la codificación 'windows-1252'"},
      {"ExternalEntity", SampleWithEntity(external, "&xxe;"),
       "la referencia a la entidad 'xxe' en el elemento 'dato' no se admite"},
      {"InternalEntity", SampleWithEntity(BillionLaughs(), "&lol9;"),
       "la referencia a la entidad 'lol9' en el elemento 'dato' no se admite"},
      {"UndeclaredEntity", SampleWith(kSubjectName, ">&lol9;<"),
       "la referencia a la entidad 'lol9' en el elemento 'dato' no se admite"},
      {"ControlCharacter", SampleWith(kSubjectName, ">Matem\x01ticas<"),
       "(línea 8, columna 142): carácter de control U+0001 en el elemento 'dato', que XML no "
       "admite"},
      {"DeeplyNested", SampleWith(kSubjectName, ">" + DeeplyNested("Matem\xE1ticas") + "<"),
       "anidados a más de 256 niveles"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    TempFolder root;
    std::filesystem::create_directory(root / "KTEMP");
    WriteFile(root / "KTEMP" / "PROFT.DBF", "held");
    WriteFile(root / "KTEMP" / "ASIGNOMT.DBF", "held");
    WriteFile(root / "export.xml", c.xml);
    const CommandResult run = Exportar(root / "export.xml", root / "KTEMP", "--marcos M,T");
    EXPECT_EQ(run.exit_code, 1) << run.err;
    EXPECT_EQ(
        run.err.rfind(
            "El archivo " + (root / "export.xml").string() + " no es un XML válido (línea ", 0),
        0u)
        << run.err;
    EXPECT_NE(run.err.find(c.cause), std::string::npos) << run.err;
    EXPECT_TRUE(run.err.ends_with(". No se ha modificado ninguna tabla.\n")) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.find(secret), std::string::npos);
    EXPECT_EQ(ReadFile(root / "KTEMP" / "PROFT.DBF"), "held");
    EXPECT_EQ(ReadFile(root / "KTEMP" / "ASIGNOMT.DBF"), "held");
  }
}

TEST(ExportarTest, UsageAndMissingFiles) {
  TempFolder ktemp;
  EXPECT_EQ(RunCommand(ShellQuote(kCli) + " exportar").exit_code, 2);
  const CommandResult missing =
      RunCommand(ShellQuote(kCli) + " exportar " + ShellQuote((ktemp / "no.xml").string()) +
                 " --ktemp " + ShellQuote(ktemp.path().string()));
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(missing.err, "No existe archivo\n" + (ktemp / "no.xml").string() + "\n");
  const CommandResult no_ktemp = Exportar(ktemp / "falta", "--marcos M");
  EXPECT_EQ(no_ktemp.exit_code, 3);
  EXPECT_NE(no_ktemp.err.find("falta"), std::string::npos) << no_ktemp.err;
}

// The export is read whole: one that does not fit in the memory the run may use (a sparse
// file of 250 MiB, within the bound of a document, under a 200 MiB limit of address space)
// ends the run with a message naming it.
TEST(ExportarTest, AnExportTooLargeForMemoryEndsWithAMessage) {
  if (kAddressSanitizer) GTEST_SKIP() << kNoOutOfMemoryUnderAddressSanitizer;
  TempFolder ktemp;
  const std::filesystem::path big = ktemp / "grande.xml";
  WriteFile(big, "");
  std::filesystem::resize_file(big, std::uintmax_t{250} << 20);
  const CommandResult run = RunCommand(
      "(ulimit -v 204800 && " + ShellQuote(kCli) + " exportar " + ShellQuote(big.string()) +
      " --ktemp " + ShellQuote(ktemp.path().string()) + " --nivelex " + ShellQuote(kNivelex) + ")");
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.err,
            "El archivo " + big.string() + " es demasiado grande para la memoria disponible.\n");
  EXPECT_EQ(run.out, "");
}

// Larger than any export could be: refused from its size, before a byte of it is read.
TEST(ExportarTest, AnExportLargerThanAnyDocumentIsRefusedBeforeItIsRead) {
  TempFolder ktemp;
  const std::filesystem::path huge = ktemp / "enorme.xml";
  WriteFile(huge, "");
  std::filesystem::resize_file(huge, std::uintmax_t{3} << 30);
  const CommandResult run =
      RunCommand(std::string("(") + (kAddressSanitizer ? "" : "ulimit -v 1048576 && ") +
                 ShellQuote(kCli) + " exportar " + ShellQuote(huge.string()) + " --ktemp " +
                 ShellQuote(ktemp.path().string()) + " --nivelex " + ShellQuote(kNivelex) + ")");
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.err, "No se puede leer el archivo " + huge.string() +
                         ": es demasiado grande: tiene 3221225472 bytes, y no puede pasar de "
                         "268435456.\n");
}

}  // namespace
}  // namespace zentrova::testing
