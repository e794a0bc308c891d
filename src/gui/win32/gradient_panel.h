#ifndef ZENTROVA_GUI_WIN32_GRADIENT_PANEL_H_
#define ZENTROVA_GUI_WIN32_GRADIENT_PANEL_H_

// A panel whose background shades from top to bottom through three colours (first at the top
// edge, second in the middle, third at the bottom edge). Controls lie on it: labels show the
// gradient behind their text, in a colour of their own (a label of style WS_EX_TRANSPARENT,
// whose text never changes, paints its text alone, over whatever lies beneath it), and the
// controls' notifications go on to the window the panel is in.

#include <windows.h>

#include <map>

#include "gui/win32/window_base.h"

namespace zentrova::gui {

class GradientPanel : public WindowBase {
 public:
  GradientPanel(HWND parent, int id, COLORREF top, COLORREF middle, COLORREF bottom);
  ~GradientPanel() override;

  // The colour of a label's text on the panel (black unless set).
  void SetTextColour(HWND label, COLORREF colour) { text_colours_[label] = colour; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Paint(HDC dc) const;
  // The gradient as a brush for the controls, rebuilt when the panel's size changes.
  HBRUSH Brush();
  LRESULT ControlColour(HDC dc, HWND control);

  COLORREF top_;
  COLORREF middle_;
  COLORREF bottom_;
  std::map<HWND, COLORREF> text_colours_;
  HBRUSH brush_ = nullptr;
  SIZE brush_size_{0, 0};
};

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_WIN32_GRADIENT_PANEL_H_
