// The second direction: the timetable the timetabling product computed, back into a Vetrana
// document beside the chosen export.

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/directions.h"
#include "app/run_steps.h"
#include "export/period.h"
#include "export/timetable_document.h"
#include "export/timetable_run.h"
#include "files/file_replacement.h"
#include "files/folder_update.h"
#include "import/exchange_update.h"

namespace zentrova::app {
namespace {

constexpr char16_t kNoPeriods[] =
    u"ATENCIÓN - PERIODOS.DBF No encontrado - Importe de nuevo XML de VETRANA.";

timetable_export::ExportTables TablesOf(ExchangeTables& tables) {
  return {tables.wwTableSoluc, tables.wwTableGrupos, tables.wwTableCursos, tables.wwTableProfesor,
          tables.wwTableAulas, tables.wwTableNomAsg, tables.wwTableTramos, tables.wwTableAsig};
}

// The run proper. It holds, from its start until the result is saved, the exchange folder
// (locked, a conversion that a crash interrupted completed first), the tables it reads and
// its result file, and lets them go when it returns. A message when it stops at a check.
std::optional<std::u16string> WriteResult(ProcessState& state) {
  const files::LockedFolder folder(state.paths.ktemp, import::ExchangeFiles());
  timetable_export::OpenTables open(TablesOf(state.tables));
  files::FileReplacement result(timetable_export::ResultPath(state.filenameXML));
  state.document = std::make_unique<xml::Document>();
  const xml::LoadResult load = state.document->Load(state.filenameXML);
  // The year cannot be read from a file that is not an export: the run stops here, before
  // anything is written.
  if (auto problem =
          timetable_export::CheckChosenExport(*state.document, load, state.filenameXML)) {
    return problem;
  }
  const timetable_export::TimetableRun run{state.paths.ktemp, state.filenameXML,
                                           timetable_export::AcademicYear(*state.document),
                                           std::chrono::system_clock::now};
  if (!timetable_export::PeriodTableExists(state.paths.ktemp)) return kNoPeriods;
  timetable_export::WriteTimetableDocument(*state.document, open, run, result);
  return std::nullopt;
}

}  // namespace

RunOutcome BImportarClick(ProcessState& state, Host& host) {
  if (!ChooseExistingFile(state, host)) return RunOutcome::kStopped;
  return RunToTheEnd(
      state, host, [&] { return WriteResult(state); }, timetable_export::kNothingWritten);
}

}  // namespace zentrova::app
