// The main window on Windows: its controls, the run modes and the result code, the window's
// side of a run (file dialog, message boxes, busy cursor, buttons, error report), keyboard
// and help. The controls are driven with messages, as the user's mouse and keys send them.

#include "gui/win32/main_window.h"

#include <commdlg.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/paths.h"
#include "gui/view_fixtures.h"
#include "gui/win32/help.h"
#include "gui/win32/informe.h"
#include "gui/win32/message_loop.h"
#include "gui/win32/plantillas.h"
#include "gui/win32/resource_ids.h"
#include "gui/win32/wait_cursor.h"
#include "gui/win32/wide_text.h"
#include "gui/win32/win32_host.h"
#include "import/level_table.h"
#include "modal_answers.h"
#include "support/report_files.h"
#include "support/temp_folder.h"
#include "window_inspection.h"

namespace zentrova::testing {
namespace {

using gui::TMForm;

// A window over a temporary exchange folder, level table and INI file.
struct Window {
  // The level table is written beside the INI file unless `nivelex` names another.
  explicit Window(std::vector<std::string> parameters, std::filesystem::path nivelex = {},
                  std::filesystem::path ktemp = {}) {
    std::filesystem::create_directory(folder / "ktemp");
    if (nivelex.empty()) {
      nivelex = folder / "NIVELEX.DBF";
      WriteLevelTable(nivelex);
    }
    if (ktemp.empty()) ktemp = folder / "ktemp";
    form = std::make_unique<TMForm>(std::move(parameters),
                                    app::RunPaths{std::move(ktemp), std::move(nivelex)}, ini());
  }
  std::filesystem::path ini() const { return folder / "Orbelin.ini"; }
  std::filesystem::path ktemp() const { return form->state().paths.ktemp; }
  // The sample export, copied so that results written beside it stay in the test's folder.
  std::filesystem::path CopySample() const {
    const auto copy = folder / "instituto.xml";
    std::filesystem::copy_file(SampleExport(), copy,
                               std::filesystem::copy_options::overwrite_existing);
    return copy;
  }
  HWND Find(int id) const { return gui::FindControl(form->hwnd(), id); }
  bool Enabled(int id) const { return IsWindowEnabled(Find(id)) != FALSE; }
  bool DirectionButtonsEnabled() const {
    EXPECT_EQ(Enabled(TMForm::kBExportar), Enabled(TMForm::kBImportar));
    return Enabled(TMForm::kBExportar);
  }
  bool Visible() const { return IsWindowVisible(form->hwnd()) != FALSE; }
  // A click on a button, as the mouse gives it; returns when the button's handler has.
  void Click(int id) const { SendMessageW(Find(id), BM_CLICK, 0, 0); }

  TempFolder folder;
  std::unique_ptr<TMForm> form;
};

std::string IniText(const std::filesystem::path& ini) {
  return std::filesystem::exists(ini) ? ReadFile(ini) : "<none>";
}

std::wstring Message(const wchar_t* text) { return std::wstring(L"MessageBox: ") + text; }
const std::wstring kFileDialog = L"FileDialog: Seleccionar Archivo XML obtenido de VETRANA";

bool NormalCursor() { return GetCursor() == LoadCursorW(nullptr, IDC_ARROW); }

// Leaves `files` of a test in the folder the Linux side checks, under `name`.
void LeaveForLinuxSide(const std::string& name, const std::vector<std::filesystem::path>& files) {
  const auto output = EnvironmentPath(L"ZENTROVA_WINDOW_TEST_OUTPUT");
  if (output.empty()) return;
  const auto folder = output / name;
  std::filesystem::create_directories(folder);
  for (const auto& file : files) {
    std::filesystem::copy(file, folder / file.filename(),
                          std::filesystem::copy_options::overwrite_existing |
                              std::filesystem::copy_options::recursive);
  }
}

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files.push_back(entry.path());
  }
  return files;
}

}  // namespace

TEST(MainWindowTest, ControlsAsTheTableGivesThem) {
  Window window({});
  TMForm& form = *window.form;
  const int dpi = gui::WindowDpi(form.hwnd());
  auto scaled = [dpi](gui::Bounds at_96) { return gui::Scale(at_96, dpi); };
  wchar_t class_name[32];
  GetClassNameW(form.hwnd(), class_name, 32);
  EXPECT_STREQ(class_name, L"TMForm");
  EXPECT_EQ(gui::WindowText(form.hwnd()), L"Exportar e importar datos entre Orbelin y Vetrana");
  const SIZE client = ClientSize(form.hwnd());
  EXPECT_EQ(client.cx, gui::Scale(632, dpi));
  EXPECT_EQ(client.cy, gui::Scale(266, dpi));
  const LONG style = GetWindowLongW(form.hwnd(), GWL_STYLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), 0);
  EXPECT_NE(style & WS_SYSMENU, 0);

  // Centred on the primary monitor's work area.
  RECT outer, work;
  GetWindowRect(form.hwnd(), &outer);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((outer.left + outer.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((outer.top + outer.bottom) / 2, (work.top + work.bottom) / 2, 1);

  struct Panel {
    int id;
    gui::Bounds bounds;
    COLORREF top, middle, bottom;
  };
  const COLORREF upper_top = RGB(249, 211, 125), upper_bottom = RGB(255, 238, 221);
  for (const Panel& panel : {
           Panel{TMForm::kDraw3D2, {1, 0, 315, 169}, upper_top, RGB(255, 255, 255), upper_bottom},
           Panel{TMForm::kDraw3D3, {316, 0, 317, 169}, upper_top, RGB(255, 255, 255), upper_bottom},
           Panel{TMForm::kDraw3D1,
                 {0, 168, 633, 97},
                 RGB(194, 205, 254),
                 RGB(207, 242, 254),
                 RGB(204, 216, 230)},
       }) {
    SCOPED_TRACE(panel.id);
    HWND widget = window.Find(panel.id);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(GetParent(widget), form.hwnd());
    const gui::Bounds bounds = BoundsInParent(widget), expected = scaled(panel.bounds);
    EXPECT_EQ(std::tie(bounds.left, bounds.top, bounds.width, bounds.height),
              std::tie(expected.left, expected.top, expected.width, expected.height));
    // What is painted: the first colour at the top edge, the second halfway, the third at
    // the bottom edge (the last row one step short of it).
    const Shading shading = PaintedShading(widget);
    EXPECT_EQ(shading.top, panel.top);
    EXPECT_EQ(shading.middle, panel.middle);
    for (int channel = 0; channel < 24; channel += 8) {
      EXPECT_NEAR((shading.bottom >> channel) & 0xFF, (panel.bottom >> channel) & 0xFF, 2);
    }
  }

  struct Label {
    int id, panel;
    const wchar_t* text;
    gui::Bounds bounds;
  };
  for (const Label& label : {
           Label{TMForm::kLabel3,
                 TMForm::kDraw3D2,
                 L"Transformar datos desde Vetrana hacia Orbelin ",
                 {24, 24, 265, 57}},
           Label{TMForm::kLabel4,
                 TMForm::kDraw3D3,
                 L"Transformar datos desde Orbelin hacia Vetrana",
                 {8, 24, 305, 57}},
       }) {
    SCOPED_TRACE(label.id);
    HWND widget = window.Find(label.id);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(GetParent(widget), window.Find(label.panel));
    EXPECT_EQ(gui::WindowText(widget), label.text);
    const gui::Bounds bounds = BoundsInParent(widget), expected = scaled(label.bounds);
    EXPECT_EQ(std::tie(bounds.left, bounds.top, bounds.width, bounds.height),
              std::tie(expected.left, expected.top, expected.width, expected.height));
    EXPECT_EQ(GetWindowLongW(widget, GWL_STYLE) & SS_TYPEMASK, SS_LEFT);  // word-wrapped
    const LOGFONTW font = FontOf(widget);
    EXPECT_STREQ(font.lfFaceName, L"Arial");
    EXPECT_EQ(font.lfHeight, -gui::Scale(16, dpi));
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    // Arial, or the metric-compatible face that stands in for it.
    const std::wstring face = FaceInUse(widget);
    EXPECT_TRUE(face == L"Arial" || face == L"Liberation Sans") << Narrow(face);
    EXPECT_EQ(TextColourOf(window.Find(label.panel), widget), RGB(0, 0, 0));
  }

  struct Button {
    int id, panel;
    const wchar_t* text;
    gui::Bounds bounds;
    int glyph;
  };
  const int glyph_side = gui::SystemMetric(SM_CXSMICON, dpi);
  for (const Button& button : {
           Button{TMForm::kBExportar, TMForm::kDraw3D2, L"OK", {96, 120, 89, 25}, IDI_GLYPH_OK},
           Button{TMForm::kBImportar, TMForm::kDraw3D3, L"OK", {96, 120, 89, 25}, IDI_GLYPH_OK},
           Button{TMForm::kBClose, TMForm::kDraw3D1, L"&Salir", {256, 32, 89, 25}, IDI_GLYPH_CLOSE},
           Button{TMForm::kButton1, TMForm::kDraw3D1, L"F1 Ayuda", {264, 64, 75, 25}, 0},
       }) {
    SCOPED_TRACE(button.id);
    HWND widget = window.Find(button.id);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(GetParent(widget), window.Find(button.panel));
    EXPECT_EQ(gui::WindowText(widget), button.text);
    const gui::Bounds bounds = BoundsInParent(widget), expected = scaled(button.bounds);
    EXPECT_EQ(std::tie(bounds.left, bounds.top, bounds.width, bounds.height),
              std::tie(expected.left, expected.top, expected.width, expected.height));
    EXPECT_TRUE(IsWindowEnabled(widget));
    EXPECT_NE(GetWindowLongW(widget, GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_STREQ(FontOf(widget).lfFaceName, L"MS Shell Dlg 2");
    EXPECT_EQ(FontOf(widget).lfHeight, -MulDiv(8, dpi, 72));
    HICON glyph = GlyphOf(widget);
    if (button.glyph == 0) {
      EXPECT_EQ(glyph, nullptr);
      continue;
    }
    // The glyph is ours, at the size of a small icon.
    EXPECT_EQ(IconSide(glyph), glyph_side);
    HICON expected_glyph =
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(button.glyph),
                                      IMAGE_ICON, glyph_side, glyph_side, LR_DEFAULTCOLOR));
    EXPECT_EQ(IconPixels(glyph), IconPixels(expected_glyph));
    DestroyIcon(expected_glyph);
  }
  EXPECT_NE(IconPixels(GlyphOf(window.Find(TMForm::kBExportar))),
            IconPixels(GlyphOf(window.Find(TMForm::kBClose))));
}

TEST(MainWindowTest, KeyboardTabOrderAndAccessKey) {
  Window window({});
  window.form->Show();
  ASSERT_TRUE(PumpUntil([] { return true; }));
  EXPECT_EQ(GetFocus(), window.Find(TMForm::kBExportar));
  for (int id : {TMForm::kBImportar, TMForm::kBClose, TMForm::kButton1, TMForm::kBExportar}) {
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == window.Find(id); }, 5000)) << id;
  }
  // Alt+S presses BClose, which closes the window.
  PostMessageW(GetFocus(), WM_SYSCHAR, L's', 1 << 29);
  ASSERT_TRUE(PumpUntil([&] { return window.form->closed(); }, 5000));
  EXPECT_FALSE(window.Visible());
}

struct ParameterCase {
  const char* name;
  std::vector<std::string> parameters;
  std::vector<std::wstring> modal_windows;  // what the user sees, in order
  bool closes_itself;
  std::string transformado;  // the key after closing, "<none>": no file written
};

class ParameterCases : public ::testing::TestWithParam<ParameterCase> {};

TEST_P(ParameterCases, RunModeAndResult) {
  const ParameterCase& c = GetParam();
  Window window(c.parameters);
  // Another program's sections stay as they are.
  const std::string others = "; ajustes de Orbelin\r\n[Orbelin]\r\nCarpeta=C:\\KTEMP\r\n";
  WriteFile(window.ini(), others);

  ModalAnswers answers;
  if (!c.modal_windows.empty()) answers.Then(CancelFile()).Then(PressOk());
  window.form->Show();
  ASSERT_TRUE(Settle(answers));
  ASSERT_TRUE(PumpUntil([] { return true; }));
  EXPECT_EQ(answers.seen(), c.modal_windows);
  EXPECT_EQ(window.Visible(), !c.closes_itself);
  if (!c.closes_itself) {
    EXPECT_TRUE(window.Enabled(TMForm::kBExportar));
    window.form->Close();
  }
  const std::string text = IniText(window.ini());
  if (c.transformado == "<none>") {
    EXPECT_EQ(text, others);
    return;
  }
  EXPECT_NE(text.find("; ajustes de Orbelin\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[Orbelin]\r\nCarpeta=C:\\KTEMP\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[Transformadores]\r\nTransformado=" + c.transformado + "\r\n"),
            std::string::npos)
      << text;
}

INSTANTIATE_TEST_SUITE_P(
    MainWindowTest, ParameterCases,
    ::testing::Values(ParameterCase{"ExportarUpperCaseCancelled",
                                    {"EXPORTAR", "x"},
                                    {kFileDialog, Message(L"No existe archivo")},
                                    true,
                                    "-1"},
                      ParameterCase{"ImportarCancelled",
                                    {"importar", "x"},
                                    {kFileDialog, Message(L"No existe archivo")},
                                    true,
                                    "-1"},
                      ParameterCase{"ExportarAlone", {"exportar"}, {}, false, "<none>"},
                      ParameterCase{"ThreeParameters", {"exportar", "x", "y"}, {}, false, "<none>"},
                      ParameterCase{"UnknownWord", {"otra", "x"}, {}, false, "0"}),
    [](const ::testing::TestParamInfo<ParameterCase>& info) { return info.param.name; });

TEST(MainWindowTest, InteractiveCancelStopsWithButtonsEnabled) {
  Window window({});
  window.form->Show();
  ModalAnswers answers;
  answers.Then(CancelFile()).Then(PressOk());
  window.Click(TMForm::kBExportar);
  ASSERT_TRUE(Settle(answers));
  EXPECT_EQ(answers.seen(),
            (std::vector<std::wstring>{kFileDialog, Message(L"No existe archivo")}));
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(window.form->state().resultCode, 0);
  EXPECT_TRUE(window.DirectionButtonsEnabled());
  EXPECT_FALSE(gui::WaitCursorOn());
  EXPECT_TRUE(NormalCursor());
  window.form->Close();
  EXPECT_FALSE(std::filesystem::exists(window.ini()));
}

TEST(MainWindowTest, MissingLevelTableInBatchModeKeepsTheWindowOpen) {
  Window window({"exportar", "x"}, std::filesystem::path(L"C:\\no\\existe\\NIVELEX.DBF"));
  const auto export_file = window.CopySample();
  ModalAnswers answers;
  answers.Then(PickFile(export_file)).Then(PressOk());
  window.form->Show();
  ASSERT_TRUE(Settle(answers));
  EXPECT_EQ(
      answers.seen(),
      (std::vector<std::wstring>{
          kFileDialog, Message(L"ATENCI\u00d3N - NIVELEX.DBF No encontrado - Reinstale ZENTROVA\n"
                               L"Se ha buscado en \u00abC:\\no\\existe\\NIVELEX.DBF\u00bb.")}));
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(window.form->state().filenameXML, export_file);
  EXPECT_TRUE(std::filesystem::is_empty(window.ktemp()));  // no table touched
  // The report beside the export says why the run stopped.
  const auto reports = ReportsBeside(export_file, "exportar");
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(ReportText(reports[0])
                .find("Resultado: ATENCI\xC3\x93N - NIVELEX.DBF No encontrado - Reinstale "
                      "ZENTROVA\r\n"),
            std::string::npos);
  window.form->Close();
  EXPECT_EQ(IniText(window.ini()), "[Transformadores]\r\nTransformado=0\r\n");
}

namespace {

// The help viewer's calls, in place of the viewer.
struct HelpCall {
  UINT command;
  std::wstring target;
};
std::vector<HelpCall> help_calls;
HWND WINAPI RecordHelp(HWND, LPCWSTR target, UINT command, DWORD_PTR) {
  help_calls.push_back(HelpCall{command, target});
  return reinterpret_cast<HWND>(1);
}

}  // namespace

TEST(MainWindowTest, HelpButtonF1AndEnter) {
  help_calls.clear();
  gui::UseHtmlHelpFunction(&RecordHelp);
  Window window({});
  window.form->Show();
  window.Click(TMForm::kButton1);
  // F1 on any control asks for the page of context 3.
  PostMessageW(window.Find(TMForm::kBExportar), WM_KEYDOWN, VK_F1, 0);
  ASSERT_TRUE(PumpUntil([] { return help_calls.size() == 2; }, 5000));
  // Enter presses the button that has the focus.
  SetFocus(window.Find(TMForm::kButton1));
  PostMessageW(window.Find(TMForm::kButton1), WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(PumpUntil([] { return help_calls.size() == 3; }, 5000));
  gui::UseSystemHtmlHelp();

  const std::wstring chm = gui::HelpFile().wstring();
  EXPECT_EQ(help_calls[0].command, gui::kHhDisplayIndex);
  EXPECT_EQ(help_calls[0].target, chm);
  EXPECT_EQ(help_calls[1].command, gui::kHhDisplayTopic);
  EXPECT_EQ(help_calls[1].target, chm + L"::/index.html");
  EXPECT_EQ(help_calls[2].command, gui::kHhDisplayIndex);
  EXPECT_TRUE(std::filesystem::is_regular_file(gui::HelpFile()));
}

TEST(MainWindowTest, HelpWithoutTheViewerSaysWhereThePagesAre) {
  gui::UseHtmlHelpFunction(nullptr);
  Window window({});
  window.form->Show();
  std::wstring text;
  ModalAnswers answers;
  answers.Then(Before([&](HWND box) { text = MessageBoxText(box); }, PressOk()));
  window.Click(TMForm::kButton1);
  gui::UseSystemHtmlHelp();
  ASSERT_TRUE(Settle(answers));
  EXPECT_NE(text.find(L"hhctrl.ocx"), std::wstring::npos) << Narrow(text);
  EXPECT_NE(text.find((app::ExecutableFolder() / "help").wstring()), std::wstring::npos)
      << Narrow(text);
}

TEST(MainWindowTest, HelpViewerOfTheSystemOpensTheHelpFile) {
  Window window({});
  window.form->Show();
  window.Click(TMForm::kButton1);
  HWND viewer = nullptr;
  ASSERT_TRUE(PumpUntil(
      [&] { return (viewer = FindWindowW(L"HH Parent", L"Ayuda de Zentrova")) != nullptr; },
      15000));
  SendMessageW(viewer, WM_CLOSE, 0, 0);
}

// The busy cursor is on while the time-frame dialog waits, with the normal cursor over it.
ModalAnswers::Answer BusyUnderTheDialog(ModalAnswers::Answer answer) {
  return Before(
      [](HWND) {
        EXPECT_TRUE(gui::WaitCursorOn());
        EXPECT_TRUE(NormalCursor());
      },
      std::move(answer));
}

TEST(MainWindowTest, FirstDirectionInBatchMode) {
  Window window({"EXPORTAR", "x"});
  const auto export_file = window.CopySample();
  ModalAnswers answers;
  answers.Then(PickFile(export_file))
      .Then(BusyUnderTheDialog(ChooseFrames({0, 1})))
      .Then(PressOk());
  window.form->Show();
  ASSERT_TRUE(Settle(answers));
  EXPECT_EQ(answers.seen(), (std::vector<std::wstring>{kFileDialog, L"TPlantillas",
                                                       Message(L"Proceso finalizado")}));
  EXPECT_TRUE(window.form->closed());  // closed by the run
  EXPECT_FALSE(window.Visible());
  EXPECT_EQ(window.form->state().resultCode, 1);
  EXPECT_FALSE(window.DirectionButtonsEnabled());
  EXPECT_FALSE(gui::WaitCursorOn());
  EXPECT_TRUE(NormalCursor());
  EXPECT_EQ(IniText(window.ini()), "[Transformadores]\r\nTransformado=1\r\n");
  // The Linux side counts the rows with python3-dbfread.
  LeaveForLinuxSide("primera-en-lotes", FilesIn(window.ktemp()));
  // Batch mode shows no report window: the report is left beside the export, each finding
  // with its record.
  const auto reports = ReportsBeside(export_file, "exportar");
  ASSERT_EQ(reports.size(), 1u);
  const std::string report = ReportText(reports[0]);
  for (const char* line :
       {"Resultado: Proceso finalizado\r\n",
        "    Registro 8: ABREV \xC2\xABGimnas\xC2\xBB ya estaba dado: lleva un n\xC3\xBAmero "
        "detr\xC3\xA1s, \xC2\xABGimnas1\xC2\xBB.\r\n"}) {
    EXPECT_NE(report.find(line), std::string::npos) << line;
  }
}

// The text's UTF-16LE bytes, as Windows programs write INI files.
std::string Utf16LeBytes(std::u16string_view text) {
  std::string bytes;
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// Orbelin.ini in UTF-16 with its byte-order mark: after a completed batch run it holds
// Transformado=1 in UTF-16, every other byte as it was.
TEST(MainWindowTest, AUtf16OrbelinIniReadsTheResultOfABatchRun) {
  Window window({"exportar", "x"});
  const std::u16string others = u"\uFEFF[Orbelin]\r\nCentro=IES Mar\u00edtimo\r\n";
  WriteFile(window.ini(), Utf16LeBytes(others + u"[Transformadores]\r\nTransformado=0\r\n"));
  ModalAnswers answers;
  answers.Then(PickFile(window.CopySample())).Then(ChooseFrames({0})).Then(PressOk());
  window.form->Show();
  ASSERT_TRUE(Settle(answers));
  EXPECT_TRUE(window.form->closed());
  EXPECT_EQ(IniText(window.ini()),
            Utf16LeBytes(others + u"[Transformadores]\r\nTransformado=1\r\n"));
}

// An Orbelin.ini that is a folder: the window says so, naming it, and closes all the same.
TEST(MainWindowTest, AnOrbelinIniThatCannotBeReadIsReportedAtClosing) {
  Window window({"otra", "x"});
  std::filesystem::create_directory(window.ini());
  window.form->Show();
  std::wstring report;
  ModalAnswers answers;
  answers.Then(Before([&](HWND box) { report = MessageBoxText(box); }, PressOk()));
  window.form->Close();
  ASSERT_TRUE(Settle(answers));
  EXPECT_TRUE(window.form->closed());
  EXPECT_NE(report.find(window.ini().wstring() + L": no es un archivo normal, sino una carpeta."),
            std::wstring::npos)
      << Narrow(report);
}

TEST(MainWindowTest, FrameDialogShownAgainAfterAnInvalidChoice) {
  Window window({});
  window.form->Show();
  ModalAnswers answers;
  answers.Then(PickFile(SampleExport()))
      .Then(ChooseFrames({}))
      .Then(PressOk())
      .Then(ChooseFrames({1}))
      .Then(PressOk())
      .Then(CloseReport());
  window.Click(TMForm::kBExportar);
  ASSERT_TRUE(Settle(answers));
  EXPECT_EQ(answers.seen(),
            (std::vector<std::wstring>{
                kFileDialog, L"TPlantillas", Message(L"Debe al menos seleccionar 1 Marco Horario."),
                L"TPlantillas", Message(L"Proceso finalizado"), L"TInforme"}));
  EXPECT_EQ(window.form->state().resultCode, 1);
  EXPECT_FALSE(window.DirectionButtonsEnabled());
  // Closing and help still work after a completed run; the focus left the disabled button.
  EXPECT_TRUE(window.Enabled(TMForm::kBClose));
  EXPECT_TRUE(window.Enabled(TMForm::kButton1));
  EXPECT_EQ(GetFocus(), window.Find(TMForm::kBClose));
  window.Click(TMForm::kBClose);
  EXPECT_TRUE(window.form->closed());
  EXPECT_FALSE(window.Visible());
  EXPECT_FALSE(std::filesystem::exists(window.ini()));
}

TEST(MainWindowTest, FrameDialogWayOutEndsTheRun) {
  Window window({});
  const auto export_file = window.CopySample();
  window.form->Show();
  ModalAnswers answers;
  std::wstring last;
  // The export goes away while the user is choosing: the next showing cannot offer a choice.
  answers.Then(PickFile(export_file))
      .Then(Before([&](HWND) { std::filesystem::remove(export_file); }, ChooseFrames({})))
      .Then(PressOk())
      .Then([](HWND dialog) {
        HWND terminar = gui::FindControl(dialog, gui::TPlantillas::kBitBtnTerminar);
        ASSERT_NE(terminar, nullptr);
        EXPECT_TRUE(IsWindowVisible(terminar));
        PostMessageW(terminar, BM_CLICK, 0, 0);
      })
      .Then(Before([&](HWND box) { last = MessageBoxText(box); }, PressOk()));
  window.Click(TMForm::kBExportar);
  ASSERT_TRUE(Settle(answers));
  EXPECT_EQ(last,
            L"Conversi\u00f3n terminada sin elegir los marcos horarios. No se ha modificado "
            L"ninguna tabla.");
  EXPECT_EQ(window.form->state().resultCode, 0);
  EXPECT_TRUE(window.DirectionButtonsEnabled());
  EXPECT_TRUE(std::filesystem::is_empty(window.ktemp()));
  EXPECT_FALSE(gui::WaitCursorOn());
}

TEST(MainWindowTest, ErrorEscapingARunIsReported) {
  TempFolder elsewhere;
  const auto missing = elsewhere / "no-existe";
  Window window({"exportar", "x"}, {}, missing);
  const auto export_file = window.CopySample();
  std::wstring report;
  bool error_icon = false;
  ModalAnswers answers;
  // The missing folder is found before the time-frame dialog would be shown.
  answers.Then(PickFile(export_file))
      .Then(Before(
          [&](HWND box) {
            report = MessageBoxText(box);
            // The message box's icon control (id 0x14 on Windows, 0x440 in Wine's template).
            for (int id : {0x14, 0x440}) {
              if (HWND icon = GetDlgItem(box, id)) {
                error_icon |= SendMessageW(icon, STM_GETICON, 0, 0) != 0;
              }
            }
          },
          PressOk()));
  window.form->Show();
  ASSERT_TRUE(Settle(answers));
  EXPECT_NE(report.find(missing.wstring()), std::wstring::npos) << Narrow(report);
  EXPECT_TRUE(error_icon);
  // The program goes on: the window stays open with both buttons, the cursor is normal.
  EXPECT_TRUE(window.Visible());
  EXPECT_TRUE(window.DirectionButtonsEnabled());
  EXPECT_FALSE(window.form->host().busy());
  EXPECT_FALSE(gui::WaitCursorOn());
  EXPECT_EQ(window.form->state().resultCode, 0);
  window.form->Close();
  EXPECT_EQ(IniText(window.ini()), "[Transformadores]\r\nTransformado=0\r\n");
}

TEST(MainWindowTest, BothDirectionsOnTheSample) {
  // SOLUC as the timetabling product leaves it, made on the Linux side (python3-dbf) for the
  // tables that the same export gives with frame M and the installed level table.
  const auto soluc = EnvironmentPath(L"ZENTROVA_WINDOW_TEST_SOLUC");
  ASSERT_TRUE(!soluc.empty() && std::filesystem::exists(soluc))
      << "ZENTROVA_WINDOW_TEST_SOLUC names no SOLUC.DBF: run scripts/windows-window-test.sh";
  const auto nivelex = app::ExecutableFolder() / "NIVELEX.DBF";

  Window first({}, nivelex);
  const auto export_file = first.CopySample();
  first.form->Show();
  {
    // After the fixed message, the report window: its summary first, the whole report below.
    std::wstring summary;
    std::wstring details;
    ModalAnswers answers;
    answers.Then(PickFile(export_file))
        .Then(ChooseFrames({0}))
        .Then(PressOk())
        .Then(Before(
            [&](HWND window) {
              summary = TextOf(gui::FindControl(window, gui::TInforme::kLabelResumen));
              details = TextOf(gui::FindControl(window, gui::TInforme::kMemoInforme));
              LeavePicture("informe", window);
            },
            CloseReport()));
    first.Click(TMForm::kBExportar);
    ASSERT_TRUE(Settle(answers));
    EXPECT_EQ(answers.seen(),
              (std::vector<std::wstring>{kFileDialog, L"TPlantillas",
                                         Message(L"Proceso finalizado"), L"TInforme"}));
    EXPECT_EQ(first.form->state().resultCode, 1);
    EXPECT_EQ(summary.rfind(L"La conversi\u00f3n ha terminado con estas novedades:\r\n\u2022 ", 0),
              0u)
        << Narrow(summary);
    EXPECT_NE(summary.find(L"c\u00f3digos llevan un n\u00famero detr\u00e1s"), std::wstring::npos)
        << Narrow(summary);
    EXPECT_NE(details.find(L"\r\n    Registro 8: ABREV \u00abGimnas\u00bb ya estaba dado"),
              std::wstring::npos)
        << Narrow(details);
  }
  LeaveForLinuxSide("exportar", FilesIn(first.ktemp()));
  std::filesystem::copy_file(soluc, first.ktemp() / "SOLUC.DBF");

  // A new start of the program, in batch mode, over the same exchange folder.
  Window second({"importar", "x"}, nivelex, first.ktemp());
  ModalAnswers more;
  more.Then(PickFile(export_file)).Then(PressOk());
  second.form->Show();
  ASSERT_TRUE(Settle(more));
  EXPECT_EQ(more.seen(), (std::vector<std::wstring>{kFileDialog, Message(L"Proceso finalizado")}));
  EXPECT_TRUE(second.form->closed());
  EXPECT_FALSE(second.DirectionButtonsEnabled());
  EXPECT_EQ(IniText(second.ini()), "[Transformadores]\r\nTransformado=1\r\n");

  const auto result = first.folder / "ResultadoOrbelininstituto.xml";
  ASSERT_TRUE(std::filesystem::exists(result));
  EXPECT_NE(ReadFile(result).find("HORARIO_REGULAR_PROFESOR_"), std::string::npos);
  // The batch run's report beside the export; the interactive one left none.
  EXPECT_TRUE(ReportsBeside(export_file, "exportar").empty());
  const auto reports = ReportsBeside(export_file, "importar");
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(ReportText(reports[0]).find("  Lecciones escritas en el documento: 1.\r\n"),
            std::string::npos);
  // The Linux side checks it with xmllint and compares it with the Linux program's.
  LeaveForLinuxSide("importar", {result});
}

// The first file dialog opens in the user's documents; a later one where the last file was.
TEST(MainWindowTest, TheFirstFileDialogOpensInTheDocuments) {
  Window window({});
  const auto sample = window.CopySample();
  window.form->Show();
  const auto folder_of = [](std::filesystem::path& folder) {
    return [&folder](HWND dialog) {
      wchar_t path[MAX_PATH] = L"";
      SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
      folder = path;
    };
  };
  std::filesystem::path first_folder;
  std::filesystem::path second_folder;
  // The second direction on a folder without tables ends with an error: only the dialog
  // matters here.
  for (auto& [folder, answer] :
       {std::pair{&first_folder, PickFile(sample)}, std::pair{&second_folder, CancelFile()}}) {
    ModalAnswers answers;
    answers.Then(Before(folder_of(*folder), answer)).Then(PressOk());
    window.Click(TMForm::kBImportar);
    ASSERT_TRUE(Settle(answers));
  }
  ASSERT_FALSE(gui::DocumentsFolder().empty());
  EXPECT_TRUE(std::filesystem::equivalent(first_folder, gui::DocumentsFolder()))
      << Narrow(first_folder.wstring());
  EXPECT_TRUE(std::filesystem::equivalent(second_folder, sample.parent_path()))
      << Narrow(second_folder.wstring());
}

TEST(MainWindowTest, AConversionACrashInterruptedIsCompletedAtStart) {
  TempFolder folder;
  const auto ktemp = folder / "ktemp";
  std::filesystem::create_directories(ktemp / "ZENTROVA.NUEVO");
  WriteFile(ktemp / "PROFT.DBF", "viejo");
  WriteFile(ktemp / "ZENTROVA.NUEVO" / "PROFT.DBF", "nuevo");
  WriteFile(ktemp / "ZENTROVA.NUEVO" / "ZENTROVA.ID", "5eed0f");
  WriteFile(ktemp / "ZENTROVA.JNL", "ZENTROVA 2\nCARPETA 5eed0f\nMUEVE PROFT.DBF\nFIN\n");
  TMForm form({}, app::RunPaths{ktemp, folder / "NIVELEX.DBF"}, folder / "Orbelin.ini");
  EXPECT_EQ(ReadFile(ktemp / "PROFT.DBF"), "nuevo");
  EXPECT_FALSE(std::filesystem::exists(ktemp / "ZENTROVA.JNL"));
  EXPECT_FALSE(std::filesystem::exists(ktemp / "ZENTROVA.NUEVO"));
}

}  // namespace zentrova::testing
