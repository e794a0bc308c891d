#include "export/timetable_run.h"

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

std::filesystem::path WriteTimetableDocument(xml::Document& document, OpenTables& open,
                                             const TimetableRun& run,
                                             files::FileReplacement& result) {
  const ExportTables& tables = open.tables();
  const Period period = ReadPeriod(run.ktemp);
  EmptyDocument(document);
  xml::Node timetables = WriteEnvelope(document, RunDateText(run.clock()), run.academic_year,
                                       tables.proft.RecordCount());
  SolutionTable soluc(tables.soluc);
  Lookups lookups(tables.asigt, tables.asignomt, tables.diashorast, tables.grupost);
  // The document is written as it is built: a teacher's group leaves it once written.
  xml::StreamingSave saved(document, timetables, result);
  WriteTeacherTimetables(timetables, tables.proft, soluc, lookups, period,
                         [&](xml::Node group) { saved.Write(group); });
  saved.Finish();
  open.Close();
  return result.target();
}

}  // namespace zentrova::timetable_export
