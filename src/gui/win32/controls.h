#ifndef ZENTROVA_GUI_WIN32_CONTROLS_H_
#define ZENTROVA_GUI_WIN32_CONTROLS_H_

// Building the windows' controls: fonts, standard controls with their identifiers, and a
// layout that places them at their 96-DPI bounds scaled to the window's DPI.

#include <windows.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "gui/win32/dpi.h"

namespace zentrova::gui {

// A font as a control asks for it: face, size at 96 DPI, weight and style. CreateFontAt makes
// the font for a DPI; Layout keeps one of each description.
struct FontDescription {
  enum class Unit { kPixels, kPoints };
  const wchar_t* face;
  int size;  // at 96 DPI, in `unit`
  Unit unit;
  bool bold = false;
  bool italic = false;
  bool underline = false;

  using Key = std::tuple<std::wstring, int, Unit, bool, bool, bool>;
  Key key() const { return Key(face, size, unit, bold, italic, underline); }
};

// The windows' own font: the dialog font of Windows, 8 points.
inline constexpr FontDescription kDialogFont{L"MS Shell Dlg 2", 8, FontDescription::Unit::kPoints};
inline constexpr FontDescription kDialogBoldFont{L"MS Shell Dlg 2", 8,
                                                 FontDescription::Unit::kPoints, true};
// The labels' Arial, bold, `pixels` high at 96 DPI.
constexpr FontDescription ArialBold(int pixels, bool italic = false, bool underline = false) {
  return FontDescription{L"Arial", pixels, FontDescription::Unit::kPixels, true, italic, underline};
}

HFONT CreateFontAt(const FontDescription& font, int dpi);

// A child control of window class `window_class` (L"BUTTON", L"STATIC", L"LISTBOX", ...)
// with `style` and WS_CHILD; it is placed by a Layout.
HWND CreateControl(const wchar_t* window_class, const std::wstring& text, DWORD style, HWND parent,
                   int id, DWORD ex_style = 0);

// The descendant of `root` with control identifier `id`, at any depth; nullptr when none.
HWND FindControl(HWND root, int id);

// Places controls at their bounds scaled to a DPI and gives each its font at that DPI.
class Layout {
 public:
  Layout() = default;
  ~Layout();
  Layout(const Layout&) = delete;
  Layout& operator=(const Layout&) = delete;

  void Place(HWND control, Bounds at_96, const FontDescription& font);
  void Place(HWND control, Bounds at_96);  // a control without text
  // Moves and sizes every control and sets its font; fonts of an earlier DPI are released.
  void Apply(int dpi);

 private:
  struct Entry {
    HWND control;
    Bounds at_96;
    bool has_font;
    FontDescription font;
  };
  HFONT FontAt(const FontDescription& font, int dpi);
  using Fonts = std::map<FontDescription::Key, HFONT>;
  static void ReleaseFonts(Fonts& fonts);

  std::vector<Entry> entries_;
  Fonts fonts_;
  int fonts_dpi_ = 0;
};

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_WIN32_CONTROLS_H_
