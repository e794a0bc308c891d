// The second direction: the timetable the timetabling product computed, back into a Vetrana
// document beside the chosen export.

#include <chrono>
#include <filesystem>

#include "app/busy_cursor.h"
#include "app/directions.h"
#include "app/run_steps.h"
#include "export/period.h"
#include "export/timetable_document.h"
#include "export/timetable_run.h"

namespace zentrova::app {
namespace {

constexpr char16_t kNoPeriods[] =
    u"ATENCIÓN - PERIODOS.DBF No encontrado - Importe de nuevo XML de VETRANA.";

// A stop at a check: the tables are let go and the cursor restored before the message, so
// the user can put things right while it is shown.
RunOutcome Stop(timetable_export::OpenTables& open, BusyCursor& busy, Host& host,
                const std::u16string& message) {
  open.Close();
  busy.Restore();
  host.ShowMessage(message);
  return RunOutcome::kStopped;
}

timetable_export::ExportTables TablesOf(ExchangeTables& tables) {
  return {tables.wwTableSoluc, tables.wwTableGrupos, tables.wwTableCursos, tables.wwTableProfesor,
          tables.wwTableAulas, tables.wwTableNomAsg, tables.wwTableTramos, tables.wwTableAsig};
}

}  // namespace

RunOutcome BImportarClick(ProcessState& state, Host& host) {
  if (!ChooseExistingFile(state, host)) return RunOutcome::kStopped;

  BusyCursor busy(host);
  // Declared after the cursor, so the tables are closed first when an error leaves.
  timetable_export::OpenTables open(TablesOf(state.tables));
  state.document = std::make_unique<xml::Document>();
  const xml::LoadResult load = state.document->Load(state.filenameXML);
  // The year cannot be read from a file that is not an export: the run stops here, before
  // anything is written.
  if (auto problem =
          timetable_export::CheckChosenExport(*state.document, load, state.filenameXML)) {
    return Stop(open, busy, host, *problem);
  }
  timetable_export::TimetableRun run{state.paths.ktemp, state.filenameXML,
                                     timetable_export::AcademicYear(*state.document),
                                     std::chrono::system_clock::now};
  if (!timetable_export::PeriodTableExists(state.paths.ktemp)) {
    return Stop(open, busy, host, kNoPeriods);
  }

  timetable_export::WriteTimetableDocument(*state.document, open, run);
  busy.Restore();
  return FinishRun(state, host);
}

}  // namespace zentrova::app
