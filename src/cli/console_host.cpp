#include "cli/console_host.h"

#include <cstdio>

#include "app/error_message.h"
#include "app/run_steps.h"
#include "app/window_texts.h"
#include "cli/commands.h"
#include "error.h"
#include "import/dialog/time_frame_model.h"
#include "text/clipper.h"
#include "text/console.h"
#include "text/encoding.h"

namespace zentrova::cli {
namespace {

std::u16string FrameList(const std::vector<std::u16string>& frames) {
  std::u16string list;
  for (const auto& frame : frames) list += (list.empty() ? u"" : u", ") + text::AllTrim(frame);
  return list;
}

}  // namespace

std::optional<std::filesystem::path> ConsoleHost::ChooseXmlFile() {
  chosen_ = std::filesystem::absolute(xml_file_);
  return chosen_;
}

void ConsoleHost::ShowMessage(const std::u16string& text) {
  if (text == u"Proceso finalizado") {
    PrintLine(text);
    return;
  }
  PrintError(text);
  // The fixed message names no file; here no dialog shows which one was looked for.
  if (text == app::kNoFileMessage) PrintError(text::PathText(chosen_));
}

std::optional<size_t> FrameSelectedBy(const std::vector<std::u16string>& frames,
                                      const std::u16string& code) {
  for (size_t i = 0; i < frames.size(); ++i) {
    if (text::AllTrim(frames[i]) == code) return i;
  }
  return std::nullopt;
}

zentrova::import::FrameAnswer MarcosChooser::ChooseTimeFrames(
    const std::filesystem::path& export_file, const xml::Document& loaded) {
  import::TimeFrameModel model(export_file, &loaded);
  model.FormActivate();
  const auto& frames = model.frames();
  std::vector<bool> selected(frames.size(), false);
  message_.clear();
  if (!model.CanChoose()) {
    message_ = app::NoFrameChoiceReason(export_file, model.load_failed());
    return model.FormClose(selected).answer;
  }
  if (codes_.size() > 2) {
    message_ = import::kTooManyFramesMessage;
    return import::FrameAnswer{false, u"", true};
  }
  for (const auto& code : codes_) {
    const std::optional<size_t> frame = FrameSelectedBy(frames, code);
    if (!frame) {
      message_ = u"El marco horario '" + code + u"' no está en " + text::PathText(export_file) +
                 u". Marcos del archivo: " + FrameList(frames) + u".";
      return import::FrameAnswer{false, u"", true};
    }
    selected[*frame] = true;
  }
  const import::TimeFrameModel::Closing closing = model.FormClose(selected);
  if (!closing.message.empty()) {
    message_ =
        closing.message + u"\r\nIndique los marcos con --marcos (" + FrameList(frames) + u").";
  }
  // The dialog would be shown again; on the command line the run ends instead.
  if (!closing.answer.valid) return import::FrameAnswer{false, u"", true};
  return closing.answer;
}

app::FrameAnswer ConsoleHost::ChooseTimeFrames(const std::filesystem::path& export_file,
                                               const xml::Document& loaded) {
  MarcosChooser chooser(frame_codes_);
  const app::FrameAnswer answer = chooser.ChooseTimeFrames(export_file, loaded);
  if (!chooser.message().empty()) PrintError(chooser.message());
  return answer;
}

int RunReporting(const std::function<int()>& body) {
  try {
    return body();
  } catch (...) {
    PrintError(app::CurrentErrorMessage());
    return kExitError;
  }
}

int RunInConsole(const std::function<app::RunOutcome()>& run) {
  return RunReporting(
      [&] { return run() == app::RunOutcome::kCompleted ? kExitDone : kExitStopped; });
}

void PrintLine(const std::u16string& text) {
  text::WriteToConsole(text::ConsoleStream::kOutput, text::Utf16ToUtf8(text) + '\n');
}

void PrintError(const std::u16string& text) {
  std::fflush(stdout);
  text::WriteToConsole(text::ConsoleStream::kError, text::Utf16ToUtf8(text) + '\n');
}

}  // namespace zentrova::cli
