#ifndef ZENTROVA_GUI_WIN32_WIDE_TEXT_H_
#define ZENTROVA_GUI_WIN32_WIDE_TEXT_H_

// The core's UTF-16 text and Windows' wide text are the same code units.

#include <windows.h>

#include <string>
#include <string_view>

namespace zentrova::gui {

inline std::wstring Wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

inline std::u16string FromWide(std::wstring_view text) {
  return std::u16string(text.begin(), text.end());
}

// The text of a window or control.
inline std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_WIN32_WIDE_TEXT_H_
