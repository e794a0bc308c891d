#ifndef ZENTROVA_GUI_WIN32_WINDOW_BASE_H_
#define ZENTROVA_GUI_WIN32_WINDOW_BASE_H_

// A window of a class of our own whose messages go to the C++ object that made it.

#include <windows.h>

namespace zentrova::gui {

class WindowBase {
 public:
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  HWND hwnd() const { return hwnd_; }

 protected:
  WindowBase() = default;
  // Destroys the window if it still exists, without calling HandleMessage any more.
  virtual ~WindowBase();

  // Registers `class_name` once per process, with the program's icon for top-level windows.
  static void RegisterClassOnce(const wchar_t* class_name, bool program_icon);
  // Creates the window; its messages reach HandleMessage from WM_NCCREATE on.
  void Create(const wchar_t* class_name, const wchar_t* text, DWORD style, DWORD ex_style,
              HWND parent, int id = 0);

  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) = 0;
  LRESULT Default(UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcW(hwnd_, message, wparam, lparam);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  HWND hwnd_ = nullptr;
};

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_WIN32_WINDOW_BASE_H_
