#ifndef ZENTROVA_GUI_WIN32_BUTTON_GLYPHS_H_
#define ZENTROVA_GUI_WIN32_BUTTON_GLYPHS_H_

// The glyphs beside the captions of buttons (the OK and close glyphs of resource_ids.h), at
// the size of a small icon for the window's DPI.

#include <windows.h>

#include <vector>

namespace zentrova::gui {

class ButtonGlyphs {
 public:
  ButtonGlyphs() = default;
  ~ButtonGlyphs();
  ButtonGlyphs(const ButtonGlyphs&) = delete;
  ButtonGlyphs& operator=(const ButtonGlyphs&) = delete;

  // `button` shows icon resource `resource` (IDI_GLYPH_OK, IDI_GLYPH_CLOSE).
  void Add(HWND button, int resource);
  // Gives every button its glyph at `dpi`; glyphs of an earlier DPI are released.
  void Apply(int dpi);

 private:
  struct Entry {
    HWND button;
    int resource;
    HICON icon;
  };
  std::vector<Entry> entries_;
};

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_WIN32_BUTTON_GLYPHS_H_
