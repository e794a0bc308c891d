#include "gui/qt/translation.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>

#include "app/paths.h"

namespace zentrova::gui {

bool InstallSpanishTranslation(QCoreApplication& application) {
  const QLocale spanish(QLocale::Spanish, QLocale::Spain);
  QLocale::setDefault(spanish);
  const QString beside =
      QString::fromStdU16String((app::ExecutableFolder() / "translations").u16string());
  auto* translator = new QTranslator(&application);
  for (const QString& folder : {beside, QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
    if (translator->load(spanish, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
      QCoreApplication::installTranslator(translator);
      return true;
    }
  }
  delete translator;
  return false;
}

}  // namespace zentrova::gui
