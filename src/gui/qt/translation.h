#ifndef ZENTROVA_GUI_QT_TRANSLATION_H_
#define ZENTROVA_GUI_QT_TRANSLATION_H_

// Qt's own texts (the file dialog, the message boxes' buttons) in Spanish, whatever the
// desktop's language: the program speaks Spanish throughout.

#include <QCoreApplication>

namespace zentrova::gui {

// Loads Qt's Spanish translation (qtbase_es.qm from the "translations" folder beside the
// executable, else Qt's own translations folder) into the application. False when neither
// has it; Qt's English texts are then shown.
bool InstallSpanishTranslation(QCoreApplication& application);

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_QT_TRANSLATION_H_
