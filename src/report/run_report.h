#ifndef ZENTROVA_REPORT_RUN_REPORT_H_
#define ZENTROVA_REPORT_RUN_REPORT_H_

// What a run did, for the person who ran it, built once for every front end: the window shows
// it after "Proceso finalizado", batch mode leaves it beside the chosen export, the command
// line writes it with --informe. A heading (the direction, the export, the exchange folder,
// the moment and how the run ended), a summary with a line per kind of finding, and the
// details below.

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "export/timetable_report.h"
#include "import/conversion_report.h"

namespace zentrova::report {

// What a run that went through to its end says.
inline constexpr char16_t kProcessFinished[] = u"Proceso finalizado";

// The caption of the window that shows a report.
inline constexpr char16_t kReportTitle[] = u"Informe de la conversión";

enum class Direction {
  kVetranaToOrbelin,  // exportar
  kOrbelinToVetrana,  // importar
};

struct RunReport {
  Direction direction = Direction::kVetranaToOrbelin;
  std::filesystem::path export_file;             // the chosen export
  std::filesystem::path exchange_folder;         // where the tables are
  std::chrono::system_clock::time_point moment;  // when the run began
  // "Proceso finalizado", or the message the run stopped with.
  std::u16string outcome;
  // Whether the run did anything the user should look at: the window shows the report then.
  bool has_findings = false;
  std::vector<std::u16string> summary;  // one line per kind of finding, or one that says none
  std::vector<std::u16string> details;  // the findings, indented under their headings
};

// A run that went through to its end (kProcessFinished), with what it found.
RunReport ReportOfConversion(RunReport base, const std::vector<import::GroupReport>& groups);
RunReport ReportOfTimetable(RunReport base, const timetable_export::TimetableReport& findings);
// A run that did not finish: it stopped at a check, or an error ended it, with `message`.
RunReport ReportOfStop(RunReport base, const std::u16string& message);

// The direction as the window's label names it, the export, the exchange folder, the moment
// (local time, day/month/year) and the outcome, one line each.
std::vector<std::u16string> HeadingLines(const RunReport& report);
// What a window shows first: a line that says how the run ended, then the summary lines, each
// on a line of its own after a bullet.
std::u16string GlanceText(const RunReport& report);
// The whole report: the title, the heading, "Resumen:" with the summary lines, then
// "Detalle:" with the details when there are any. Lines end with "\n".
std::u16string ReportText(const RunReport& report);

// The report as a text file: UTF-8 with a byte-order mark (Windows' Notepad then shows the
// accents) and CRLF line ends.
std::string ReportFileBytes(const RunReport& report);
// Writes ReportFileBytes to `file`, replacing it whole. Raises files::Error naming the file.
void WriteReportFile(const std::filesystem::path& file, const RunReport& report);

// The name of the report's file: "InformeZentrova_", the direction's word (exportar or
// importar), the export's name without extension and the moment, local time:
// InformeZentrova_exportar_instituto_2026-09-15_08-30-05.txt.
std::filesystem::path ReportFileName(const RunReport& report);

}  // namespace zentrova::report

#endif  // ZENTROVA_REPORT_RUN_REPORT_H_
