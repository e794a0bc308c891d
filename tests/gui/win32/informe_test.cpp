// TInforme on Windows, the report window: what it shows first and below, saving the report as
// a text file (and a file that cannot be written), Escape, and the host showing it modally.

#include "gui/win32/informe.h"

#include <commdlg.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gui/view_fixtures.h"
#include "gui/win32/controls.h"
#include "gui/win32/wide_text.h"
#include "gui/win32/win32_host.h"
#include "modal_answers.h"
#include "report/run_report.h"
#include "support/temp_folder.h"
#include "window_inspection.h"

namespace zentrova::testing {
namespace {

using gui::TInforme;

// An owner for the window, as the main window is.
struct Owner {
  Owner()
      : hwnd(CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                             100, nullptr, nullptr, nullptr, nullptr)),
        host(hwnd, nullptr, nullptr, nullptr) {}
  ~Owner() { DestroyWindow(hwnd); }
  HWND hwnd;
  gui::Win32Host host;
};

void Press(HWND window, int id) { PostMessageW(gui::FindControl(window, id), BM_CLICK, 0, 0); }

}  // namespace

TEST(InformeTest, TheSummaryFirstThenTheWholeReport) {
  TempFolder folder;
  const report::RunReport report = SomeReport(folder / "centro.xml");
  Owner owner;
  std::wstring summary, whole;
  gui::Bounds summary_bounds{}, whole_bounds{}, close_bounds{};
  bool owner_disabled = false, close_has_focus = false;
  ModalAnswers answers;
  answers.Then(Before(
      [&](HWND window) {
        HWND label = gui::FindControl(window, TInforme::kLabelResumen);
        HWND memo = gui::FindControl(window, TInforme::kMemoInforme);
        summary = TextOf(label);
        whole = TextOf(memo);
        summary_bounds = BoundsInParent(label);
        whole_bounds = BoundsInParent(memo);
        close_bounds = BoundsInParent(gui::FindControl(window, TInforme::kBCerrar));
        owner_disabled = !IsWindowEnabled(owner.hwnd);
        close_has_focus = GetFocus() == gui::FindControl(window, TInforme::kBCerrar);
        LeavePicture("informe-prueba", window);
      },
      CloseReport()));
  owner.host.ShowReport(report);
  EXPECT_EQ(answers.seen(), std::vector<std::wstring>{L"TInforme"});
  EXPECT_EQ(summary,
            L"La conversi\u00f3n ha terminado con estas novedades:\r\n"
            L"\u2022 2 lecciones no se escriben: su profesor no est\u00e1 en PROFT.\r\n"
            L"\u2022 1 lecci\u00f3n va sin unidad: su grupo no est\u00e1 en GRUPOST.");
  std::wstring expected;
  for (wchar_t c : gui::Wide(report::ReportText(report))) {
    if (c == L'\n') expected += L'\r';
    expected += c;
  }
  EXPECT_EQ(whole, expected);
  EXPECT_LT(summary_bounds.top + summary_bounds.height, whole_bounds.top);
  EXPECT_LT(whole_bounds.top + whole_bounds.height, close_bounds.top);
  EXPECT_TRUE(owner_disabled);
  EXPECT_TRUE(close_has_focus);
  EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
}

TEST(InformeTest, SavesTheReportAsATextFileAndEscapeCloses) {
  TempFolder folder;
  const report::RunReport report = SomeReport(folder / "centro.xml");
  const auto file = folder / "informe guardado.txt";
  Owner owner;
  HWND informe = nullptr;
  std::wstring suggested;
  ModalAnswers answers;
  answers
      .Then([&](HWND window) {
        informe = window;
        Press(window, TInforme::kBGuardar);
      })
      .Then([&](HWND dialog) {
        wchar_t path[MAX_PATH] = L"";
        SendMessageW(dialog, CDM_GETFILEPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
        suggested = path;
        SaveAs(file)(dialog);
        // Once the file is saved, Escape closes the report window.
        PostMessageW(informe, WM_KEYDOWN, VK_ESCAPE, 0);
      });
  owner.host.ShowReport(report);
  EXPECT_EQ(answers.seen(),
            (std::vector<std::wstring>{L"TInforme",
                                       L"FileDialog: Guardar el informe de la conversi\u00f3n"}));
  EXPECT_EQ(ReadFile(file), report::ReportFileBytes(report));
  // Offered beside the export, under the name batch mode would give it.
  EXPECT_EQ(std::filesystem::path(suggested).filename(), report::ReportFileName(report))
      << Narrow(suggested);
}

}  // namespace zentrova::testing
