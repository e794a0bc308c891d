#ifndef ZENTROVA_APP_HOST_H_
#define ZENTROVA_APP_HOST_H_

// What a direction driver needs of its surroundings. The window implements it with widgets,
// the command line with arguments and stdout/stderr, tests with a scripted fake.

#include <filesystem>
#include <optional>
#include <string>

#include "import/frame_choice.h"
#include "report/run_report.h"

namespace zentrova::app {

using import::FrameAnswer;

// ChooseTimeFrames, one showing of the time-frame dialog, comes from import::FrameChooser.
class Host : public import::FrameChooser {
 public:
  virtual ~Host() = default;

  // OpenDialogXML: the confirmed file, or nothing when the user cancelled.
  virtual std::optional<std::filesystem::path> ChooseXmlFile() = 0;
  // A modal message titled "Zentrova" with one OK button; returns when it is closed.
  virtual void ShowMessage(const std::u16string& text) = 0;
  // The busy cursor, on while a run works and off when it ends.
  virtual void SetBusy(bool busy) = 0;
  // Enables or disables both direction buttons (BExportar, BImportar) at once.
  virtual void SetDirectionButtonsEnabled(bool enabled) = 0;
  // Closes the main window.
  virtual void CloseWindow() = 0;
  // The window titled report::kReportTitle with `report`, shown after "Proceso finalizado"
  // when a run has findings; returns when the user has closed it.
  virtual void ShowReport(const report::RunReport& report) = 0;
  // Whether ShowReport shows anything. A host that shows no report spares the runs collecting
  // findings, unless batch mode or a report file asks for them.
  virtual bool ShowsReports() const = 0;
};

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_HOST_H_
