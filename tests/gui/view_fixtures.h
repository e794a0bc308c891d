#ifndef ZENTROVA_TESTS_GUI_VIEW_FIXTURES_H_
#define ZENTROVA_TESTS_GUI_VIEW_FIXTURES_H_

// What the tests of both views of the window (Qt and Win32) run on: the sample export, a
// small level table, exports with time frames for the time-frame dialog, and a report.

#include <filesystem>
#include <string>
#include <vector>

#include "import/level_table.h"
#include "report/run_report.h"

namespace zentrova::testing {

inline const std::filesystem::path kSample =
    std::filesystem::path(ZENTROVA_SOURCE_DIR) / "data" / "muestra" / "instituto.xml";

// A level table with two of the sample's course offers, as the installed one is laid out.
inline void WriteLevelTable(const std::filesystem::path& path) {
  import::WriteLevelTable(path, {{305, u"ESO", u"Educación Secundaria Obligatoria"},
                                 { 410,
                                   u"BACH",
                                   u"Bachillerato" }});
}

struct Frame {
  std::string code, name, start, end;
};
struct Slot {
  std::string text, frame;
};

inline std::string Record(const std::vector<std::string>& values) {
  std::string xml = "<grupo_datos>";
  for (const auto& value : values) xml += "<dato nombre_dato=\"X\">" + value + "</dato>";
  return xml + "</grupo_datos>";
}

// An export with these frames and slots (each slot 08:00 to 08:55).
inline std::string BuildExport(const std::vector<Frame>& frames, const std::vector<Slot>& slots) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SERVICIO><BLOQUE_DATOS>"
      "<grupo_datos seq=\"JORNADAS_ESCOLARES\">";
  for (const Frame& f : frames) xml += Record({f.code, f.name, f.start, f.end});
  xml += "</grupo_datos><grupo_datos seq=\"TRAMOS_HORARIOS\">";
  int number = 0;
  for (const Slot& s : slots) {
    xml += Record({std::to_string(++number), s.text, "480", "535", s.frame});
  }
  return xml + "</grupo_datos></BLOQUE_DATOS></SERVICIO>";
}

inline const std::vector<Frame> kFrames = {
    {"X", "Jornada de mañana", "01/09/2024", "30/06/2025"},
    {"Y", "Jornada de tarde", "01/09/2024", "31/05/2025"},
    {"Z", "Jornada de verano", "01/06/2025", "30/06/2025"},
};
inline const std::vector<Slot> kSlots = {
    {"1ª mañana", "X"}, {"1ª tarde", "Y"}, {"2ª mañana", "X"}, {"verano", "Z"}, {"3ª mañana", "X"},
};

// The report of a run of the second direction on `export_file` with two kinds of finding.
inline report::RunReport SomeReport(const std::filesystem::path& export_file) {
  report::RunReport report;
  report.direction = report::Direction::kOrbelinToVetrana;
  report.export_file = export_file;
  report.exchange_folder = export_file.parent_path() / "KTEMP";
  report.outcome = report::kProcessFinished;
  report.has_findings = true;
  report.summary = {u"2 lecciones no se escriben: su profesor no está en PROFT.",
                    u"1 lección va sin unidad: su grupo no está en GRUPOST."};
  report.details = {u"", u"Profesor desconocido (profesor_desconocido): 2 filas",
                    u"  Fila 3: PROF «gar» no es el ABREV de ningún profesor de PROFT."};
  return report;
}

}  // namespace zentrova::testing

#endif  // ZENTROVA_TESTS_GUI_VIEW_FIXTURES_H_
