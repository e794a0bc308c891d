#ifndef ZENTROVA_TESTS_GUI_WIN32_WINDOW_INSPECTION_H_
#define ZENTROVA_TESTS_GUI_WIN32_WINDOW_INSPECTION_H_

// What the tests read of windows and controls: bounds at 96 DPI, fonts, colours, glyphs, and
// the files the tests share with the Linux side of scripts/windows-window-test.sh.

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "gui/win32/dpi.h"

namespace zentrova::testing {

// UTF-8, for test messages.
std::string Narrow(const std::wstring& text);

// The text of a window or control, also of another process (WM_GETTEXT).
std::wstring TextOf(HWND window);

// The bounds of `control` in its parent's client area, in pixels at the window's DPI.
gui::Bounds BoundsInParent(HWND control);
// The client size of `window`.
SIZE ClientSize(HWND window);

LOGFONTW FontOf(HWND control);
// The face Windows really uses for the control's font.
std::wstring FaceInUse(HWND control);

// The text colour `panel` gives `control` (WM_CTLCOLORSTATIC).
COLORREF TextColourOf(HWND panel, HWND control);
// The colours `window` paints (WM_PRINTCLIENT) in its first, middle and last row, halfway
// across.
struct Shading {
  COLORREF top, middle, bottom;
};
Shading PaintedShading(HWND window);

// The colour on the screen at `point` of the client area of `window`, which must be shown and
// uncovered: what the user sees there.
COLORREF ScreenPixel(HWND window, POINT point);

// When ZENTROVA_WINDOW_TEST_PICTURES names a folder, leaves there `name`.bmp, the window as the
// screen shows it, for a person to look at.
void LeavePicture(const std::string& name, HWND window);

// The pixels of an icon, 32 bits each; empty for none.
std::vector<uint32_t> IconPixels(HICON icon);
// The glyph a button shows (BM_GETIMAGE), and its side in pixels.
HICON GlyphOf(HWND button);
int IconSide(HICON icon);

// A path from the environment (the Linux side gives Windows paths); empty when unset.
std::filesystem::path EnvironmentPath(const wchar_t* name);

// The sample export of the source tree.
std::filesystem::path SampleExport();

}  // namespace zentrova::testing

#endif  // ZENTROVA_TESTS_GUI_WIN32_WINDOW_INSPECTION_H_
