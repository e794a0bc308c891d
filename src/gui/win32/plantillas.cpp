#include "gui/win32/plantillas.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/window_texts.h"
#include "gui/win32/dpi.h"
#include "gui/win32/help.h"
#include "gui/win32/message_box.h"
#include "gui/win32/message_loop.h"
#include "gui/win32/resource_ids.h"
#include "gui/win32/wide_text.h"

namespace zentrova::gui {
namespace {

constexpr COLORREF kMaroon = RGB(128, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kSkyBlue = RGB(166, 202, 240);
// Items of the two lists are 13 pixels high at 96 DPI.
constexpr int kItemHeight = 13;
constexpr int kClientWidth = 370;
constexpr int kClientHeight = 281;
// A sizeable border, the system menu and the close box only.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

constexpr DWORD kWrappedLabel = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
constexpr DWORD kLabel = WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX;

void AddString(HWND list, UINT message, const std::u16string& text) {
  SendMessageW(list, message, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

void SetText(HWND control, const std::u16string& text) {
  SetWindowTextW(control, Wide(text).c_str());
}

TTTOOLINFOW ToolOf(HWND control) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  return tool;
}

// A tooltip over `control`, without text until SetTooltipText gives it one.
HWND AddTooltip(HWND owner, HWND control) {
  HWND tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
  TTTOOLINFOW tool = ToolOf(control);
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  // A long name wraps instead of running across the screen.
  SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, 320);
  return tooltip;
}

void SetTooltipText(HWND tooltip, HWND control, const std::u16string& text) {
  const std::wstring wide = Wide(text);
  TTTOOLINFOW tool = ToolOf(control);
  tool.lpszText = const_cast<wchar_t*>(wide.c_str());
  SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace

TPlantillas::TPlantillas(std::filesystem::path export_file, HWND owner, const xml::Document* loaded)
    : ModalWindow(owner), model_(export_file, loaded), export_file_(std::move(export_file)) {
  RegisterClassOnce(kPlantillasClass, true);
  Create(kPlantillasClass, kPlantillasCaption, kStyle, kExStyle, owner);
  BuildControls();
  UseDialogKeys(hwnd());
  ApplyDpi(WindowDpi(hwnd()), nullptr);
}

TPlantillas::~TPlantillas() = default;

void TPlantillas::BuildControls() {
  // The sky blue, white and the inactive caption's colour of the system.
  Draw3D4 = std::make_unique<GradientPanel>(hwnd(), kDraw3D4, kSkyBlue, RGB(255, 255, 255),
                                            GetSysColor(COLOR_INACTIVECAPTION));
  HWND panel = Draw3D4->hwnd();
  layout_.Place(panel, Bounds{0, 0, 369, 281});

  auto label = [&](int id, const wchar_t* text, DWORD style, Bounds bounds, FontDescription font,
                   COLORREF colour, DWORD ex_style = 0) {
    HWND control = CreateControl(L"STATIC", text, style, panel, id, ex_style);
    layout_.Place(control, bounds, font);
    Draw3D4->SetTextColour(control, colour);
    return control;
  };
  const FontDescription heading = ArialBold(16);
  LabelPlantillas = label(kLabelPlantillas,
                          L"Seleccione 1, o los 2 Marcos Horarios que quiere aplicar a su Horario "
                          L"en Orbelin.",
                          kWrappedLabel, Bounds{16, 2, 321, 33}, ArialBold(13), RGB(0, 0, 0));
  LabelSelec = label(kLabelSelec,
                     L"Para seleccionar mas de un Marco Horario, mantenga (Ctrl) pulsado y "
                     L"seleccione cada marco con 1 click del bot\u00f3n izquierdo del rat\u00f3n.",
                     kWrappedLabel, Bounds{16, 36, 321, 50}, ArialBold(13, true), kRed);
  // The headings of the lists show the gradient, and the lists' borders they reach over,
  // through everything but their text.
  LabelMarcos = label(kLabelMarcos, L"MARCOS", kLabel, Bounds{40, 86, 74, 16}, heading, kMaroon,
                      WS_EX_TRANSPARENT);
  Label1 = label(kLabel1, L"HORAS", kLabel, Bounds{215, 86, 67, 18}, heading, kMaroon,
                 WS_EX_TRANSPARENT);
  // SS_NOTIFY: the label sees the mouse, so that its tooltip shows.
  LabelNombre = label(kLabelNombre, L"-", kWrappedLabel | SS_NOTIFY, Bounds{9, 151, 120, 41},
                      ArialBold(16, false, true), kMaroon);
  name_tooltip_ = AddTooltip(hwnd(), LabelNombre);
  LabelPlanFec1 = label(kLabelPlanFec1, L"-", kLabel, Bounds{9, 196, 120, 23}, heading, kMaroon);
  LabelPlanFec2 = label(kLabelPlanFec2, L"-", kLabel, Bounds{9, 226, 120, 23}, heading, kMaroon);

  // The button comes first in the tab order, then the two lists.
  BitBtnContinuar = CreateControl(
      L"BUTTON", L"Continuar", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, panel, kBitBtnContinuar);
  layout_.Place(BitBtnContinuar, Bounds{255, 253, 89, 25}, kDialogBoldFont);
  glyphs_.Add(BitBtnContinuar, IDI_GLYPH_OK);

  ListBox2 = CreateControl(
      L"LISTBOX", L"",
      WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT,
      panel, kListBox2, WS_EX_CLIENTEDGE);
  layout_.Place(ListBox2, Bounds{16, 103, 127, 45}, kDialogFont);
  ListBox1 =
      CreateControl(L"LISTBOX", L"", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                    panel, kListBox1, WS_EX_CLIENTEDGE);
  layout_.Place(ListBox1, Bounds{152, 103, 193, 146}, kDialogFont);

  // Never visible: the text of its selected item is the current frame.
  ComboBoxPlantilla =
      CreateControl(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL, panel, kComboBoxPlantilla);
  layout_.Place(ComboBoxPlantilla, Bounds{150, 254, 81, 21}, kDialogFont);

  LabelAviso = CreateControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, panel, kLabelAviso);
  layout_.Place(LabelAviso, Bounds{16, 36, 329, 210}, ArialBold(13));
  Draw3D4->SetTextColour(LabelAviso, kRed);
  BitBtnTerminar = CreateControl(L"BUTTON", Wide(app::kTerminarCaption), WS_TABSTOP | BS_PUSHBUTTON,
                                 panel, kBitBtnTerminar);
  layout_.Place(BitBtnTerminar, Bounds{160, 253, 89, 25}, kDialogBoldFont);
  glyphs_.Add(BitBtnTerminar, IDI_GLYPH_CLOSE);
}

void TPlantillas::ApplyDpi(int dpi, const RECT* suggested) {
  PlaceForDpi(hwnd(), kClientWidth, kClientHeight, kStyle, kExStyle, dpi, suggested);
  layout_.Apply(dpi);
  for (HWND list : {ListBox2, ListBox1}) {
    SendMessageW(list, LB_SETITEMHEIGHT, 0, Scale(kItemHeight, dpi));
  }
  glyphs_.Apply(dpi);
}

void TPlantillas::Show() {
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
  SetFocus(BitBtnContinuar);
  if (activated_) return;
  activated_ = true;
  FormActivate();
}

void TPlantillas::ShowModal() {
  modal_ = true;
  ShowModalWith([this] { Show(); });
}

void TPlantillas::FormActivate() {
  model_.FormActivate();
  SendMessageW(ListBox2, LB_RESETCONTENT, 0, 0);
  SendMessageW(ComboBoxPlantilla, CB_RESETCONTENT, 0, 0);
  for (const std::u16string& code : model_.frames()) {
    AddString(ListBox2, LB_ADDSTRING, code);
    AddString(ComboBoxPlantilla, CB_ADDSTRING, code);
  }
  SendMessageW(ComboBoxPlantilla, CB_SETCURSEL, static_cast<WPARAM>(model_.current_frame()), 0);
  ComboBoxPlantillaChange();
  if (!model_.CanChoose()) ShowNoChoice();
}

void TPlantillas::ComboBoxPlantillaChange() {
  model_.ComboBoxPlantillaChange();
  // The label holds three lines of the name at most; the whole name is its tooltip.
  SetText(LabelNombre, model_.name_label());
  SetTooltipText(name_tooltip_, LabelNombre, model_.name_label());
  SetText(LabelPlanFec1, model_.start_date_label());
  SetText(LabelPlanFec2, model_.end_date_label());
  SendMessageW(ListBox1, LB_RESETCONTENT, 0, 0);
  for (const std::u16string& slot : model_.slots()) AddString(ListBox1, LB_ADDSTRING, slot);
}

void TPlantillas::ListBox2Click() {
  // The focus item is the one just clicked, whether the click selected or deselected it.
  const int focus = static_cast<int>(SendMessageW(ListBox2, LB_GETCARETINDEX, 0, 0));
  if (focus < 0) return;
  SendMessageW(ComboBoxPlantilla, CB_SETCURSEL, static_cast<WPARAM>(focus), 0);
  model_.ListBox2Click(focus);
  ComboBoxPlantillaChange();
}

void TPlantillas::BitBtnContinuarClick() { SendMessageW(hwnd(), WM_CLOSE, 0, 0); }

void TPlantillas::BitBtnTerminarClick() { SendMessageW(hwnd(), WM_CLOSE, 0, 0); }

void TPlantillas::ShowNoChoice() {
  abandoning_ = true;
  SetText(LabelAviso, app::NoFrameChoiceNotice(export_file_, model_.load_failed()));
  for (HWND control : {LabelSelec, LabelMarcos, Label1, ListBox2, ListBox1, LabelNombre,
                       LabelPlanFec1, LabelPlanFec2}) {
    ShowWindow(control, SW_HIDE);
  }
  ShowWindow(LabelAviso, SW_SHOW);
  ShowWindow(BitBtnTerminar, SW_SHOW);
  EnableWindow(BitBtnContinuar, FALSE);
  SendMessageW(BitBtnContinuar, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  SendMessageW(BitBtnTerminar, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  SetFocus(BitBtnTerminar);
}

void TPlantillas::FormClose() {
  const int count = static_cast<int>(SendMessageW(ListBox2, LB_GETCOUNT, 0, 0));
  std::vector<bool> selected;
  selected.reserve(static_cast<size_t>(std::max(count, 0)));
  for (int row = 0; row < count; ++row) {
    selected.push_back(SendMessageW(ListBox2, LB_GETSEL, static_cast<WPARAM>(row), 0) > 0);
  }
  import::TimeFrameModel::Closing closing = model_.FormClose(selected);
  if (!closing.message.empty()) ShowMessageBox(hwnd(), closing.message);
  answer_ = closing.answer;
}

void TPlantillas::OnCommand(int id, int notification) {
  switch (id) {
    case kListBox2:
      if (notification == LBN_SELCHANGE) ListBox2Click();
      break;
    case kBitBtnContinuar:
      if (notification == BN_CLICKED && IsWindowEnabled(BitBtnContinuar)) BitBtnContinuarClick();
      break;
    case kBitBtnTerminar:
      if (notification == BN_CLICKED && IsWindowVisible(BitBtnTerminar)) BitBtnTerminarClick();
      break;
    case IDCANCEL:  // Escape behaves as the close box
      SendMessageW(hwnd(), WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

LRESULT TPlantillas::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return Guarded([&]() -> LRESULT {
    switch (message) {
      case WM_COMMAND:
        OnCommand(LOWORD(wparam), HIWORD(wparam));
        return 0;
      case DM_GETDEFID:
        // Enter presses the dialog's default button.
        return MAKELRESULT(abandoning_ ? kBitBtnTerminar : kBitBtnContinuar, DC_HASDEFID);
      case WM_CLOSE:
        // Every close goes through here and always proceeds.
        if (closed()) return 0;
        FormClose();
        MarkClosed();
        if (!modal_) ShowWindow(hwnd(), SW_HIDE);
        return 0;
      case WM_HELP:
        ShowHelpContext(hwnd(), kHelpContext);
        return TRUE;
      case WM_DPICHANGED:
        ApplyDpi(HIWORD(wparam), reinterpret_cast<const RECT*>(lparam));
        return 0;
      default:
        return Default(message, wparam, lparam);
    }
  });
}

}  // namespace zentrova::gui
