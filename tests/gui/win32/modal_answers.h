#ifndef ZENTROVA_TESTS_GUI_WIN32_MODAL_ANSWERS_H_
#define ZENTROVA_TESTS_GUI_WIN32_MODAL_ANSWERS_H_

// Answers the modal windows a test opens (file dialogs, message boxes, the time-frame dialog,
// the report window), one after the other, from a script. A timer of the thread looks inside the
// modal loops for a visible, enabled window of those kinds that it has not answered yet. Answers do
// not wait: what they press they press with posted messages, so that a window the press opens is
// found by the next tick.

#include <windows.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace zentrova::testing {

class ModalAnswers {
 public:
  using Answer = std::function<void(HWND)>;

  ModalAnswers();
  ~ModalAnswers();
  ModalAnswers(const ModalAnswers&) = delete;
  ModalAnswers& operator=(const ModalAnswers&) = delete;

  // The answer to the next modal window.
  ModalAnswers& Then(Answer answer);

  // True once every answer was given.
  bool done() const { return answers_.empty(); }
  // Descriptions of the modal windows seen ("MessageBox: text", "FileDialog: title",
  // "TPlantillas", "TInforme"), in order, those answered from the script and those that came
  // unasked (which are closed).
  const std::vector<std::wstring>& seen() const { return seen_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void Poll();

  UINT_PTR timer_ = 0;
  bool polling_ = false;
  std::deque<Answer> answers_;
  std::vector<HWND> handled_;
  std::vector<std::wstring> seen_;
};

// Dispatches messages until `condition` holds or `timeout_ms` has passed; false on timeout.
bool PumpUntil(const std::function<bool()>& condition, int timeout_ms = 60000);
// Dispatches messages until `answers` are all given and no modal window of a run is open.
bool Settle(const ModalAnswers& answers, int timeout_ms = 60000);
// Whether a message box, file dialog, time-frame dialog or report window of this thread is
// showing.
bool ModalWindowOpen();

// The file dialog: checks its title and filter, then types the full path of `file` into its
// name box and presses Open.
ModalAnswers::Answer PickFile(const std::filesystem::path& file);
// The file dialog, cancelled.
ModalAnswers::Answer CancelFile();
// A message box: checks its title and single OK button, then presses OK.
ModalAnswers::Answer PressOk();
// The time-frame dialog: clicks the rows given (the first plainly, the others with Ctrl),
// then presses Continuar.
ModalAnswers::Answer ChooseFrames(const std::vector<int>& rows);
// The report window (TInforme): presses Cerrar.
ModalAnswers::Answer CloseReport();
// The file dialog of the report window: types `file` into its name box and presses Save.
ModalAnswers::Answer SaveAs(const std::filesystem::path& file);
// Any window: runs `action` on it first, then gives `answer`.
ModalAnswers::Answer Before(std::function<void(HWND)> action, ModalAnswers::Answer answer);

// Clicks row `row` of list box `list` with the mouse, `keys` (MK_CONTROL, MK_SHIFT) held.
void ClickRow(HWND list, int row, WPARAM keys = 0);

// The text of a message box (its static text control).
std::wstring MessageBoxText(HWND box);

}  // namespace zentrova::testing

#endif  // ZENTROVA_TESTS_GUI_WIN32_MODAL_ANSWERS_H_
