#ifndef ZENTROVA_GUI_WIN32_MODAL_WINDOW_H_
#define ZENTROVA_GUI_WIN32_MODAL_WINDOW_H_

// A window of ours shown modally over its owner, as a dialog is: the owner takes no input
// until the window closes, and an error met by the window's handlers, which cannot pass
// through Windows' frames, is thrown once the window has closed.

#include <windows.h>

#include <exception>
#include <functional>

#include "gui/win32/window_base.h"

namespace zentrova::gui {

class ModalWindow : public WindowBase {
 public:
  bool closed() const { return closed_; }

 protected:
  explicit ModalWindow(HWND owner) : owner_(owner) {}

  HWND owner() const { return owner_; }
  // Disables the owner, shows the window with `show` and dispatches messages until the window
  // is closed (MarkClosed); then gives the owner back its input and activation, hides the
  // window, and throws the error a handler met, if any.
  void ShowModalWith(const std::function<void()>& show);
  void MarkClosed() { closed_ = true; }
  // Runs a message handler of HandleMessage: an error it raises is kept for ShowModalWith and
  // closes the window; the message then gives `on_error`.
  LRESULT Guarded(const std::function<LRESULT()>& handler, LRESULT on_error = 0);

 private:
  HWND owner_;
  bool closed_ = false;
  std::exception_ptr error_;
};

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_WIN32_MODAL_WINDOW_H_
