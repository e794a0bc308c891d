#include "gui/win32/main_window.h"

#include "app/batch_mode.h"
#include "app/error_message.h"
#include "app/run_steps.h"
#include "gui/win32/dpi.h"
#include "gui/win32/help.h"
#include "gui/win32/message_box.h"
#include "gui/win32/message_loop.h"
#include "gui/win32/resource_ids.h"
#include "gui/win32/wait_cursor.h"

namespace zentrova::gui {
namespace {

constexpr COLORREF kUpperTop = RGB(249, 211, 125);
constexpr COLORREF kUpperMiddle = RGB(255, 255, 255);
constexpr COLORREF kUpperBottom = RGB(255, 238, 221);
constexpr COLORREF kLowerTop = RGB(194, 205, 254);
constexpr COLORREF kLowerMiddle = RGB(207, 242, 254);
constexpr COLORREF kLowerBottom = RGB(204, 216, 230);
constexpr int kClientWidth = 632;
constexpr int kClientHeight = 266;
// A fixed dialog border: no resizing, no minimise or maximise box.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
// Posted by Show(): FormShow runs once the window is on the screen.
constexpr UINT kFormShowMessage = WM_APP + 1;

}  // namespace

TMForm::TMForm(std::vector<std::string> parameters)
    : TMForm(std::move(parameters), app::DefaultRunPaths(), app::DefaultResultIniFile()) {}

TMForm::TMForm(std::vector<std::string> parameters, app::RunPaths paths,
               std::filesystem::path ini_file)
    : parameters_(std::move(parameters)), ini_file_(std::move(ini_file)), state_(std::move(paths)) {
  RegisterClassOnce(kMainClass, true);
  Create(kMainClass, kMainCaption, kStyle, kExStyle, nullptr);
  BuildControls();
  UseDialogKeys(hwnd());
  ApplyDpi(WindowDpi(hwnd()), nullptr);
  host_ = std::make_unique<Win32Host>(hwnd(), BExportar, BImportar, BClose);
  FormCreate();
}

TMForm::~TMForm() = default;

void TMForm::BuildControls() {
  auto panel = [&](int id, Bounds bounds, COLORREF top, COLORREF middle, COLORREF bottom) {
    auto made = std::make_unique<GradientPanel>(hwnd(), id, top, middle, bottom);
    layout_.Place(made->hwnd(), bounds);
    return made;
  };
  auto heading = [&](GradientPanel& on, int id, const wchar_t* text, Bounds bounds) {
    HWND label = CreateControl(L"STATIC", text, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, on.hwnd(), id);
    layout_.Place(label, bounds, ArialBold(16));
    return label;
  };
  auto button = [&](GradientPanel& on, int id, const wchar_t* text, Bounds bounds, int glyph) {
    HWND made =
        CreateControl(L"BUTTON", text, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, on.hwnd(), id);
    layout_.Place(made, bounds, kDialogFont);
    if (glyph != 0) glyphs_.Add(made, glyph);
    return made;
  };

  Draw3D2 = panel(kDraw3D2, Bounds{1, 0, 315, 169}, kUpperTop, kUpperMiddle, kUpperBottom);
  Label3 = heading(*Draw3D2, kLabel3, L"Transformar datos desde Vetrana hacia Orbelin ",
                   Bounds{24, 24, 265, 57});
  BExportar = button(*Draw3D2, kBExportar, L"OK", Bounds{96, 120, 89, 25}, IDI_GLYPH_OK);

  Draw3D3 = panel(kDraw3D3, Bounds{316, 0, 317, 169}, kUpperTop, kUpperMiddle, kUpperBottom);
  Label4 = heading(*Draw3D3, kLabel4, L"Transformar datos desde Orbelin hacia Vetrana",
                   Bounds{8, 24, 305, 57});
  BImportar = button(*Draw3D3, kBImportar, L"OK", Bounds{96, 120, 89, 25}, IDI_GLYPH_OK);

  Draw3D1 = panel(kDraw3D1, Bounds{0, 168, 633, 97}, kLowerTop, kLowerMiddle, kLowerBottom);
  BClose = button(*Draw3D1, kBClose, L"&Salir", Bounds{256, 32, 89, 25}, IDI_GLYPH_CLOSE);
  Button1 = button(*Draw3D1, kButton1, L"F1 Ayuda", Bounds{264, 64, 75, 25}, 0);
}

void TMForm::ApplyDpi(int dpi, const RECT* suggested) {
  PlaceForDpi(hwnd(), kClientWidth, kClientHeight, kStyle, kExStyle, dpi, suggested);
  layout_.Apply(dpi);
  glyphs_.Apply(dpi);
}

void TMForm::FormCreate() {
  // Before anything else: a conversion that a crash left half-done is completed.
  app::FinishInterruptedConversion(state_.paths.ktemp);
  state_.subject_lists = import::SubjectLists{};
  state_.resultCode = 0;
  state_.runMode = app::RunModeFor(parameters_);
}

void TMForm::Show() {
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
  if (GetFocus() == nullptr || !IsChild(hwnd(), GetFocus())) SetFocus(BExportar);
  if (shown_) return;
  shown_ = true;
  // The direction of batch mode runs once the window is on the screen.
  PostMessageW(hwnd(), kFormShowMessage, 0, 0);
}

void TMForm::FormShow() {
  app::RunBatchDirection(
      parameters_, [this] { BImportarClick(); }, [this] { BExportarClick(); });
}

void TMForm::Close() { SendMessageW(hwnd(), WM_CLOSE, 0, 0); }

void TMForm::FormClose() {
  if (!state_.InBatchMode()) return;
  try {
    app::WriteResultCode(ini_file_, state_.resultCode);
  } catch (...) {
    ReportError(hwnd(), app::CurrentErrorMessage());
  }
}

void TMForm::Run(app::RunOutcome (*direction)(app::ProcessState&, app::Host&)) {
  try {
    direction(state_, *host_);
  } catch (...) {
    // The application's default error report: the run ends here, the program goes on.
    host_->EndBusy();
    ReportError(hwnd(), app::CurrentErrorMessage());
  }
}

void TMForm::BExportarClick() { Run(&app::BExportarClick); }

void TMForm::BImportarClick() { Run(&app::BImportarClick); }

void TMForm::Button1Click() { ShowHelpIndex(hwnd()); }

void TMForm::OnCommand(int id) {
  HWND control = FindControl(hwnd(), id);
  // The dialog manager may name a button that cannot be pressed now.
  if (control == nullptr || !IsWindowEnabled(control) || closed_) return;
  switch (id) {
    case kBExportar:
      BExportarClick();
      break;
    case kBImportar:
      BImportarClick();
      break;
    case kBClose:
      Close();
      break;
    case kButton1:
      Button1Click();
      break;
    default:
      break;
  }
}

LRESULT TMForm::DefaultButton() const {
  // Enter presses the button that has the focus.
  HWND focus = GetFocus();
  for (HWND button : {BExportar, BImportar, BClose, Button1}) {
    if (focus == button) return MAKELRESULT(GetDlgCtrlID(button), DC_HASDEFID);
  }
  return 0;
}

LRESULT TMForm::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    return OnMessage(message, wparam, lparam);
  } catch (...) {
    // Errors cannot pass through Windows' frames: the application's default error report.
    host_->EndBusy();
    ReportError(hwnd(), app::CurrentErrorMessage());
    return 0;
  }
}

LRESULT TMForm::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) OnCommand(LOWORD(wparam));
      return 0;
    case DM_GETDEFID:
      return DefaultButton();
    case kFormShowMessage:
      FormShow();
      return 0;
    case WM_SETCURSOR:
      if (ApplyWaitCursor()) return TRUE;
      return Default(message, wparam, lparam);
    case WM_HELP:
      ShowHelpContext(hwnd(), kHelpContext);
      return TRUE;
    case WM_ACTIVATE:
      // The control that had the focus gets it back when the window is active again.
      if (LOWORD(wparam) == WA_INACTIVE) {
        if (HWND focus = GetFocus(); focus != nullptr && IsChild(hwnd(), focus)) {
          last_focus_ = focus;
        }
      } else if (last_focus_ != nullptr && IsWindowEnabled(last_focus_)) {
        SetFocus(last_focus_);
        return 0;
      }
      return Default(message, wparam, lparam);
    case WM_CLOSE:
      // Every closing, by the user, by BClose or by a run.
      if (closed_) return 0;
      FormClose();
      closed_ = true;
      ShowWindow(hwnd(), SW_HIDE);
      // Wakes the message loop, which ends with the window.
      PostMessageW(hwnd(), WM_NULL, 0, 0);
      return 0;
    case WM_DPICHANGED:
      ApplyDpi(HIWORD(wparam), reinterpret_cast<const RECT*>(lparam));
      return 0;
    default:
      return Default(message, wparam, lparam);
  }
}

}  // namespace zentrova::gui
