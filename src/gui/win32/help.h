#ifndef ZENTROVA_GUI_WIN32_HELP_H_
#define ZENTROVA_GUI_WIN32_HELP_H_

// Help through Windows' HTML Help viewer: VETRANA.chm beside the executable. Where the viewer
// or the file is missing, a message says so and where the same pages are.

#include <windows.h>

#include <filesystem>

namespace zentrova::gui {

inline constexpr wchar_t kHelpFileName[] = L"VETRANA.chm";
// The context of the main window, its panels and buttons, and of the time-frame dialog.
inline constexpr int kHelpContext = 3;
// The page of that context, as VETRANA.hhp maps it.
inline constexpr wchar_t kHelpMainPage[] = L"index.html";

// HtmlHelpW's commands used here.
inline constexpr UINT kHhDisplayTopic = 0x0000;
inline constexpr UINT kHhDisplayIndex = 0x0002;

// Button1: the help file's index. F1: the page of help context `context`.
void ShowHelpIndex(HWND owner);
void ShowHelpContext(HWND owner, int context);

// HtmlHelpW of hhctrl.ocx, loaded at its first use so that the program also starts where it
// is missing.
using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
// Puts `function` in the place of the viewer's (nullptr: as if it were missing); tests use it.
void UseHtmlHelpFunction(HtmlHelpFunction function);
void UseSystemHtmlHelp();

// VETRANA.chm beside the executable.
std::filesystem::path HelpFile();

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_WIN32_HELP_H_
