#include "gui/win32/gradient_panel.h"

#include <algorithm>

namespace zentrova::gui {
namespace {

constexpr wchar_t kClassName[] = L"ZentrovaGradientPanel";

TRIVERTEX Vertex(LONG x, LONG y, COLORREF colour) {
  return TRIVERTEX{x,
                   y,
                   static_cast<COLOR16>(GetRValue(colour) << 8),
                   static_cast<COLOR16>(GetGValue(colour) << 8),
                   static_cast<COLOR16>(GetBValue(colour) << 8),
                   0};
}

}  // namespace

GradientPanel::GradientPanel(HWND parent, int id, COLORREF top, COLORREF middle, COLORREF bottom)
    : top_(top), middle_(middle), bottom_(bottom) {
  RegisterClassOnce(kClassName, false);
  // WS_EX_CONTROLPARENT: Tab and the access keys reach the controls on the panel.
  Create(kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, parent, id);
}

GradientPanel::~GradientPanel() {
  if (brush_ != nullptr) DeleteObject(brush_);
}

void GradientPanel::Paint(HDC dc) const {
  RECT client;
  GetClientRect(hwnd(), &client);
  const LONG middle_y = client.bottom / 2;
  TRIVERTEX vertices[] = {Vertex(0, 0, top_), Vertex(client.right, middle_y, middle_),
                          Vertex(0, middle_y, middle_),
                          Vertex(client.right, client.bottom, bottom_)};
  GRADIENT_RECT halves[] = {{0, 1}, {2, 3}};
  GradientFill(dc, vertices, 4, halves, 2, GRADIENT_FILL_RECT_V);
}

HBRUSH GradientPanel::Brush() {
  RECT client;
  GetClientRect(hwnd(), &client);
  if (brush_ != nullptr && brush_size_.cx == client.right && brush_size_.cy == client.bottom) {
    return brush_;
  }
  if (brush_ != nullptr) DeleteObject(brush_);
  brush_size_ = SIZE{client.right, client.bottom};
  HDC screen = GetDC(hwnd());
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP picture = CreateCompatibleBitmap(screen, std::max<LONG>(client.right, 1),
                                           std::max<LONG>(client.bottom, 1));
  HGDIOBJ previous = SelectObject(memory, picture);
  Paint(memory);
  SelectObject(memory, previous);
  DeleteDC(memory);
  ReleaseDC(hwnd(), screen);
  brush_ = CreatePatternBrush(picture);
  DeleteObject(picture);  // the brush keeps its own copy
  return brush_;
}

LRESULT GradientPanel::ControlColour(HDC dc, HWND control) {
  const auto colour = text_colours_.find(control);
  SetTextColor(dc, colour != text_colours_.end() ? colour->second : RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  // The panel paints beneath a transparent label (WS_CLIPCHILDREN leaves it out of the clip),
  // and the siblings it overlaps paint before it: it paints nothing but its text.
  if ((GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0) {
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  }
  // The brush's picture starts at the panel's corner, not at the control's.
  POINT origin{0, 0};
  MapWindowPoints(control, hwnd(), &origin, 1);
  SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
  return reinterpret_cast<LRESULT>(Brush());
}

LRESULT GradientPanel::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      Paint(reinterpret_cast<HDC>(wparam));
      return 1;
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(hwnd(), &paint);
      EndPaint(hwnd(), &paint);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return ControlColour(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORLISTBOX:
      // The window the panel is in handles its controls.
      return SendMessageW(GetParent(hwnd()), message, wparam, lparam);
    default:
      return Default(message, wparam, lparam);
  }
}

}  // namespace zentrova::gui
