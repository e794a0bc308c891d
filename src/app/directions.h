#ifndef ZENTROVA_APP_DIRECTIONS_H_
#define ZENTROVA_APP_DIRECTIONS_H_

// The two direction drivers, the bodies of the main window's handlers. They speak to their
// surroundings only through the host. Errors (store::Error, xml::Error, conversion errors)
// pass through to the front end's top level, which shows the message; tables written before
// stay as they are.

#include "app/host.h"
#include "app/process_state.h"

namespace zentrova::app {

// How a run ended, for a front end that reports it (the command line's exit status).
enum class RunOutcome {
  kCompleted,  // "Proceso finalizado" shown, resultCode 1, buttons disabled
  kStopped,    // stopped at an expected condition, its message shown
};

// Vetrana's export into the exchange tables.
RunOutcome BExportarClick(ProcessState& state, Host& host);
// The computed timetable back into a Vetrana document beside the chosen file.
RunOutcome BImportarClick(ProcessState& state, Host& host);

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_DIRECTIONS_H_
