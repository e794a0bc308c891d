#include "gui/win32/controls.h"

#include <utility>

namespace zentrova::gui {

HFONT CreateFontAt(const FontDescription& font, int dpi) {
  // A negative height asks for the character height, as sizes in points and pixels mean.
  const int height = font.unit == FontDescription::Unit::kPoints ? -MulDiv(font.size, dpi, 72)
                                                                 : -Scale(font.size, dpi);
  return CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic, font.underline,
                     FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.face);
}

HWND CreateControl(const wchar_t* window_class, const std::wstring& text, DWORD style, HWND parent,
                   int id, DWORD ex_style) {
  return CreateWindowExW(ex_style, window_class, text.c_str(), WS_CHILD | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

HWND FindControl(HWND root, int id) {
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  EnumChildWindows(
      root,
      [](HWND child, LPARAM data) -> BOOL {
        auto* search = reinterpret_cast<Search*>(data);
        if (GetDlgCtrlID(child) != search->id) return TRUE;
        search->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

Layout::~Layout() { ReleaseFonts(fonts_); }

void Layout::Place(HWND control, Bounds at_96, const FontDescription& font) {
  entries_.push_back(Entry{control, at_96, true, font});
}

void Layout::Place(HWND control, Bounds at_96) {
  entries_.push_back(Entry{control, at_96, false, kDialogFont});
}

HFONT Layout::FontAt(const FontDescription& font, int dpi) {
  auto [entry, added] = fonts_.try_emplace(font.key(), nullptr);
  if (added) entry->second = CreateFontAt(font, dpi);
  return entry->second;
}

void Layout::Apply(int dpi) {
  // The controls keep using the old fonts until each has its new one.
  auto old_fonts = std::exchange(fonts_, {});
  if (fonts_dpi_ == dpi) fonts_ = std::exchange(old_fonts, {});
  fonts_dpi_ = dpi;
  for (const Entry& entry : entries_) {
    const Bounds bounds = Scale(entry.at_96, dpi);
    SetWindowPos(entry.control, nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (entry.has_font) {
      SendMessageW(entry.control, WM_SETFONT, reinterpret_cast<WPARAM>(FontAt(entry.font, dpi)),
                   TRUE);
    }
  }
  ReleaseFonts(old_fonts);
}

void Layout::ReleaseFonts(Fonts& fonts) {
  for (auto& [key, font] : fonts) DeleteObject(font);
  fonts.clear();
}

}  // namespace zentrova::gui
