#ifndef ZENTROVA_EXPORT_TIMETABLE_RUN_H_
#define ZENTROVA_EXPORT_TIMETABLE_RUN_H_

// The body of the timetable run: the exchange tables opened, the chosen export checked and
// rebuilt as a document of regular timetables, and saved beside it. The driver (app) chooses
// the file and reports the outcome; a review builds the document and saves nothing.

#include <filesystem>
#include <optional>
#include <string>

#include "export/run_date.h"
#include "export/timetable_observer.h"
#include "files/file_replacement.h"
#include "store/table.h"
#include "xml/document.h"

namespace zentrova::timetable_export {

// The eight exchange tables the run opens, the main window's components.
struct ExportTables {
  store::Table& soluc;
  store::Table& grupost;
  store::Table& cursost;
  store::Table& proft;
  store::Table& aulat;
  store::Table& asignomt;
  store::Table& diashorast;
  store::Table& asigt;
};

// Opens the eight tables exclusively, in the order SOLUC, GRUPOST, CURSOST, PROFT, AULAT,
// ASIGNOMT, DIASHORAST, ASIGT (a table already open stays open), and closes them all when it
// goes, also when an error or a stop ends the run. A table that will not open raises its
// store::Error after the ones opened before it are closed again.
class OpenTables {
 public:
  explicit OpenTables(const ExportTables& tables);
  ~OpenTables();
  OpenTables(const OpenTables&) = delete;
  OpenTables& operator=(const OpenTables&) = delete;

  const ExportTables& tables() const { return tables_; }
  void Close();

 private:
  ExportTables tables_;
};

// Everything the body needs besides the open tables.
struct TimetableRun {
  std::filesystem::path ktemp;        // where PERIODOS.DBF is read
  std::filesystem::path chosen_file;  // the loaded export; the result goes beside it
  std::u16string academic_year;
  RunClock clock;  // the moment written as `fecha`
};

// The chosen export loaded into `document` and checked before anything is built: what the
// run builds from, or why it stops.
struct PreparedRun {
  std::optional<std::u16string> stop;  // the message of a stop: nothing is built then
  TimetableRun run;                    // when there is no stop
};

// Loads `chosen` into `document`; stops when it cannot give the academic year
// (CheckChosenExport) or when PERIODOS.DBF is not in `ktemp` (kNoPeriodsMessage).
PreparedRun PrepareRun(xml::Document& document, const std::filesystem::path& ktemp,
                       const std::filesystem::path& chosen, RunClock clock);

// Reads the period from PERIODOS.DBF, empties the loaded `document`, writes the envelope and
// one timetable per teacher, telling `observer` what it writes. Errors (store, document, a
// value that does not convert) pass through.
void BuildTimetableDocument(xml::Document& document, const ExportTables& tables,
                            const TimetableRun& run,
                            TimetableObserver& observer = IgnoreTimetable());

// As BuildTimetableDocument, saving the document through `result` (which holds
// ResultPath(run.chosen_file) from the start of the run) as it is built, then closes the
// tables. Gives the saved path. Each teacher's group is written out and dropped once
// complete, so that the document never holds more than one: afterwards it holds the envelope
// without them. Any error leaves before the result is committed, so the file is left as it
// was.
std::filesystem::path WriteTimetableDocument(xml::Document& document, OpenTables& open,
                                             const TimetableRun& run,
                                             files::FileReplacement& result,
                                             TimetableObserver& observer = IgnoreTimetable());

}  // namespace zentrova::timetable_export

#endif  // ZENTROVA_EXPORT_TIMETABLE_RUN_H_
