#include "gui/win32/wait_cursor.h"

namespace zentrova::gui {
namespace {

// Everything runs on the one user-interface thread.
bool busy = false;
int waiting = 0;

void ShowCurrentCursor() {
  SetCursor(LoadCursorW(nullptr, busy && waiting == 0 ? IDC_WAIT : IDC_ARROW));
}

}  // namespace

void SetWaitCursor(bool on) {
  if (busy == on) return;
  busy = on;
  ShowCurrentCursor();
}

bool WaitCursorOn() { return busy; }

bool ApplyWaitCursor() {
  if (!busy || waiting > 0) return false;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

NormalCursorWhileWaiting::NormalCursorWhileWaiting() {
  ++waiting;
  ShowCurrentCursor();
}

NormalCursorWhileWaiting::~NormalCursorWhileWaiting() {
  --waiting;
  ShowCurrentCursor();
}

}  // namespace zentrova::gui
