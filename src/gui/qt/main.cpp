// The window's program: the application titled "Zentrova" and its main window TMForm, until
// that window closes.

#include <QApplication>
#include <string>
#include <vector>

#include "gui/qt/main_window.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#endif

namespace {

// The parameters as the calling program gave them, UTF-8, the program's path not counted.
std::vector<std::string> CommandLineParameters([[maybe_unused]] int argc,
                                               [[maybe_unused]] char** argv) {
  std::vector<std::string> parameters;
#ifdef _WIN32
  int count = 0;
  if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i)
      parameters.push_back(QString::fromWCharArray(wide[i]).toStdString());
    LocalFree(wide);
  }
#else
  for (int i = 1; i < argc; ++i)
    parameters.push_back(QString::fromLocal8Bit(argv[i]).toStdString());
#endif
  return parameters;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> parameters = CommandLineParameters(argc, argv);
  // The parameters belong to batch mode: Qt sees none of them.
  int qt_argc = 1;
  char* qt_argv[] = {argv[0], nullptr};
  QApplication application(qt_argc, qt_argv);
  QApplication::setApplicationName(QStringLiteral("Zentrova"));

  zentrova::gui::TMForm form(std::move(parameters));
  form.show();
  return application.exec();
}
