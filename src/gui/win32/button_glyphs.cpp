#include "gui/win32/button_glyphs.h"

#include "gui/win32/dpi.h"

namespace zentrova::gui {

ButtonGlyphs::~ButtonGlyphs() {
  for (const Entry& entry : entries_) {
    if (entry.icon != nullptr) DestroyIcon(entry.icon);
  }
}

void ButtonGlyphs::Add(HWND button, int resource) {
  entries_.push_back(Entry{button, resource, nullptr});
}

void ButtonGlyphs::Apply(int dpi) {
  const int size = SystemMetric(SM_CXSMICON, dpi);
  for (Entry& entry : entries_) {
    HICON icon =
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(entry.resource),
                                      IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    // With the common controls of version 6 the button shows the picture beside its text.
    SendMessageW(entry.button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    if (entry.icon != nullptr) DestroyIcon(entry.icon);
    entry.icon = icon;
  }
}

}  // namespace zentrova::gui
