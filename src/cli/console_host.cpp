#include "cli/console_host.h"

#include <iostream>

#include "text/encoding.h"

namespace zentrova::cli {

std::optional<std::filesystem::path> ConsoleHost::ChooseXmlFile() {
  return std::filesystem::absolute(xml_file_);
}

void ConsoleHost::ShowMessage(const std::u16string& text) {
  if (text == u"Proceso finalizado") {
    PrintLine(text);
  } else {
    PrintError(text);
  }
}

app::FrameAnswer ConsoleHost::ChooseTimeFrames(const std::filesystem::path&) {
  if (frame_answer_) return *frame_answer_;
  app::FrameAnswer abandon;
  abandon.abandon = true;
  return abandon;
}

void PrintLine(const std::u16string& text) { std::cout << text::Utf16ToUtf8(text) << '\n'; }

void PrintError(const std::u16string& text) {
  std::cout.flush();
  std::cerr << text::Utf16ToUtf8(text) << '\n';
}

}  // namespace zentrova::cli
