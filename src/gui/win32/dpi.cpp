#include "gui/win32/dpi.h"

namespace zentrova::gui {
namespace {

// Functions of Windows 10 (1607) and later, looked up so that the program starts on older
// systems too, which then get the screen's DPI.
template <typename Function>
Function User32Function(const char* name) {
  static HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 != nullptr
             ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
             : nullptr;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

int WindowDpi(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto get_dpi = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  if (get_dpi != nullptr && window != nullptr) {
    if (const UINT dpi = get_dpi(window); dpi != 0) return static_cast<int>(dpi);
  }
  return ScreenDpi();
}

Bounds Scale(const Bounds& at_96, int dpi) {
  return Bounds{Scale(at_96.left, dpi), Scale(at_96.top, dpi), Scale(at_96.width, dpi),
                Scale(at_96.height, dpi)};
}

SIZE WindowSizeForClient(int client_width, int client_height, DWORD style, DWORD ex_style,
                         int dpi) {
  using AdjustFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = User32Function<AdjustFunction>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, Scale(client_width, dpi), Scale(client_height, dpi)};
  if (adjust == nullptr || !adjust(&rect, style, FALSE, ex_style, static_cast<UINT>(dpi))) {
    AdjustWindowRectEx(&rect, style, FALSE, ex_style);
  }
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

int SystemMetric(int index, int dpi) {
  using MetricFunction = int(WINAPI*)(int, UINT);
  static const auto metric = User32Function<MetricFunction>("GetSystemMetricsForDpi");
  if (metric != nullptr) return metric(index, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(index), dpi, ScreenDpi());
}

POINT CentredOnScreen(SIZE size) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    area = monitor.rcWork;
  }
  return POINT{area.left + (area.right - area.left - size.cx) / 2,
               area.top + (area.bottom - area.top - size.cy) / 2};
}

void PlaceForDpi(HWND window, int client_width, int client_height, DWORD style, DWORD ex_style,
                 int dpi, const RECT* suggested) {
  constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (suggested != nullptr) {
    SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top, kFlags);
    return;
  }
  const SIZE size = WindowSizeForClient(client_width, client_height, style, ex_style, dpi);
  const POINT corner = CentredOnScreen(size);
  SetWindowPos(window, nullptr, corner.x, corner.y, size.cx, size.cy, kFlags);
}

}  // namespace zentrova::gui
