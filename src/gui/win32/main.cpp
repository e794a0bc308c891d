// The window's program on Windows: the main window TMForm, until it closes.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/error_message.h"
#include "gui/win32/main_window.h"
#include "gui/win32/message_box.h"
#include "gui/win32/message_loop.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace zentrova;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  try {
    // The parameters as the calling program gave them, the program's path not counted.
    std::vector<std::string> parameters = app::CommandLineArguments(0, nullptr);
    if (!parameters.empty()) parameters.erase(parameters.begin());
    gui::TMForm form(std::move(parameters));
    form.Show();
    gui::RunMessageLoop([&form] { return !form.closed(); });
  } catch (...) {
    gui::ReportError(nullptr, app::CurrentErrorMessage());
    return 1;
  }
  return 0;
}
