#ifndef ZENTROVA_GUI_WIN32_MESSAGE_BOX_H_
#define ZENTROVA_GUI_WIN32_MESSAGE_BOX_H_

// The windows' message boxes: modal, titled "Zentrova", one OK button.

#include <windows.h>

#include <string_view>

namespace zentrova::gui {

inline constexpr wchar_t kApplicationTitle[] = L"Zentrova";

enum class MessageIcon { kNone, kError, kWarning };

// A modal box over `owner`; returns when it is closed. A "\r\n" in the text is a line break.
void ShowMessageBox(HWND owner, std::u16string_view text, MessageIcon icon = MessageIcon::kNone);

// The application's default error report: the error's message with the error icon.
void ReportError(HWND owner, std::u16string_view message);

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_WIN32_MESSAGE_BOX_H_
