#ifndef ZENTROVA_TESTS_SUPPORT_FAKE_HOST_H_
#define ZENTROVA_TESTS_SUPPORT_FAKE_HOST_H_

// A scripted host for driving a direction run without a screen: it answers the file dialog
// and the time-frame dialog from queues and records everything the run asks of it, the
// reports it is given to show included.

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/host.h"

namespace zentrova::testing {

class FakeHost : public app::Host {
 public:
  // Answers of the file dialog, one per showing; nothing = cancelled. When the queue is
  // empty the dialog is cancelled.
  std::deque<std::optional<std::filesystem::path>> file_answers;
  // Answers of the time-frame dialog, one per showing; when empty, the run is abandoned.
  std::deque<app::FrameAnswer> frame_answers;

  // Whether the host shows reports, as the window does.
  bool shows_reports = true;

  std::vector<std::u16string> messages;
  std::vector<report::RunReport> reports;
  std::vector<bool> busy_changes;
  std::vector<bool> button_changes;
  int frame_dialogs_shown = 0;
  int closes = 0;

  std::optional<std::filesystem::path> ChooseXmlFile() override {
    if (file_answers.empty()) return std::nullopt;
    auto answer = file_answers.front();
    file_answers.pop_front();
    return answer;
  }
  void ShowMessage(const std::u16string& text) override { messages.push_back(text); }
  void SetBusy(bool busy) override { busy_changes.push_back(busy); }
  app::FrameAnswer ChooseTimeFrames(const std::filesystem::path&, const xml::Document&) override {
    ++frame_dialogs_shown;
    if (frame_answers.empty()) {
      app::FrameAnswer abandon;
      abandon.abandon = true;
      return abandon;
    }
    auto answer = frame_answers.front();
    frame_answers.pop_front();
    return answer;
  }
  void SetDirectionButtonsEnabled(bool enabled) override { button_changes.push_back(enabled); }
  void CloseWindow() override { ++closes; }
  void ShowReport(const report::RunReport& report) override { reports.push_back(report); }
  bool ShowsReports() const override { return shows_reports; }
};

}  // namespace zentrova::testing

#endif  // ZENTROVA_TESTS_SUPPORT_FAKE_HOST_H_
