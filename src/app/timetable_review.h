#ifndef ZENTROVA_APP_TIMETABLE_REVIEW_H_
#define ZENTROVA_APP_TIMETABLE_REVIEW_H_

// What `importar` would do with the exchange folder, without writing anything: the second
// direction's checks, tables, reading and look-ups, run as a conversion runs them (the same
// code, with a timetable_export::TimetableReport listening), and the document built in memory
// and let go. Nothing of the exchange folder changes: its lock is taken while the tables are
// read and removed afterwards, and a conversion that a crash interrupted is not completed (the
// review stops instead, since importar would complete it first).

#include <filesystem>
#include <optional>
#include <string>

#include "export/timetable_report.h"

namespace zentrova::app {

struct TimetableReview {
  std::filesystem::path file;   // the chosen export, made absolute as a run names it
  std::filesystem::path ktemp;  // the exchange folder
  // The message `importar` would stop with; nothing when it would complete.
  std::optional<std::u16string> stop;
  // What it would write; empty after a stop.
  timetable_export::TimetableReport findings;
};

// Reviews the timetable of `ktemp` for the export `file`. Raises what `importar` would raise
// (an export that exists but cannot be read, a table missing or held by another program, a
// value that does not convert), with the same message.
TimetableReview ReviewTimetable(const std::filesystem::path& file,
                                const std::filesystem::path& ktemp);

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_TIMETABLE_REVIEW_H_
