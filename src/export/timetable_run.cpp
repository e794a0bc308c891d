#include "export/timetable_run.h"

#include <utility>

#include "export/lookups.h"
#include "export/period.h"
#include "export/solution_table.h"
#include "export/teacher_timetables.h"
#include "export/timetable_document.h"
#include "xml/streaming_save.h"

namespace zentrova::timetable_export {
namespace {

std::vector<store::Table*> InOpeningOrder(const ExportTables& t) {
  return {&t.soluc, &t.grupost,  &t.cursost,    &t.proft,
          &t.aulat, &t.asignomt, &t.diashorast, &t.asigt};
}

}  // namespace

OpenTables::OpenTables(const ExportTables& tables) : tables_(tables) {
  try {
    for (store::Table* table : InOpeningOrder(tables_)) table->Open(store::OpenMode::kExclusive);
  } catch (...) {
    Close();
    throw;
  }
}

OpenTables::~OpenTables() {
  try {
    Close();
  } catch (...) {
    // The tables are only read, so closing has nothing to store; an error already under way
    // is the one to report.
  }
}

void OpenTables::Close() {
  for (store::Table* table : InOpeningOrder(tables_)) table->Close();
}

PreparedRun PrepareRun(xml::Document& document, const std::filesystem::path& ktemp,
                       const std::filesystem::path& chosen, RunClock clock) {
  PreparedRun prepared;
  const xml::LoadResult load = document.Load(chosen);
  // The year cannot be read from a file that is not an export: the run stops here, before
  // anything is written.
  prepared.stop = CheckChosenExport(document, load, chosen);
  if (prepared.stop) return prepared;
  prepared.run = TimetableRun{ktemp, chosen, AcademicYear(document), std::move(clock)};
  if (!PeriodTableExists(ktemp)) prepared.stop = kNoPeriodsMessage;
  return prepared;
}

namespace {

// The envelope and the teachers' groups. With `result`, each group is saved through it once
// complete and dropped, and the file is committed at the end; without, the document keeps them.
void BuildTimetables(xml::Document& document, const ExportTables& tables, const TimetableRun& run,
                     TimetableObserver& observer, files::FileReplacement* result) {
  const Period period = ReadPeriod(run.ktemp);
  EmptyDocument(document);
  xml::Node timetables = WriteEnvelope(document, RunDateText(run.clock()), run.academic_year,
                                       tables.proft.RecordCount());
  SolutionTable soluc(tables.soluc);
  Lookups lookups(tables.asigt, tables.asignomt, tables.diashorast, tables.grupost);
  if (result == nullptr) {
    WriteTeacherTimetables(timetables, tables.proft, soluc, lookups, period, observer);
    return;
  }
  xml::StreamingSave saved(document, timetables, *result);
  WriteTeacherTimetables(timetables, tables.proft, soluc, lookups, period, observer,
                         [&](xml::Node group) { saved.Write(group); });
  saved.Finish();
}

}  // namespace

void BuildTimetableDocument(xml::Document& document, const ExportTables& tables,
                            const TimetableRun& run, TimetableObserver& observer) {
  BuildTimetables(document, tables, run, observer, nullptr);
}

std::filesystem::path WriteTimetableDocument(xml::Document& document, OpenTables& open,
                                             const TimetableRun& run,
                                             files::FileReplacement& result,
                                             TimetableObserver& observer) {
  BuildTimetables(document, open.tables(), run, observer, &result);
  open.Close();
  return result.target();
}

}  // namespace zentrova::timetable_export
