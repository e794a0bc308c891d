#ifndef ZENTROVA_CLI_CONSOLE_HOST_H_
#define ZENTROVA_CLI_CONSOLE_HOST_H_

// The host of a direction run on the command line: the file comes from the arguments,
// messages go to stderr ("Proceso finalizado" to stdout; "No existe archivo" followed by a
// line with the absolute path looked for), the frame choice is given in advance.

#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/directions.h"
#include "app/host.h"

namespace zentrova::cli {

class ConsoleHost : public app::Host {
 public:
  explicit ConsoleHost(std::filesystem::path xml_file) : xml_file_(std::move(xml_file)) {}

  // The frame codes that answer the time-frame dialog (--marcos): each selects the first
  // frame whose code, trimmed, equals it. An unknown code, none or more than two end the run.
  void set_frame_codes(std::vector<std::u16string> codes) { frame_codes_ = std::move(codes); }

  std::optional<std::filesystem::path> ChooseXmlFile() override;
  void ShowMessage(const std::u16string& text) override;
  void SetBusy(bool) override {}
  app::FrameAnswer ChooseTimeFrames(const std::filesystem::path& export_file) override;
  void SetDirectionButtonsEnabled(bool) override {}
  void CloseWindow() override {}

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
