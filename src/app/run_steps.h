#ifndef ZENTROVA_APP_RUN_STEPS_H_
#define ZENTROVA_APP_RUN_STEPS_H_

// The steps both directions begin and end with.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/directions.h"
#include "app/host.h"
#include "app/process_state.h"
#include "report/run_report.h"

namespace zentrova::app {

inline constexpr char16_t kNoFileMessage[] = u"No existe archivo";

// Completes a conversion into `ktemp` that a crash interrupted, when no other run holds the
// folder. Whatever stops it (no folder, a folder in use, a move that fails again) is left to
// the next run, which reports it.
void FinishInterruptedConversion(const std::filesystem::path& ktemp);

// Shows the file dialog (a cancelled dialog keeps the file chosen before) and checks that the
// file exists. When it does not: kNoFileMessage, and in batch mode resultCode -1 and the
// window closes. True when the run can go on with state.filenameXML. Raises files::Error
// naming the file when it exists but is not a regular file (a folder, a FIFO, a device) or
// cannot be opened.
bool ChooseExistingFile(ProcessState& state, Host& host);

// Whether `file` exists (a link followed); raises as ChooseExistingFile when it exists but
// cannot be read.
bool ChosenFileExists(const std::filesystem::path& file);

// A run that stops at a check with `message`: the message is shown, and the report of the
// stop is saved where reports go (SaveReport).
RunOutcome StopRun(ProcessState& state, Host& host, const report::RunReport& base,
                   const std::u16string& message);

// The rest of a run once its file is chosen: the busy cursor while `body` runs. An error
// that ends the body before it changed anything (anything but an unfinished update of the
// exchange folder) reaches the user with `unchanged` after its own message, so that the user
// knows the files are as they were; the report of the error is saved first. A stop's message
// (what `body` gives) is shown once the body has let everything go, so the user can put things
// right while it is shown (StopRun); a body that gives nothing ends as a completed run
// (FinishRun) with the report `completed` makes from `base` and what the body found.
RunOutcome RunToTheEnd(ProcessState& state, Host& host, const report::RunReport& base,
                       const std::function<std::optional<std::u16string>()>& body,
                       std::u16string_view unchanged,
                       const std::function<report::RunReport()>& completed);

// The ending of a completed run: resultCode 1, the report saved where reports go,
// "Proceso finalizado", both direction buttons disabled, then in the window the report when it
// has findings, and in batch mode the window closes (batch mode never waits for a report).
RunOutcome FinishRun(ProcessState& state, Host& host, const report::RunReport& report);

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_RUN_STEPS_H_
