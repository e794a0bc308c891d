#include "gui/win32/modal_window.h"

#include "gui/win32/message_loop.h"

namespace zentrova::gui {

void ModalWindow::ShowModalWith(const std::function<void()>& show) {
  const bool owner_was_enabled = owner_ != nullptr && IsWindowEnabled(owner_);
  if (owner_was_enabled) EnableWindow(owner_, FALSE);
  show();
  RunMessageLoop([this] { return !closed_; });
  // The owner takes input again before the window goes, so that it becomes the active window.
  if (owner_was_enabled) EnableWindow(owner_, TRUE);
  ShowWindow(hwnd(), SW_HIDE);
  if (owner_ != nullptr) SetActiveWindow(owner_);
  if (error_) std::rethrow_exception(error_);
}

LRESULT ModalWindow::Guarded(const std::function<LRESULT()>& handler, LRESULT on_error) {
  try {
    return handler();
  } catch (...) {
    error_ = std::current_exception();
    closed_ = true;
    return on_error;
  }
}

}  // namespace zentrova::gui
