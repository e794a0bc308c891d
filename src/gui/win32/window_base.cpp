#include "gui/win32/window_base.h"

#include <set>
#include <string>

#include "gui/win32/resource_ids.h"

namespace zentrova::gui {

WindowBase::~WindowBase() {
  if (hwnd_ == nullptr || !IsWindow(hwnd_)) return;
  // The object is half destroyed: the last messages go to the default procedure.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
}

void WindowBase::RegisterClassOnce(const wchar_t* class_name, bool program_icon) {
  static std::set<std::wstring> registered;
  if (!registered.insert(class_name).second) return;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = &WindowBase::Procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = class_name;
  if (program_icon) {
    window_class.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_ZENTROVA), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    window_class.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_ZENTROVA),
                                                         IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                         GetSystemMetrics(SM_CYSMICON), 0));
  }
  RegisterClassExW(&window_class);
}

void WindowBase::Create(const wchar_t* class_name, const wchar_t* text, DWORD style, DWORD ex_style,
                        HWND parent, int id) {
  CreateWindowExW(
      ex_style, class_name, text, style, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, parent,
      (style & WS_CHILD) != 0 ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr,
      GetModuleHandleW(nullptr), this);
}

LRESULT CALLBACK WindowBase::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  const LRESULT result = self->HandleMessage(message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace zentrova::gui
