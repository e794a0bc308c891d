#ifndef ZENTROVA_APP_HOST_H_
#define ZENTROVA_APP_HOST_H_

// What a direction driver needs of its surroundings. The window implements it with widgets,
// the command line with arguments and stdout/stderr, tests with a scripted fake.

#include <filesystem>
#include <optional>
#include <string>

namespace zentrova::app {

// The answer of one showing of the time-frame dialog.
struct FrameAnswer {
  bool valid = false;        // resultMH = 1: one or two frames chosen
  std::u16string resultado;  // the chosen codes, 10 characters each, in list order
  // The dialog could not offer a choice (the export cannot be read again, no frame in it)
  // and the user asked to end the run; `valid` and `resultado` are then not used.
  bool abandon = false;
};

class Host {
 public:
  virtual ~Host() = default;

  // OpenDialogXML: the confirmed file, or nothing when the user cancelled.
  virtual std::optional<std::filesystem::path> ChooseXmlFile() = 0;
  // A modal message titled "Zentrova" with one OK button; returns when it is closed.
  virtual void ShowMessage(const std::u16string& text) = 0;
  virtual void SetBusy(bool busy) = 0;
  // Shows the time-frame dialog once over `export_file` (the dialog reads it itself).
  virtual FrameAnswer ChooseTimeFrames(const std::filesystem::path& export_file) = 0;
  virtual void SetDirectionButtonsEnabled(bool enabled) = 0;
  virtual void CloseWindow() = 0;
};

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_HOST_H_
