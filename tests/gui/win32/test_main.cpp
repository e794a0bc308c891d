// The window tests' program: the common controls of version 6 (see the manifest) are made
// ready, as zentrova.exe does, before any window is created.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "gui/win32/dpi.h"

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  ::testing::InitGoogleTest(&argc, argv);
  // The DPI the windows are laid out for, for the log.
  HWND probe =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  std::printf("Ventanas a %d DPI\n", zentrova::gui::WindowDpi(probe));
  DestroyWindow(probe);
  return RUN_ALL_TESTS();
}
