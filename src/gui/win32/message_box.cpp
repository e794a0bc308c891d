#include "gui/win32/message_box.h"

#include "gui/win32/wait_cursor.h"
#include "gui/win32/wide_text.h"

namespace zentrova::gui {

void ShowMessageBox(HWND owner, std::u16string_view text, MessageIcon icon) {
  UINT type = MB_OK;
  if (icon == MessageIcon::kError) type |= MB_ICONERROR;
  if (icon == MessageIcon::kWarning) type |= MB_ICONWARNING;
  NormalCursorWhileWaiting normal_cursor;
  MessageBoxW(owner, Wide(text).c_str(), kApplicationTitle, type);
}

void ReportError(HWND owner, std::u16string_view message) {
  ShowMessageBox(owner, message, MessageIcon::kError);
}

}  // namespace zentrova::gui
