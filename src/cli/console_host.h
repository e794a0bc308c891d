#ifndef ZENTROVA_CLI_CONSOLE_HOST_H_
#define ZENTROVA_CLI_CONSOLE_HOST_H_

// The host of a direction run on the command line: the file comes from the arguments,
// messages go to stderr ("Proceso finalizado" to stdout; "No existe archivo" followed by a
// line with the absolute path looked for), the frame choice is given in advance, and no report
// is shown.

#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/directions.h"
#include "app/host.h"
#include "import/frame_choice.h"

namespace zentrova::cli {

// The time-frame dialog answered with the frame codes of --marcos, as a user would click it:
// each code selects the first frame whose code, trimmed, equals it; the chosen items go in
// list order. An unknown code, none or more than two give no valid answer: the run ends
// (abandon) and message() says why.
class MarcosChooser : public import::FrameChooser {
 public:
  explicit MarcosChooser(std::vector<std::u16string> codes) : codes_(std::move(codes)) {}

  import::FrameAnswer ChooseTimeFrames(const std::filesystem::path& export_file,
                                       const xml::Document& loaded) override;
  // Why the last answer ended the run; empty after a valid one.
  const std::u16string& message() const { return message_; }

 private:
  std::vector<std::u16string> codes_;
  std::u16string message_;
};

// The index of the frame that --marcos `code` selects among the dialog's `frames`; nothing
// when it selects none.
std::optional<size_t> FrameSelectedBy(const std::vector<std::u16string>& frames,
                                      const std::u16string& code);

class ConsoleHost : public app::Host {
 public:
  explicit ConsoleHost(std::filesystem::path xml_file) : xml_file_(std::move(xml_file)) {}

  // The frame codes that answer the time-frame dialog (--marcos): each selects the first
  // frame whose code, trimmed, equals it. An unknown code, none or more than two end the run.
  void set_frame_codes(std::vector<std::u16string> codes) { frame_codes_ = std::move(codes); }

  std::optional<std::filesystem::path> ChooseXmlFile() override;
  void ShowMessage(const std::u16string& text) override;
  void SetBusy(bool) override {}
  app::FrameAnswer ChooseTimeFrames(const std::filesystem::path& export_file,
                                    const xml::Document& loaded) override;
  void SetDirectionButtonsEnabled(bool) override {}
  void CloseWindow() override {}
  // The command line shows no report: --informe writes it (ProcessState::report_file).
  void ShowReport(const report::RunReport&) override {}
  bool ShowsReports() const override { return false; }

 private:
  std::filesystem::path xml_file_;
  std::filesystem::path chosen_;  // xml_file_ made absolute, as the run looks for it
  std::vector<std::u16string> frame_codes_;
};

// Runs the body of a subcommand and gives its exit status. An exception that escapes the body
// is shown on stderr as app::ErrorMessage words it, and gives kExitError.
int RunReporting(const std::function<int()>& body);

// Runs a direction and gives the exit status: kExitDone after a completed run, kExitStopped
// after an expected stop, else as RunReporting.
int RunInConsole(const std::function<app::RunOutcome()>& run);

// Writes a UTF-8 line to stdout / stderr.
void PrintLine(const std::u16string& text);
void PrintError(const std::u16string& text);

}  // namespace zentrova::cli

#endif  // ZENTROVA_CLI_CONSOLE_HOST_H_
