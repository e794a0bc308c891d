// TPlantillas on Windows, the time-frame dialog: its controls, the frame details, the
// selection in list order, the messages, the close box, Escape and Enter, and the way out
// when there is nothing to choose.

#include "gui/win32/plantillas.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "gui/view_fixtures.h"
#include "gui/win32/controls.h"
#include "gui/win32/help.h"
#include "gui/win32/resource_ids.h"
#include "gui/win32/wide_text.h"
#include "gui/win32/win32_host.h"
#include "modal_answers.h"
#include "support/temp_folder.h"
#include "text/encoding.h"
#include "window_inspection.h"

namespace zentrova::testing {
namespace {

using gui::TPlantillas;

std::wstring W(const std::string& utf8) { return gui::Wide(text::Utf8ToUtf16(utf8)); }

// A dialog over an export file, shown (not modally) so that a test can work it.
struct Dialog {
  Dialog(const std::vector<Frame>& frames, const std::vector<Slot>& slots) {
    WriteFile(file(), BuildExport(frames, slots));
    Show(file());
  }
  explicit Dialog(const std::filesystem::path& export_file) { Show(export_file); }
  void Show(const std::filesystem::path& export_file) {
    dialog = std::make_unique<TPlantillas>(export_file, nullptr);
    dialog->Show();
    PumpUntil([] { return true; });
  }
  std::filesystem::path file() const { return folder / "export.xml"; }
  HWND Find(int id) const { return gui::FindControl(dialog->hwnd(), id); }
  std::wstring Text(int id) const { return gui::WindowText(Find(id)); }
  HWND frames() const { return Find(TPlantillas::kListBox2); }
  std::vector<std::wstring> Items(int list) const {
    std::vector<std::wstring> items;
    HWND widget = Find(list);
    const int count = static_cast<int>(SendMessageW(widget, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      std::wstring item(static_cast<size_t>(SendMessageW(widget, LB_GETTEXTLEN, i, 0)), L'\0');
      SendMessageW(widget, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
      items.push_back(item);
    }
    return items;
  }
  bool Selected(int row) const { return SendMessageW(frames(), LB_GETSEL, row, 0) > 0; }
  std::wstring CurrentFrame() const {
    HWND combo = Find(TPlantillas::kComboBoxPlantilla);
    const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index < 0) return L"";
    std::wstring text(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, index, 0)), L'\0');
    SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return text;
  }
  // Closes the dialog with the button, answering the message it may show from `answers`.
  void PressContinuar() { SendMessageW(Find(TPlantillas::kBitBtnContinuar), BM_CLICK, 0, 0); }
  void PressCloseBox() { SendMessageW(dialog->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }
  std::wstring Resultado() const { return gui::Wide(dialog->answer().resultado); }

  TempFolder folder;
  std::unique_ptr<TPlantillas> dialog;
};

std::wstring Field(const std::wstring& code) {
  std::wstring field = code + std::wstring(10, L' ');
  return field.substr(0, 10);
}

}  // namespace

TEST(PlantillasTest, ControlsAsTheTableGivesThem) {
  Dialog d(kFrames, kSlots);
  HWND dialog = d.dialog->hwnd();
  const int dpi = gui::WindowDpi(dialog);
  EXPECT_EQ(gui::WindowText(dialog), L"Planillas, Marcos o Jornadas Horarias");
  const SIZE client = ClientSize(dialog);
  EXPECT_EQ(client.cx, gui::Scale(370, dpi));
  EXPECT_EQ(client.cy, gui::Scale(281, dpi));
  const LONG style = GetWindowLongW(dialog, GWL_STYLE);
  EXPECT_NE(style & WS_SYSMENU, 0);
  EXPECT_NE(style & WS_THICKFRAME, 0);  // sizeable
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);

  auto expect_bounds = [dpi](HWND control, gui::Bounds at_96) {
    const gui::Bounds bounds = BoundsInParent(control), expected = gui::Scale(at_96, dpi);
    EXPECT_EQ(std::tie(bounds.left, bounds.top, bounds.width, bounds.height),
              std::tie(expected.left, expected.top, expected.width, expected.height));
  };
  HWND panel = d.Find(TPlantillas::kDraw3D4);
  expect_bounds(panel, {0, 0, 369, 281});
  const Shading shading = PaintedShading(panel);
  EXPECT_EQ(shading.top, RGB(166, 202, 240));
  EXPECT_EQ(shading.middle, RGB(255, 255, 255));

  const COLORREF maroon = RGB(128, 0, 0);
  struct Label {
    int id;
    gui::Bounds bounds;
    std::wstring text;
    int pixels;
    bool italic, underline, wrap;
    COLORREF colour;
  };
  for (const Label& label : {
           Label{TPlantillas::kLabelPlantillas,
                 {16, 2, 321, 33},
                 L"Seleccione 1, o los 2 Marcos Horarios que quiere aplicar a su Horario en "
                 L"Orbelin.",
                 13,
                 false,
                 false,
                 true,
                 RGB(0, 0, 0)},
           Label{TPlantillas::kLabelSelec,
                 {16, 36, 321, 50},
                 W("Para seleccionar mas de un Marco Horario, mantenga (Ctrl) pulsado y "
                   "seleccione cada marco con 1 click del botón izquierdo del ratón."),
                 13,
                 true,
                 false,
                 true,
                 RGB(255, 0, 0)},
           Label{TPlantillas::kLabelMarcos,
                 {40, 86, 74, 16},
                 L"MARCOS",
                 16,
                 false,
                 false,
                 false,
                 maroon},
           Label{
               TPlantillas::kLabel1, {215, 86, 67, 18}, L"HORAS", 16, false, false, false, maroon},
           Label{TPlantillas::kLabelNombre,
                 {9, 151, 120, 41},
                 W("Jornada de mañana"),
                 16,
                 false,
                 true,
                 true,
                 maroon},
           Label{TPlantillas::kLabelPlanFec1,
                 {9, 196, 120, 23},
                 L"01/09/2024",
                 16,
                 false,
                 false,
                 false,
                 maroon},
           Label{TPlantillas::kLabelPlanFec2,
                 {9, 226, 120, 23},
                 L"30/06/2025",
                 16,
                 false,
                 false,
                 false,
                 maroon},
       }) {
    SCOPED_TRACE(label.id);
    HWND widget = d.Find(label.id);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(GetParent(widget), panel);
    expect_bounds(widget, label.bounds);
    EXPECT_EQ(gui::WindowText(widget), label.text);
    const LOGFONTW font = FontOf(widget);
    EXPECT_STREQ(font.lfFaceName, L"Arial");
    EXPECT_EQ(font.lfHeight, -gui::Scale(label.pixels, dpi));
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_EQ(font.lfItalic != 0, label.italic);
    EXPECT_EQ(font.lfUnderline != 0, label.underline);
    EXPECT_EQ((GetWindowLongW(widget, GWL_STYLE) & SS_TYPEMASK) == SS_LEFT, label.wrap);
    EXPECT_EQ(TextColourOf(panel, widget), label.colour);
    EXPECT_TRUE(IsWindowVisible(widget));
  }

  HWND frames = d.frames();
  expect_bounds(frames, {16, 103, 127, 45});
  EXPECT_NE(GetWindowLongW(frames, GWL_STYLE) & LBS_EXTENDEDSEL, 0);
  HWND slots = d.Find(TPlantillas::kListBox1);
  expect_bounds(slots, {152, 103, 193, 146});
  EXPECT_EQ(GetWindowLongW(slots, GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL), 0);
  for (HWND list : {frames, slots}) {
    EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), gui::Scale(13, dpi));
  }

  // A drop-down list takes the height its font gives it.
  HWND combo = d.Find(TPlantillas::kComboBoxPlantilla);
  const gui::Bounds combo_bounds = BoundsInParent(combo),
                    expected = gui::Scale({150, 254, 81, 21}, dpi);
  EXPECT_EQ(std::tie(combo_bounds.left, combo_bounds.top, combo_bounds.width),
            std::tie(expected.left, expected.top, expected.width));
  EXPECT_FALSE(IsWindowVisible(combo));
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(d.CurrentFrame(), L"X");

  HWND button = d.Find(TPlantillas::kBitBtnContinuar);
  expect_bounds(button, {255, 253, 89, 25});
  EXPECT_EQ(gui::WindowText(button), L"Continuar");
  EXPECT_EQ(FontOf(button).lfWeight, FW_BOLD);
  EXPECT_NE(GlyphOf(button), nullptr);
  EXPECT_EQ(GetFocus(), button);  // first in the tab order
  PostMessageW(button, WM_KEYDOWN, VK_TAB, 0);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == frames; }, 5000));
  EXPECT_FALSE(IsWindowVisible(d.Find(TPlantillas::kBitBtnTerminar)));
}

TEST(PlantillasTest, OpensWithTheFirstFrameShownAndNothingSelected) {
  Dialog d(kFrames, kSlots);
  EXPECT_EQ(d.Items(TPlantillas::kListBox2), (std::vector<std::wstring>{L"X", L"Y", L"Z"}));
  EXPECT_EQ(SendMessageW(d.frames(), LB_GETSELCOUNT, 0, 0), 0);
  EXPECT_EQ(d.Text(TPlantillas::kLabelNombre), W("Jornada de mañana"));
  EXPECT_EQ(d.Items(TPlantillas::kListBox1),
            (std::vector<std::wstring>{W("1ª mañana"), W("2ª mañana"), W("3ª mañana")}));
}

TEST(PlantillasTest, ClickShowsTheFrameLastClicked) {
  Dialog d(kFrames, kSlots);
  ClickRow(d.frames(), 1);
  EXPECT_EQ(d.Text(TPlantillas::kLabelNombre), L"Jornada de tarde");
  EXPECT_EQ(d.Text(TPlantillas::kLabelPlanFec1), L"01/09/2024");
  EXPECT_EQ(d.Text(TPlantillas::kLabelPlanFec2), L"31/05/2025");
  EXPECT_EQ(d.Items(TPlantillas::kListBox1), std::vector<std::wstring>{W("1ª tarde")});
  EXPECT_EQ(d.CurrentFrame(), L"Y");

  ClickRow(d.frames(), 2, MK_CONTROL);
  EXPECT_EQ(d.Text(TPlantillas::kLabelNombre), L"Jornada de verano");
  // Deselecting a frame still shows its details.
  ClickRow(d.frames(), 1, MK_CONTROL);
  EXPECT_FALSE(d.Selected(1));
  EXPECT_EQ(d.Text(TPlantillas::kLabelNombre), L"Jornada de tarde");
  EXPECT_EQ(d.Items(TPlantillas::kListBox1), std::vector<std::wstring>{W("1ª tarde")});
}

// LabelNombre keeps its size and shows three lines of a long name at most; the whole name is
// its tooltip, for the frame shown.
TEST(PlantillasTest, TheWholeNameIsTheLabelsTooltip) {
  std::vector<Frame> frames = kFrames;
  frames[1].name =
      "Jornada ordinaria de ma\xC3\xB1"
      "ana";
  Dialog d(frames, kSlots);
  const auto tooltip_text = [&] {
    wchar_t text[256] = L"";
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = GetParent(d.Find(TPlantillas::kLabelNombre));
    tool.uId = reinterpret_cast<UINT_PTR>(d.Find(TPlantillas::kLabelNombre));
    tool.lpszText = text;
    SendMessageW(d.dialog->name_tooltip(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    return std::wstring(text);
  };
  ASSERT_NE(d.dialog->name_tooltip(), nullptr);
  EXPECT_EQ(tooltip_text(), W("Jornada de mañana"));
  ClickRow(d.frames(), 1);
  EXPECT_EQ(d.Text(TPlantillas::kLabelNombre), W(frames[1].name));
  EXPECT_EQ(tooltip_text(), W(frames[1].name));
  const int dpi = gui::WindowDpi(d.dialog->hwnd());
  const gui::Bounds bounds = BoundsInParent(d.Find(TPlantillas::kLabelNombre));
  EXPECT_EQ(bounds.height, gui::Scale(41, dpi));
  EXPECT_EQ(bounds.width, gui::Scale(120, dpi));
  PumpUntil([] { return false; }, 300);  // the screen shows what was painted
  LeavePicture("marcos-nombre-largo", d.dialog->hwnd());
}

// The headings over the lists paint nothing but their text, as in the Qt view: on the screen,
// beside a heading's text is the panel's colour at the same height, and the top border of the
// list a heading reaches over shows under it.
TEST(PlantillasTest, TheHeadingsOverTheListsAreTransparent) {
  Dialog d(kFrames, kSlots);
  // A click fills the list of slots again, which paints it again.
  ClickRow(d.frames(), 1);
  PumpUntil([] { return false; }, 300);  // the screen shows what was painted
  LeavePicture("marcos", d.dialog->hwnd());
  HWND panel = d.Find(TPlantillas::kDraw3D4);
  const gui::Bounds heading = BoundsInParent(d.Find(TPlantillas::kLabel1));
  const gui::Bounds list = BoundsInParent(d.Find(TPlantillas::kListBox1));
  ASSERT_LT(list.top, heading.top + heading.height);  // the heading reaches over the list
  EXPECT_EQ(ScreenPixel(panel, POINT{heading.left + heading.width / 2, list.top}),
            ScreenPixel(panel, POINT{list.left + 2, list.top}));
  for (int id : {TPlantillas::kLabelMarcos, TPlantillas::kLabel1}) {
    SCOPED_TRACE(id);
    HWND label = d.Find(id);
    const gui::Bounds bounds = BoundsInParent(label);
    for (int row : {1, bounds.height / 2, bounds.height - 2}) {
      // The label's last column, past its text, and the panel just left of the label.
      const COLORREF inside = ScreenPixel(label, POINT{bounds.width - 1, row});
      const COLORREF beside = ScreenPixel(panel, POINT{bounds.left - 3, bounds.top + row});
      for (int channel = 0; channel < 24; channel += 8) {
        EXPECT_NEAR((inside >> channel) & 0xFF, (beside >> channel) & 0xFF, 3)
            << "row " << row << std::hex << ": " << inside << " beside " << beside;
      }
    }
  }
}

TEST(PlantillasTest, KeysMoveTheFrameShown) {
  Dialog d(kFrames, kSlots);
  ClickRow(d.frames(), 0);
  PostMessageW(d.frames(), WM_KEYDOWN, VK_DOWN, 0);
  ASSERT_TRUE(PumpUntil([&] { return d.CurrentFrame() == L"Y"; }, 5000));
  EXPECT_EQ(d.Text(TPlantillas::kLabelNombre), L"Jornada de tarde");
}

TEST(PlantillasTest, SelectionComesInListOrder) {
  Dialog d(kFrames, kSlots);
  ClickRow(d.frames(), 2);              // Z
  ClickRow(d.frames(), 0, MK_CONTROL);  // then X
  d.PressContinuar();
  EXPECT_TRUE(d.dialog->closed());
  EXPECT_FALSE(IsWindowVisible(d.dialog->hwnd()));
  EXPECT_TRUE(d.dialog->answer().valid);
  EXPECT_FALSE(d.dialog->answer().abandon);
  EXPECT_EQ(d.Resultado(), Field(L"X") + Field(L"Z"));
}

TEST(PlantillasTest, ShiftClickSelectsARange) {
  Dialog d(kFrames, kSlots);
  ClickRow(d.frames(), 1);
  ClickRow(d.frames(), 2, MK_SHIFT);
  d.PressContinuar();
  EXPECT_TRUE(d.dialog->answer().valid);
  EXPECT_EQ(d.Resultado(), Field(L"Y") + Field(L"Z"));
}

TEST(PlantillasTest, CodesFillFieldsOfTenCharacters) {
  struct Case {
    std::string code;
    std::wstring resultado;
  };
  for (const Case& c : {Case{"M", L"M         "}, Case{"ABCDEFGHIJKL", L"ABCDEFGHIJ"},
                        Case{" T 2", L" T 2      "}}) {
    SCOPED_TRACE(c.code);
    Dialog d({{c.code, "Uno", "a", "b"}, {"OTRO", "Dos", "c", "d"}}, kSlots);
    EXPECT_EQ(d.Items(TPlantillas::kListBox2)[0], W(c.code));  // as the export gives it
    ClickRow(d.frames(), 0);
    d.PressContinuar();
    EXPECT_TRUE(d.dialog->answer().valid);
    EXPECT_EQ(d.Resultado(), c.resultado);
  }
}

TEST(PlantillasTest, InvalidChoicesShowTheirMessage) {
  struct Case {
    std::vector<int> rows;
    std::wstring message;
  };
  for (const Case& c :
       {Case{{}, L"Debe al menos seleccionar 1 Marco Horario."},
        Case{{0, 1, 2},
             W("Demasiados Marcos Horarios seleccionados.\r\nComo máximo puede seleccionar 2 "
               "Marcos Horarios")}}) {
    SCOPED_TRACE(c.rows.size());
    Dialog d(kFrames, kSlots);
    bool first = true;
    for (int row : c.rows) {
      ClickRow(d.frames(), row, first ? 0 : MK_CONTROL);
      first = false;
    }
    ModalAnswers answers;
    answers.Then(PressOk());
    d.PressContinuar();
    ASSERT_TRUE(Settle(answers));
    EXPECT_EQ(answers.seen(), std::vector<std::wstring>{L"MessageBox: " + c.message});
    EXPECT_TRUE(d.dialog->closed());
    EXPECT_FALSE(d.dialog->answer().valid);
    EXPECT_FALSE(d.dialog->answer().abandon);
  }
}

TEST(PlantillasTest, CloseBoxEscapeAndEnterAnswerAsTheButton) {
  enum class Way { kCloseBox, kEscape, kEnter };
  for (Way way : {Way::kCloseBox, Way::kEscape, Way::kEnter}) {
    SCOPED_TRACE(static_cast<int>(way));
    Dialog d(kFrames, kSlots);
    ClickRow(d.frames(), 1);  // the list has the focus now
    if (way == Way::kCloseBox) {
      d.PressCloseBox();
    } else {
      PostMessageW(d.frames(), WM_KEYDOWN, way == Way::kEscape ? VK_ESCAPE : VK_RETURN, 0);
      ASSERT_TRUE(PumpUntil([&] { return d.dialog->closed(); }, 5000));
    }
    EXPECT_FALSE(IsWindowVisible(d.dialog->hwnd()));
    EXPECT_TRUE(d.dialog->answer().valid);
    EXPECT_EQ(d.Resultado(), Field(L"Y"));
  }
  // With nothing chosen the close box gives the same message as the button.
  Dialog d(kFrames, kSlots);
  ModalAnswers answers;
  answers.Then(PressOk());
  d.PressCloseBox();
  ASSERT_TRUE(Settle(answers));
  EXPECT_EQ(answers.seen(),
            std::vector<std::wstring>{L"MessageBox: Debe al menos seleccionar 1 Marco Horario."});
  EXPECT_FALSE(d.dialog->answer().valid);
}

TEST(PlantillasTest, NothingToChooseOffersAWayOut) {
  struct Case {
    bool file_exists;
    bool close_box;
    std::wstring says;
  };
  for (const Case& c : {Case{false, false, L"No se puede leer de nuevo el archivo"},
                        Case{false, true, L"No se puede leer de nuevo el archivo"},
                        Case{true, false, W("ya no tiene dos o más marcos")}}) {
    SCOPED_TRACE(Narrow(c.says) + (c.close_box ? ", close box" : ""));
    TempFolder folder;
    const auto file = folder / "export.xml";
    if (c.file_exists) WriteFile(file, BuildExport({kFrames[0]}, kSlots));
    Dialog d(file);

    HWND notice = d.Find(TPlantillas::kLabelAviso);
    EXPECT_TRUE(IsWindowVisible(notice));
    const std::wstring text = gui::WindowText(notice);
    EXPECT_NE(text.find(c.says), std::wstring::npos) << Narrow(text);
    EXPECT_NE(text.find(file.wstring()), std::wstring::npos) << Narrow(text);
    EXPECT_NE(text.find(W("«Terminar»")), std::wstring::npos);
    HWND terminar = d.Find(TPlantillas::kBitBtnTerminar);
    EXPECT_TRUE(IsWindowVisible(terminar));
    EXPECT_EQ(gui::WindowText(terminar), L"Terminar");
    EXPECT_EQ(GetFocus(), terminar);
    EXPECT_FALSE(IsWindowEnabled(d.Find(TPlantillas::kBitBtnContinuar)));
    EXPECT_FALSE(IsWindowVisible(d.frames()));

    ModalAnswers answers;  // no message: the way out closes at once
    if (c.close_box) {
      d.PressCloseBox();
    } else {
      SendMessageW(terminar, BM_CLICK, 0, 0);
    }
    EXPECT_TRUE(d.dialog->closed());
    EXPECT_TRUE(answers.seen().empty());
    EXPECT_TRUE(d.dialog->answer().abandon);
  }
}

namespace {

// The help viewer's calls, in place of the viewer.
std::vector<std::wstring> help_targets;
HWND WINAPI RecordHelp(HWND, LPCWSTR target, UINT, DWORD_PTR) {
  help_targets.push_back(target);
  return reinterpret_cast<HWND>(1);
}

}  // namespace

TEST(PlantillasTest, F1ShowsThePageOfContextThree) {
  help_targets.clear();
  gui::UseHtmlHelpFunction(&RecordHelp);
  Dialog d(kFrames, kSlots);
  PostMessageW(d.frames(), WM_KEYDOWN, VK_F1, 0);
  const bool asked = PumpUntil([] { return !help_targets.empty(); }, 5000);
  gui::UseSystemHtmlHelp();
  ASSERT_TRUE(asked);
  EXPECT_EQ(help_targets, std::vector<std::wstring>{gui::HelpFile().wstring() + L"::/index.html"});
  EXPECT_FALSE(d.dialog->closed());
}

TEST(PlantillasTest, HostShowsTheDialogModally) {
  TempFolder folder;
  WriteFile(folder / "export.xml", BuildExport(kFrames, kSlots));
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                               100, nullptr, nullptr, nullptr, nullptr);
  gui::Win32Host host(owner, nullptr, nullptr, nullptr);
  bool owner_disabled = false;
  ModalAnswers answers;
  answers.Then(Before([&](HWND) { owner_disabled = !IsWindowEnabled(owner); }, ChooseFrames({1})));
  xml::Document loaded;  // the run's document, which the dialog reads while the file stays
  loaded.Load(folder / "export.xml");
  const app::FrameAnswer answer = host.ChooseTimeFrames(folder / "export.xml", loaded);
  EXPECT_EQ(answers.seen(), std::vector<std::wstring>{L"TPlantillas"});
  EXPECT_TRUE(owner_disabled);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_TRUE(answer.valid);
  EXPECT_EQ(gui::Wide(answer.resultado), Field(L"Y"));
  DestroyWindow(owner);
}

}  // namespace zentrova::testing
