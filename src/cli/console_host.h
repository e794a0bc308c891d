#ifndef ZENTROVA_CLI_CONSOLE_HOST_H_
#define ZENTROVA_CLI_CONSOLE_HOST_H_

// The host of a direction run on the command line: the file comes from the arguments,
// messages go to stderr ("Proceso finalizado" to stdout), the frame choice is given in
// advance.

#include <filesystem>
#include <optional>
#include <string>

#include "app/host.h"

namespace zentrova::cli {

class ConsoleHost : public app::Host {
 public:
  explicit ConsoleHost(std::filesystem::path xml_file) : xml_file_(std::move(xml_file)) {}

  // The answer ChooseTimeFrames gives; without one it ends the run.
  void set_frame_answer(app::FrameAnswer answer) { frame_answer_ = std::move(answer); }

  std::optional<std::filesystem::path> ChooseXmlFile() override;
  void ShowMessage(const std::u16string& text) override;
  void SetBusy(bool) override {}
  app::FrameAnswer ChooseTimeFrames(const std::filesystem::path& export_file) override;
  void SetDirectionButtonsEnabled(bool) override {}
  void CloseWindow() override {}

 private:
  std::filesystem::path xml_file_;
  std::optional<app::FrameAnswer> frame_answer_;
};

// Writes a UTF-8 line to stdout / stderr.
void PrintLine(const std::u16string& text);
void PrintError(const std::u16string& text);

}  // namespace zentrova::cli

#endif  // ZENTROVA_CLI_CONSOLE_HOST_H_
