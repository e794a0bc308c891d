#include "gui/win32/informe.h"

#include <commdlg.h>

#include <string>

#include "app/error_message.h"
#include "gui/win32/dpi.h"
#include "gui/win32/message_box.h"
#include "gui/win32/message_loop.h"
#include "gui/win32/resource_ids.h"
#include "gui/win32/wait_cursor.h"
#include "gui/win32/wide_text.h"

namespace zentrova::gui {
namespace {

constexpr int kClientWidth = 640;
constexpr int kClientHeight = 480;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr wchar_t kTextFilter[] = L"Texto (*.txt)\0*.txt\0";
constexpr size_t kFileBufferLength = 32768;

// Windows' controls break lines at "\r\n".
std::wstring WindowsLines(const std::u16string& text) {
  std::wstring lines;
  for (char16_t c : text) {
    if (c == u'\n') lines += L'\r';
    lines += static_cast<wchar_t>(c);
  }
  return lines;
}

}  // namespace

TInforme::TInforme(report::RunReport report, HWND owner)
    : ModalWindow(owner), report_(std::move(report)) {
  RegisterClassOnce(kInformeClass, true);
  Create(kInformeClass, Wide(report::kReportTitle).c_str(), kStyle, kExStyle, owner);
  BuildControls();
  UseDialogKeys(hwnd());
  ApplyDpi(WindowDpi(hwnd()), nullptr);
}

TInforme::~TInforme() = default;

void TInforme::BuildControls() {
  LabelResumen = CreateControl(L"STATIC", WindowsLines(report::GlanceText(report_)),
                               WS_VISIBLE | SS_LEFT | SS_NOPREFIX, hwnd(), kLabelResumen);
  layout_.Place(LabelResumen, Bounds{12, 10, 616, 126}, kDialogBoldFont);
  MemoInforme = CreateControl(
      L"EDIT", WindowsLines(report::ReportText(report_)),
      WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, hwnd(),
      kMemoInforme, WS_EX_CLIENTEDGE);
  layout_.Place(MemoInforme, Bounds{12, 142, 616, 292}, kDialogFont);
  BGuardar = CreateControl(L"BUTTON", L"&Guardar como texto\u2026",
                           WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, hwnd(), kBGuardar);
  layout_.Place(BGuardar, Bounds{12, 444, 150, 25}, kDialogFont);
  BCerrar = CreateControl(L"BUTTON", L"&Cerrar", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, hwnd(),
                          kBCerrar);
  layout_.Place(BCerrar, Bounds{540, 444, 88, 25}, kDialogFont);
  glyphs_.Add(BCerrar, IDI_GLYPH_CLOSE);
}

void TInforme::ApplyDpi(int dpi, const RECT* suggested) {
  PlaceForDpi(hwnd(), kClientWidth, kClientHeight, kStyle, kExStyle, dpi, suggested);
  layout_.Apply(dpi);
  glyphs_.Apply(dpi);
}

void TInforme::ShowModal() {
  ShowModalWith([this] {
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
    SetFocus(BCerrar);
  });
}

void TInforme::BGuardarClick() {
  const std::filesystem::path suggested = report::ReportFileName(report_);
  std::wstring file(kFileBufferLength, L'\0');
  file.replace(0, suggested.wstring().size(), suggested.wstring());
  const std::wstring folder = report_.export_file.parent_path().wstring();
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = hwnd();
  dialog.lpstrFilter = kTextFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = L"Guardar el informe de la conversi\u00f3n";
  dialog.lpstrDefExt = L"txt";
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR |
                 OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
  NormalCursorWhileWaiting normal_cursor;
  if (!GetSaveFileNameW(&dialog)) return;
  try {
    report::WriteReportFile(std::filesystem::path(file.c_str()), report_);
  } catch (...) {
    ReportError(hwnd(), app::CurrentErrorMessage());
  }
}

void TInforme::OnCommand(int id, int notification) {
  if (notification != BN_CLICKED) return;
  switch (id) {
    case kBGuardar:
      BGuardarClick();
      break;
    case kBCerrar:
    case IDCANCEL:  // Escape closes the window
      SendMessageW(hwnd(), WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

LRESULT TInforme::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return Guarded([&]() -> LRESULT {
    switch (message) {
      case WM_COMMAND:
        OnCommand(LOWORD(wparam), HIWORD(wparam));
        return 0;
      case DM_GETDEFID:
        return MAKELRESULT(kBCerrar, DC_HASDEFID);
      case WM_CLOSE:
        MarkClosed();
        return 0;
      case WM_DPICHANGED:
        ApplyDpi(HIWORD(wparam), reinterpret_cast<const RECT*>(lparam));
        return 0;
      default:
        return Default(message, wparam, lparam);
    }
  });
}

}  // namespace zentrova::gui
