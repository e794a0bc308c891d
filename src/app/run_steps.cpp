#include "app/run_steps.h"

#include <filesystem>
#include <system_error>

#include "app/busy_cursor.h"
#include "files/folder_update.h"
#include "text/encoding.h"

namespace zentrova::app {

void FinishInterruptedConversion(const std::filesystem::path& ktemp) {
  try {
    const files::LockedFolder folder(ktemp);
  } catch (const Error&) {
    // Reported by the next run, if it still stands in its way.
  }
}

bool ChooseExistingFile(ProcessState& state, Host& host) {
  if (auto chosen = host.ChooseXmlFile()) state.filenameXML = *chosen;
  std::error_code error;
  if (!state.filenameXML.empty() && std::filesystem::is_regular_file(state.filenameXML, error)) {
    return true;
  }
  host.ShowMessage(kNoFileMessage);
  if (state.InBatchMode()) {
    state.resultCode = -1;
    host.CloseWindow();
  }
  return false;
}

RunOutcome RunToTheEnd(ProcessState& state, Host& host,
                       const std::function<std::optional<std::u16string>()>& body,
                       std::u16string_view unchanged) {
  BusyCursor busy(host);
  std::optional<std::u16string> problem;
  try {
    problem = body();
  } catch (const files::UnfinishedUpdate&) {
    throw;
  } catch (Error& error) {
    error.AddSentence(text::Utf16ToUtf8(unchanged));
    throw;
  }
  busy.Restore();
  if (problem) {
    host.ShowMessage(*problem);
    return RunOutcome::kStopped;
  }
  return FinishRun(state, host);
}

RunOutcome FinishRun(ProcessState& state, Host& host) {
  state.resultCode = 1;
  host.ShowMessage(u"Proceso finalizado");
  host.SetDirectionButtonsEnabled(false);
  if (state.InBatchMode()) host.CloseWindow();
  return RunOutcome::kCompleted;
}

}  // namespace zentrova::app
