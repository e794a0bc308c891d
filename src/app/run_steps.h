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

// The rest of a run once its file is chosen: the busy cursor while `body` runs. An error
// that ends the body before it changed anything (anything but an unfinished update of the
// exchange folder) reaches the user with `unchanged` after its own message, so that the user
// knows the files are as they were. A stop's message (what `body` gives) is shown once the
// body has let everything go, so the user can put things right while it is shown; a body
// that gives nothing ends as a completed run (FinishRun).
RunOutcome RunToTheEnd(ProcessState& state, Host& host,
                       const std::function<std::optional<std::u16string>()>& body,
                       std::u16string_view unchanged);

// The ending of a completed run: resultCode 1, "Proceso finalizado", both direction buttons
// disabled, and in batch mode the window closes.
RunOutcome FinishRun(ProcessState& state, Host& host);

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_RUN_STEPS_H_
