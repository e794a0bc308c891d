#ifndef ZENTROVA_FUZZ_FUZZ_HOST_H_
#define ZENTROVA_FUZZ_FUZZ_HOST_H_

// What the fuzz targets share: a quiet host for the direction drivers and a scratch folder
// of their own, made once per process and reused by every input.

#include <filesystem>
#include <optional>
#include <string>

#include "app/host.h"

namespace zentrova::fuzz {

// The host of a run with no one at the screen: the file is given, messages are kept (the
// last one only), the time-frame dialog is always answered the same way: its first frame,
// and its second too when it lists two or more. A dialog that cannot offer a choice ends the
// run, as a user would. Findings are collected (so that the report's building is fuzzed too)
// and dropped.
class QuietHost : public app::Host {
 public:
  explicit QuietHost(std::filesystem::path xml_file) : xml_file_(std::move(xml_file)) {}

  std::optional<std::filesystem::path> ChooseXmlFile() override { return xml_file_; }
  void ShowMessage(const std::u16string& text) override { last_message_ = text; }
  void SetBusy(bool) override {}
  app::FrameAnswer ChooseTimeFrames(const std::filesystem::path& export_file,
                                    const xml::Document& loaded) override;
  void SetDirectionButtonsEnabled(bool) override {}
  void CloseWindow() override {}
  void ShowReport(const report::RunReport&) override {}
  bool ShowsReports() const override { return true; }

  const std::u16string& last_message() const { return last_message_; }

 private:
  std::filesystem::path xml_file_;
  std::u16string last_message_;
};

// `name` inside a folder of this process under the system's temporary folder, emptied and
// made anew on each call; the process folder is removed when the process ends normally.
std::filesystem::path FreshFolder(const std::string& name);

// Writes `size` bytes to `file`, replacing what it held.
void WriteBytes(const std::filesystem::path& file, const void* data, size_t size);

}  // namespace zentrova::fuzz

#endif  // ZENTROVA_FUZZ_FUZZ_HOST_H_
