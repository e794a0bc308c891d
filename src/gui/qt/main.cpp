// The window's program: the application titled "Zentrova" and its main window TMForm, until
// that window closes.

#include <QApplication>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "gui/qt/main_window.h"
#include "gui/qt/translation.h"

int main(int argc, char** argv) {
  // The parameters belong to batch mode (the program's own path not counted): Qt sees none.
  std::vector<std::string> parameters = zentrova::app::CommandLineArguments(argc, argv);
  parameters.erase(parameters.begin());
  int qt_argc = 1;
  char* qt_argv[] = {argv[0], nullptr};
  QApplication application(qt_argc, qt_argv);
  QApplication::setApplicationName(QStringLiteral("Zentrova"));
  zentrova::gui::InstallSpanishTranslation(application);

  zentrova::gui::TMForm form(std::move(parameters));
  form.show();
  return application.exec();
}
