#ifndef ZENTROVA_GUI_WIN32_WAIT_CURSOR_H_
#define ZENTROVA_GUI_WIN32_WAIT_CURSOR_H_

// The busy cursor of a run, over the whole main window. A window that waits for the user
// (message box, file dialog, time-frame dialog) shows the normal cursor while it is open.

#include <windows.h>

namespace zentrova::gui {

// Turns the busy cursor on or off; it is shown at once.
void SetWaitCursor(bool busy);
// Whether a run has the busy cursor on (also while a window waits for the user over it).
bool WaitCursorOn();

// For WM_SETCURSOR of the main window: sets the busy cursor and returns true when a run has
// it on and no window waits for the user; false leaves the cursor to the default handling.
bool ApplyWaitCursor();

// The normal cursor for its lifetime, while a window waits for the user.
class NormalCursorWhileWaiting {
 public:
  NormalCursorWhileWaiting();
  ~NormalCursorWhileWaiting();
  NormalCursorWhileWaiting(const NormalCursorWhileWaiting&) = delete;
  NormalCursorWhileWaiting& operator=(const NormalCursorWhileWaiting&) = delete;
};

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_WIN32_WAIT_CURSOR_H_
