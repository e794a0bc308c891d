#ifndef ZENTROVA_GUI_WIN32_MESSAGE_LOOP_H_
#define ZENTROVA_GUI_WIN32_MESSAGE_LOOP_H_

// The message loops of the windows, and their keyboard: Tab, Enter, Escape and the access
// keys through the dialog manager, F1 as WM_HELP to the window.

#include <windows.h>

#include <functional>

namespace zentrova::gui {

// Gives `window` (a top-level window of ours) the keyboard described above.
void UseDialogKeys(HWND window);

// Handles `message` when it is a key for a window marked by UseDialogKeys; true when it was
// handled and must not be dispatched.
bool TranslateWindowKeys(MSG& message);

// Dispatches messages until `open` returns false. A WM_QUIT met on the way is posted again
// and ends the loop, so that every loop around this one ends too.
void RunMessageLoop(const std::function<bool()>& open);

// Dispatches the messages waiting, without waiting for more; false once WM_QUIT came (it is
// posted again).
bool ProcessWaitingMessages();

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_WIN32_MESSAGE_LOOP_H_
