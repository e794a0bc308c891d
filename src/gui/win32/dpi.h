#ifndef ZENTROVA_GUI_WIN32_DPI_H_
#define ZENTROVA_GUI_WIN32_DPI_H_

// The windows are laid out in pixels at 96 DPI and scaled to the DPI of the monitor they are
// on (the program is per-monitor DPI aware, see zentrova.manifest).

#include <windows.h>

namespace zentrova::gui {

inline constexpr int kDesignDpi = 96;

// Left, top, width and height at 96 DPI, relative to the parent's client area.
struct Bounds {
  int left;
  int top;
  int width;
  int height;
};

// The DPI of the monitor `window` is on; the screen's where Windows cannot say per window.
int WindowDpi(HWND window);

inline int Scale(int pixels_at_96, int dpi) { return MulDiv(pixels_at_96, dpi, kDesignDpi); }
Bounds Scale(const Bounds& at_96, int dpi);

// The size of a window of `style` whose client area is `client_width` x `client_height` at 96
// DPI, at `dpi`.
SIZE WindowSizeForClient(int client_width, int client_height, DWORD style, DWORD ex_style, int dpi);

// A system metric (SM_CXSMICON, ...) at `dpi`.
int SystemMetric(int index, int dpi);

// The top-left corner that centres a window of `size` on the primary monitor's work area.
POINT CentredOnScreen(SIZE size);

// Moves `window` (of `style`, with a client area of `client_width` x `client_height` at 96 DPI)
// to the rectangle Windows suggests after a DPI change, or, without one, sizes it for `dpi` and
// centres it on the screen.
void PlaceForDpi(HWND window, int client_width, int client_height, DWORD style, DWORD ex_style,
                 int dpi, const RECT* suggested);

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_WIN32_DPI_H_
