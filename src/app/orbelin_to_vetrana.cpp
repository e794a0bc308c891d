// The second direction: the timetable the timetabling product computed, back into a Vetrana
// document beside the chosen export.

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/directions.h"
#include "app/run_reports.h"
#include "app/run_steps.h"
#include "export/timetable_document.h"
#include "export/timetable_report.h"
#include "export/timetable_run.h"
#include "files/file_replacement.h"
#include "files/folder_update.h"
#include "import/exchange_update.h"

namespace zentrova::app {
namespace {

// The run proper. It holds, from its start until the result is saved, the exchange folder
// (locked, a conversion that a crash interrupted completed first), the tables it reads and
// its result file, and lets them go when it returns. A message when it stops at a check.
std::optional<std::u16string> WriteResult(ProcessState& state,
                                          timetable_export::TimetableObserver& observer) {
  const files::LockedFolder folder(state.paths.ktemp, import::ExchangeFiles());
  timetable_export::OpenTables open(TimetableTablesOf(state.tables));
  files::FileReplacement result(timetable_export::ResultPath(state.filenameXML));
  state.document = std::make_unique<xml::Document>();
  const timetable_export::PreparedRun prepared = timetable_export::PrepareRun(
      *state.document, state.paths.ktemp, state.filenameXML, std::chrono::system_clock::now);
  if (prepared.stop) return prepared.stop;
  timetable_export::WriteTimetableDocument(*state.document, open, prepared.run, result, observer);
  return std::nullopt;
}

}  // namespace

RunOutcome BImportarClick(ProcessState& state, Host& host) {
  if (!ChooseExistingFile(state, host)) return RunOutcome::kStopped;
  const report::RunReport base = ReportBase(state, report::Direction::kOrbelinToVetrana);
  // What the export does is collected only for someone who reads it.
  timetable_export::TimetableReport findings;
  timetable_export::TimetableObserver& observer =
      ReportIsRead(state, host) ? findings : timetable_export::IgnoreTimetable();
  return RunToTheEnd(
      state, host, base, [&] { return WriteResult(state, observer); },
      timetable_export::kNothingWritten, [&] { return report::ReportOfTimetable(base, findings); });
}

}  // namespace zentrova::app
