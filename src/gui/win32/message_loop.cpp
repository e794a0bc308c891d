#include "gui/win32/message_loop.h"

namespace zentrova::gui {
namespace {

constexpr wchar_t kDialogKeysProperty[] = L"Zentrova.DialogKeys";

void Dispatch(MSG& message) {
  if (TranslateWindowKeys(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

void UseDialogKeys(HWND window) { SetPropW(window, kDialogKeysProperty, window); }

bool TranslateWindowKeys(MSG& message) {
  if (message.hwnd == nullptr) return false;
  HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (root == nullptr || GetPropW(root, kDialogKeysProperty) == nullptr) return false;
  if (message.message == WM_KEYDOWN && message.wParam == VK_F1) {
    HELPINFO help{};
    help.cbSize = sizeof(help);
    help.iContextType = HELPINFO_WINDOW;
    help.iCtrlId = GetDlgCtrlID(message.hwnd);
    help.hItemHandle = message.hwnd;
    GetCursorPos(&help.MousePos);
    SendMessageW(root, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    return true;
  }
  return IsDialogMessageW(root, &message) != FALSE;
}

void RunMessageLoop(const std::function<bool()>& open) {
  MSG message;
  while (open()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      PostQuitMessage(got == 0 ? static_cast<int>(message.wParam) : 0);
      return;
    }
    Dispatch(message);
  }
}

bool ProcessWaitingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    Dispatch(message);
  }
  return true;
}

}  // namespace zentrova::gui
