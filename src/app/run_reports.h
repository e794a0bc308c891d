#ifndef ZENTROVA_APP_RUN_REPORTS_H_
#define ZENTROVA_APP_RUN_REPORTS_H_

// Where the report of a run goes: into the file the command line names (--informe), or in
// batch mode into a new file beside the chosen export; the window shows it after "Proceso
// finalizado" when the run has findings (FinishRun).

#include <filesystem>
#include <optional>
#include <string>

#include "app/host.h"
#include "app/process_state.h"
#include "report/run_report.h"

namespace zentrova::app {

// The report's heading for a run of `direction` on state.filenameXML, begun now.
report::RunReport ReportBase(const ProcessState& state, report::Direction direction);

// Whether anyone reads the report of a run: the window, batch mode's file or --informe. When
// nobody does, the run collects no findings.
bool ReportIsRead(const ProcessState& state, const Host& host);

// A path in `folder` for a file named `name` that no file has: the name itself, or with "_2",
// "_3", ... before its extension.
std::filesystem::path UnusedPath(const std::filesystem::path& folder,
                                 const std::filesystem::path& name);

// Writes `report` where it goes (above); nothing when it goes nowhere. A report that cannot be
// written changes nothing of the run: the message that says so is given back, for the user.
std::optional<std::u16string> SaveReport(const ProcessState& state,
                                         const report::RunReport& report);

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_RUN_REPORTS_H_
