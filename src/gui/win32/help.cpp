#include "gui/win32/help.h"

#include <optional>
#include <string>

#include "app/paths.h"
#include "app/window_texts.h"
#include "gui/win32/message_box.h"

namespace zentrova::gui {
namespace {

HtmlHelpFunction SystemHtmlHelp() {
  static const HtmlHelpFunction function = [] {
    HMODULE module = LoadLibraryW(L"hhctrl.ocx");
    return module != nullptr ? reinterpret_cast<HtmlHelpFunction>(
                                   reinterpret_cast<void*>(GetProcAddress(module, "HtmlHelpW")))
                             : nullptr;
  }();
  return function;
}

std::optional<HtmlHelpFunction> chosen_function;

HtmlHelpFunction CurrentFunction() { return chosen_function ? *chosen_function : SystemHtmlHelp(); }

// `topic` is empty or a page inside the help file.
void ShowHelp(HWND owner, UINT command, const std::wstring& topic) {
  const std::filesystem::path file = HelpFile();
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) {
    ShowMessageBox(owner, app::MissingHelpFileMessage(file), MessageIcon::kWarning);
    return;
  }
  const HtmlHelpFunction html_help = CurrentFunction();
  std::wstring target = file.wstring();
  if (!topic.empty()) target += L"::/" + topic;
  if (html_help == nullptr || html_help(owner, target.c_str(), command, 0) == nullptr) {
    ShowMessageBox(owner, app::HelpViewerUnavailableMessage(file, app::ExecutableFolder() / "help"),
                   MessageIcon::kWarning);
  }
}

}  // namespace

void UseHtmlHelpFunction(HtmlHelpFunction function) { chosen_function = function; }

void UseSystemHtmlHelp() { chosen_function.reset(); }

std::filesystem::path HelpFile() { return app::ExecutableFolder() / kHelpFileName; }

void ShowHelpIndex(HWND owner) { ShowHelp(owner, kHhDisplayIndex, std::wstring()); }

void ShowHelpContext(HWND owner, [[maybe_unused]] int context) {
  // The page of the context is opened by name: chmcmd stores the topic of a mapped context
  // with the folder it was compiled in, which the viewer then cannot find. Every context
  // of the windows is kHelpContext, whose page is kHelpMainPage.
  ShowHelp(owner, kHhDisplayTopic, kHelpMainPage);
}

}  // namespace zentrova::gui
