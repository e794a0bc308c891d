#include "app/run_steps.h"

#include <filesystem>
#include <system_error>

namespace zentrova::app {

bool ChooseExistingFile(ProcessState& state, Host& host) {
  if (auto chosen = host.ChooseXmlFile()) state.filenameXML = *chosen;
  std::error_code error;
  if (!state.filenameXML.empty() && std::filesystem::is_regular_file(state.filenameXML, error)) {
    return true;
  }
  host.ShowMessage(kNoFileMessage);
  if (state.runMode == 2) {
    state.resultCode = -1;
    host.CloseWindow();
  }
  return false;
}

RunOutcome FinishRun(ProcessState& state, Host& host) {
  state.resultCode = 1;
  host.ShowMessage(u"Proceso finalizado");
  host.SetDirectionButtonsEnabled(false);
  if (state.runMode == 2) host.CloseWindow();
  return RunOutcome::kCompleted;
}

}  // namespace zentrova::app
