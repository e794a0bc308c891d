#include "report/run_report.h"

#include <ctime>

#include "files/file_replacement.h"
#include "files/local_time.h"
#include "report/conversion_findings.h"
#include "report/timetable_findings.h"
#include "report/wording.h"
#include "text/encoding.h"

namespace zentrova::report {
namespace {

// `value` in decimal with at least `digits` digits.
std::u16string Padded(int value, size_t digits) {
  std::u16string text = Number(static_cast<size_t>(value));
  if (text.size() < digits) text.insert(0, digits - text.size(), u'0');
  return text;
}

std::u16string DirectionText(Direction direction) {
  return direction == Direction::kVetranaToOrbelin
             ? u"Transformar datos desde Vetrana hacia Orbelin"
             : u"Transformar datos desde Orbelin hacia Vetrana";
}

std::u16string Joined(const std::vector<std::u16string>& lines) {
  std::u16string text;
  for (const auto& line : lines) text += line + u"\n";
  return text;
}

}  // namespace

RunReport ReportOfConversion(RunReport base, const std::vector<import::GroupReport>& groups) {
  base.outcome = kProcessFinished;
  base.has_findings = HasFindings(groups);
  base.summary = ConversionSummary(groups);
  base.details = TableLines(groups);
  return base;
}

RunReport ReportOfTimetable(RunReport base, const timetable_export::TimetableReport& findings) {
  base.outcome = kProcessFinished;
  base.has_findings = !findings.findings().empty();
  base.summary = TimetableSummary(findings);
  base.details = FindingLines(findings);
  return base;
}

RunReport ReportOfStop(RunReport base, const std::u16string& message) {
  base.outcome = message;
  base.has_findings = false;
  base.summary = {u"La conversión no ha terminado: «Resultado» dice por qué."};
  base.details.clear();
  return base;
}

std::vector<std::u16string> HeadingLines(const RunReport& report) {
  const std::tm local = files::LocalTime(report.moment);
  std::vector<std::u16string> lines = {
      DirectionText(report.direction), u"Exportación: " + text::PathText(report.export_file),
      u"Carpeta de intercambio: " + text::PathText(report.exchange_folder),
      u"Fecha: " + Padded(local.tm_mday, 2) + u"/" + Padded(local.tm_mon + 1, 2) + u"/" +
          Padded(local.tm_year + 1900, 4) + u" " + Padded(local.tm_hour, 2) + u":" +
          Padded(local.tm_min, 2) + u":" + Padded(local.tm_sec, 2)};
  const std::vector<std::u16string> outcome = Lines(report.outcome);
  lines.push_back(u"Resultado: " + outcome.front());
  for (size_t i = 1; i < outcome.size(); ++i) lines.push_back(u"  " + outcome[i]);
  return lines;
}

std::u16string GlanceText(const RunReport& report) {
  std::u16string text = report.outcome == kProcessFinished
                            ? u"La conversión ha terminado con estas novedades:"
                            : u"La conversión no ha terminado:";
  for (const auto& line : report.summary) text += u"\n• " + line;
  return text;
}

std::u16string ReportText(const RunReport& report) {
  std::u16string text =
      std::u16string(kReportTitle) + u"\n\n" + Joined(HeadingLines(report)) + u"\nResumen:\n";
  for (const auto& line : report.summary) text += u"  " + line + u"\n";
  // The details begin with a blank line of their own.
  if (!report.details.empty()) text += u"\nDetalle:\n" + Joined(report.details);
  return text;
}

std::string ReportFileBytes(const RunReport& report) {
  std::string bytes = "\xEF\xBB\xBF";
  for (const auto& line : Lines(ReportText(report))) bytes += text::Utf16ToUtf8(line) + "\r\n";
  // The text ends with a line end, which Lines gives as a last, empty line.
  bytes.resize(bytes.size() - 2);
  return bytes;
}

void WriteReportFile(const std::filesystem::path& file, const RunReport& report) {
  files::ReplaceFile(file, ReportFileBytes(report));
}

std::filesystem::path ReportFileName(const RunReport& report) {
  const std::tm local = files::LocalTime(report.moment);
  const std::u16string moment = Padded(local.tm_year + 1900, 4) + u"-" +
                                Padded(local.tm_mon + 1, 2) + u"-" + Padded(local.tm_mday, 2) +
                                u"_" + Padded(local.tm_hour, 2) + u"-" + Padded(local.tm_min, 2) +
                                u"-" + Padded(local.tm_sec, 2);
  const std::u16string direction =
      report.direction == Direction::kVetranaToOrbelin ? u"exportar" : u"importar";
  std::filesystem::path name(u"InformeZentrova_" + direction + u"_");
  name += report.export_file.stem();
  name += std::filesystem::path(u"_" + moment + u".txt");
  return name;
}

}  // namespace zentrova::report
