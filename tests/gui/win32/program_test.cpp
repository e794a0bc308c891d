// zentrova.exe as the timetabling product starts it: a process of its own in a folder with
// accents in its name, two parameters, its windows answered from this process, and the
// result code in the Orbelin.ini beside the executable once it has ended.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/paths.h"
#include "gui/win32/main_window.h"
#include "gui/win32/plantillas.h"
#include "gui/win32/wide_text.h"
#include "modal_answers.h"
#include "support/report_files.h"
#include "support/temp_folder.h"
#include "window_inspection.h"

namespace zentrova::testing {
namespace {

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  return name;
}

std::vector<HWND> WindowsOf(DWORD process) {
  struct Search {
    DWORD process;
    std::vector<HWND> found;
  } search{process, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* search = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == search->process) search->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The program installed in a folder of its own: zentrova.exe and, unless left out,
// NIVELEX.DBF; the exchange folder beside it, given in ZENTROVA_KTEMP.
struct Installed {
  explicit Installed(bool with_level_table = true) {
    std::filesystem::create_directories(program_folder());
    std::filesystem::create_directories(ktemp());
    const auto built = app::ExecutableFolder();
    std::filesystem::copy_file(built / "zentrova.exe", program_folder() / "zentrova.exe");
    if (with_level_table) {
      std::filesystem::copy_file(built / "NIVELEX.DBF", program_folder() / "NIVELEX.DBF");
    }
  }
  std::filesystem::path program_folder() const { return folder / "Programa \u00d1and\u00fa"; }
  std::filesystem::path ktemp() const { return folder / "KTEMP"; }
  std::string Ini() const {
    const auto ini = program_folder() / "Orbelin.ini";
    return std::filesystem::exists(ini) ? ReadFile(ini) : "<none>";
  }

  // Starts the program with `parameters` and answers its windows with `answers`, in order;
  // with `close_when_idle` the main window is closed once every answer is given. Returns what
  // the user saw; the program must have ended within a minute.
  std::vector<std::wstring> Run(const std::wstring& parameters,
                                std::vector<ModalAnswers::Answer> answers, bool close_when_idle) {
    SetEnvironmentVariableW(L"ZENTROVA_KTEMP", ktemp().wstring().c_str());
    std::wstring command =
        L"\"" + (program_folder() / "zentrova.exe").wstring() + L"\" " + parameters;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableW(L"ZENTROVA_KTEMP", nullptr);
    EXPECT_TRUE(started);
    if (!started) return {};
    std::vector<std::wstring> seen;
    std::vector<HWND> handled;
    size_t next = 0;
    const ULONGLONG end = GetTickCount64() + 60000;
    while (WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT && GetTickCount64() < end) {
      HWND main_window = nullptr;
      bool modal_open = false;
      for (HWND window : WindowsOf(process.dwProcessId)) {
        if (!IsWindowVisible(window)) continue;
        const std::wstring kind = ClassOf(window);
        if (kind == gui::kMainClass) main_window = window;
        if (kind != L"#32770" && kind != gui::kPlantillasClass) continue;
        modal_open = true;
        if (!IsWindowEnabled(window) ||
            std::find(handled.begin(), handled.end(), window) != handled.end()) {
          continue;
        }
        handled.push_back(window);
        if (GetDlgItem(window, 0xFFFF) != nullptr) {
          seen.push_back(L"MessageBox: " + MessageBoxText(window));
        } else {
          seen.push_back(kind == L"#32770" ? L"FileDialog" : kind);
        }
        if (next < answers.size()) {
          answers[next++](window);
        } else {
          ADD_FAILURE() << "A window nobody expected: " << Narrow(seen.back());
          PostMessageW(window, WM_CLOSE, 0, 0);
        }
        break;
      }
      if (close_when_idle && next == answers.size() && !modal_open && main_window != nullptr) {
        PostMessageW(main_window, WM_CLOSE, 0, 0);
        close_when_idle = false;
      }
    }
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 0), WAIT_OBJECT_0) << "the program goes on";
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return seen;
  }

  TempFolder folder;
};

// The time-frame dialog of another process: the first frame, then Continuar.
ModalAnswers::Answer FirstFrame() {
  return [](HWND dialog) {
    ClickRow(gui::FindControl(dialog, gui::TPlantillas::kListBox2), 0);
    PostMessageW(gui::FindControl(dialog, gui::TPlantillas::kBitBtnContinuar), BM_CLICK, 0, 0);
  };
}

}  // namespace

TEST(ProgramTest, BatchRunWritesOneBesideTheExecutable) {
  Installed program;
  const auto export_file = program.folder / "exportaci\u00f3n.xml";
  std::filesystem::copy_file(SampleExport(), export_file);
  EXPECT_EQ(program.Run(L"EXPORTAR x", {PickFile(export_file), FirstFrame(), PressOk()}, false),
            (std::vector<std::wstring>{L"FileDialog", L"TPlantillas",
                                       L"MessageBox: Proceso finalizado"}));
  EXPECT_EQ(program.Ini(), "[Transformadores]\r\nTransformado=1\r\n");
  EXPECT_TRUE(std::filesystem::exists(program.ktemp() / "PROFT.DBF"));
  // Its report beside the export, never shown.
  const auto reports = ReportsBeside(export_file, "exportar");
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(ReportText(reports[0]).find("Resultado: Proceso finalizado\r\n"), std::string::npos);
}

TEST(ProgramTest, BatchRunWithoutAFileWritesMinusOne) {
  Installed program;
  EXPECT_EQ(program.Run(L"importar \"otro par\u00e1metro\"", {CancelFile(), PressOk()}, false),
            (std::vector<std::wstring>{L"FileDialog", L"MessageBox: No existe archivo"}));
  EXPECT_EQ(program.Ini(), "[Transformadores]\r\nTransformado=-1\r\n");
}

TEST(ProgramTest, BatchRunStoppedAtTheLevelTableWritesZeroWhenClosed) {
  Installed program(/*with_level_table=*/false);
  const auto export_file = program.folder / "instituto.xml";
  std::filesystem::copy_file(SampleExport(), export_file);
  // Looked for in the machine's data folder first, then beside the program.
  EXPECT_EQ(program.Run(L"exportar x", {PickFile(export_file), PressOk()}, true),
            (std::vector<std::wstring>{
                L"FileDialog",
                L"MessageBox: ATENCI\u00d3N - NIVELEX.DBF No encontrado - Reinstale ZENTROVA\n"
                L"Se ha buscado en \u00ab" +
                    (app::MachineDataFolder() / "NIVELEX.DBF").wstring() + L"\u00bb y en \u00ab" +
                    (program.program_folder() / "NIVELEX.DBF").wstring() + L"\u00bb."}));
  EXPECT_EQ(program.Ini(), "[Transformadores]\r\nTransformado=0\r\n");
}

TEST(ProgramTest, InteractiveStartWritesNothing) {
  Installed program;
  EXPECT_EQ(program.Run(L"exportar", {}, true), std::vector<std::wstring>{});
  EXPECT_EQ(program.Ini(), "<none>");
}

}  // namespace zentrova::testing
