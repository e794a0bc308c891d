// The window's side of a run on Windows: the busy cursor over the main window, the normal
// cursor over a window that waits for the user, message boxes and the file dialog.

#include "gui/win32/win32_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/win32/main_window.h"
#include "gui/win32/wait_cursor.h"
#include "modal_answers.h"
#include "support/temp_folder.h"
#include "window_inspection.h"

namespace zentrova::testing {
namespace {

HCURSOR Cursor(LPCWSTR which) { return LoadCursorW(nullptr, which); }

// What the main window does with the cursor when the mouse moves over it.
bool MainWindowSetsCursor(HWND window) {
  return SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                      MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)) != 0;
}

struct HostWindow {
  HostWindow() : form({}, app::RunPaths{folder / "ktemp", folder / "NIVELEX.DBF"}, folder / "ini") {
    form.Show();
    PumpUntil([] { return true; });
  }
  TempFolder folder;
  gui::TMForm form;
};

}  // namespace

TEST(Win32HostTest, BusyCursorOverTheWindowNormalOverAMessage) {
  HostWindow window;
  gui::Win32Host& host = window.form.host();
  host.SetBusy(true);
  EXPECT_TRUE(host.busy());
  EXPECT_EQ(GetCursor(), Cursor(IDC_WAIT));
  SetCursor(Cursor(IDC_ARROW));
  EXPECT_TRUE(MainWindowSetsCursor(window.form.hwnd()));
  EXPECT_EQ(GetCursor(), Cursor(IDC_WAIT));

  HCURSOR while_waiting = nullptr;
  bool main_window_took_cursor = true;
  ModalAnswers answers;
  answers.Then(Before(
      [&](HWND) {
        while_waiting = GetCursor();
        main_window_took_cursor = MainWindowSetsCursor(window.form.hwnd());
      },
      PressOk()));
  host.ShowMessage(u"Un aviso\r\nen dos líneas");
  EXPECT_EQ(answers.seen(),
            std::vector<std::wstring>{L"MessageBox: Un aviso\r\nen dos l\u00edneas"});
  EXPECT_EQ(while_waiting, Cursor(IDC_ARROW));
  EXPECT_FALSE(main_window_took_cursor);
  EXPECT_EQ(GetCursor(), Cursor(IDC_WAIT));  // back once the message is closed

  host.EndBusy();
  EXPECT_FALSE(host.busy());
  EXPECT_EQ(GetCursor(), Cursor(IDC_ARROW));
  EXPECT_FALSE(MainWindowSetsCursor(window.form.hwnd()));
}

TEST(Win32HostTest, FileDialogGivesTheFileTypedOrNothing) {
  HostWindow window;
  gui::Win32Host& host = window.form.host();
  const auto file = window.folder / "exportación ñ.xml";
  WriteFile(file, "<a/>");
  {
    ModalAnswers answers;
    answers.Then(PickFile(file));
    EXPECT_EQ(host.ChooseXmlFile(), file);
  }
  {
    ModalAnswers answers;
    answers.Then(CancelFile());
    EXPECT_EQ(host.ChooseXmlFile(), std::nullopt);
  }
  {
    // A name that does not exist is given back all the same: the run says it is missing.
    const auto missing = window.folder / "no-existe.xml";
    ModalAnswers answers;
    answers.Then(PickFile(missing));
    EXPECT_EQ(host.ChooseXmlFile(), missing);
  }
  // A name typed without extension gets the default one.
  WriteFile(window.folder / "sin-extension.xml", "<a/>");
  ModalAnswers answers;
  answers.Then(PickFile(window.folder / "sin-extension"));
  EXPECT_EQ(host.ChooseXmlFile(), window.folder / "sin-extension.xml");
}

}  // namespace zentrova::testing
