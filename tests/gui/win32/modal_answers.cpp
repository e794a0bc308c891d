#include "modal_answers.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "gui/win32/controls.h"
#include "gui/win32/informe.h"
#include "gui/win32/message_box.h"
#include "gui/win32/message_loop.h"
#include "gui/win32/plantillas.h"
#include "gui/win32/wide_text.h"
#include "gui/win32/win32_host.h"
#include "window_inspection.h"

namespace zentrova::testing {
namespace {

// The message box's text control, and the file dialog's name box and type list.
constexpr int kMessageTextId = 0xFFFF;
constexpr int kFileNameComboId = 0x47C;  // cmb13
constexpr int kFileNameEditId = 0x480;   // edt1
constexpr int kFileTypeComboId = 0x470;  // cmb1

ModalAnswers* current = nullptr;

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  return name;
}

bool IsMessageBox(HWND window) {
  return ClassOf(window) == L"#32770" && GetDlgItem(window, kMessageTextId) != nullptr;
}

bool IsModalKind(HWND window) {
  const std::wstring name = ClassOf(window);
  return name == L"#32770" || name == gui::kPlantillasClass || name == gui::kInformeClass;
}

std::vector<HWND> ThreadWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::wstring Describe(HWND window) {
  if (IsMessageBox(window)) return L"MessageBox: " + MessageBoxText(window);
  if (ClassOf(window) == L"#32770") return L"FileDialog: " + TextOf(window);
  return ClassOf(window);
}

void Press(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

}  // namespace

ModalAnswers::ModalAnswers() {
  current = this;
  timer_ = SetTimer(nullptr, 0, 20, &ModalAnswers::Tick);
}

ModalAnswers::~ModalAnswers() {
  KillTimer(nullptr, timer_);
  if (current == this) current = nullptr;
}

ModalAnswers& ModalAnswers::Then(Answer answer) {
  answers_.push_back(std::move(answer));
  return *this;
}

void CALLBACK ModalAnswers::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (current != nullptr) current->Poll();
}

void ModalAnswers::Poll() {
  if (polling_) return;
  polling_ = true;
  for (HWND window : ThreadWindows()) {
    if (!IsWindowVisible(window) || !IsWindowEnabled(window) || !IsModalKind(window)) continue;
    if (std::find(handled_.begin(), handled_.end(), window) != handled_.end()) continue;
    handled_.push_back(window);
    seen_.push_back(Describe(window));
    if (answers_.empty()) {
      ADD_FAILURE() << "A window nobody expected: " << Narrow(seen_.back());
      PostMessageW(window, WM_CLOSE, 0, 0);
    } else {
      Answer answer = std::move(answers_.front());
      answers_.pop_front();
      answer(window);
    }
    break;
  }
  polling_ = false;
}

bool ModalWindowOpen() {
  for (HWND window : ThreadWindows()) {
    if (IsWindowVisible(window) && IsModalKind(window)) return true;
  }
  return false;
}

bool PumpUntil(const std::function<bool()>& condition, int timeout_ms) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeout_ms);
  while (!condition()) {
    if (GetTickCount64() > end) return false;
    gui::ProcessWaitingMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

bool Settle(const ModalAnswers& answers, int timeout_ms) {
  return PumpUntil([&] { return answers.done() && !ModalWindowOpen(); }, timeout_ms);
}

std::wstring MessageBoxText(HWND box) { return TextOf(GetDlgItem(box, kMessageTextId)); }

namespace {

// Types the full path of `file` into the name box of a file dialog and presses its button.
void TypeFile(HWND dialog, const std::filesystem::path& file) {
  HWND name = GetDlgItem(dialog, kFileNameComboId);
  if (name == nullptr) name = GetDlgItem(dialog, kFileNameEditId);
  ASSERT_NE(name, nullptr);
  // The dialog takes Windows' separators only.
  const std::wstring typed = std::filesystem::path(file).make_preferred().wstring();
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
  Press(GetDlgItem(dialog, IDOK));
}

}  // namespace

ModalAnswers::Answer PickFile(const std::filesystem::path& file) {
  return [file](HWND dialog) {
    EXPECT_FALSE(IsMessageBox(dialog)) << "a file dialog";
    EXPECT_EQ(TextOf(dialog), gui::kOpenDialogTitle);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, kFileTypeComboId)), L"*.xml");
    TypeFile(dialog, file);
  };
}

ModalAnswers::Answer SaveAs(const std::filesystem::path& file) {
  return [file](HWND dialog) {
    EXPECT_FALSE(IsMessageBox(dialog)) << "a file dialog";
    EXPECT_EQ(TextOf(dialog), L"Guardar el informe de la conversi\u00f3n");
    TypeFile(dialog, file);
  };
}

ModalAnswers::Answer CloseReport() {
  return [](HWND window) {
    ASSERT_EQ(ClassOf(window), gui::kInformeClass);
    EXPECT_EQ(TextOf(window), L"Informe de la conversi\u00f3n");
    Press(gui::FindControl(window, gui::TInforme::kBCerrar));
  };
}

ModalAnswers::Answer CancelFile() {
  return [](HWND dialog) {
    EXPECT_FALSE(IsMessageBox(dialog)) << "a file dialog";
    Press(GetDlgItem(dialog, IDCANCEL));
  };
}

ModalAnswers::Answer PressOk() {
  return [](HWND box) {
    ASSERT_TRUE(IsMessageBox(box)) << "a message box";
    EXPECT_EQ(TextOf(box), gui::kApplicationTitle);
    int buttons = 0;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (ClassOf(child) == L"Button" && IsWindowVisible(child)) ++buttons;
    }
    EXPECT_EQ(buttons, 1);
    HWND ok = GetDlgItem(box, IDOK);
    ASSERT_NE(ok, nullptr);
    Press(ok);
  };
}

ModalAnswers::Answer ChooseFrames(const std::vector<int>& rows) {
  return [rows](HWND dialog) {
    ASSERT_EQ(ClassOf(dialog), gui::kPlantillasClass);
    HWND list = gui::FindControl(dialog, gui::TPlantillas::kListBox2);
    bool first = true;
    for (int row : rows) {
      ClickRow(list, row, first ? 0 : MK_CONTROL);
      first = false;
    }
    Press(gui::FindControl(dialog, gui::TPlantillas::kBitBtnContinuar));
  };
}

ModalAnswers::Answer Before(std::function<void(HWND)> action, ModalAnswers::Answer answer) {
  return [action, answer](HWND window) {
    action(window);
    answer(window);
  };
}

void ClickRow(HWND list, int row, WPARAM keys) {
  ASSERT_NE(list, nullptr);
  ASSERT_LT(row, static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)));
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON | keys, point);
  SendMessageW(list, WM_LBUTTONUP, keys, point);
}

}  // namespace zentrova::testing
