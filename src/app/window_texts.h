#ifndef ZENTROVA_APP_WINDOW_TEXTS_H_
#define ZENTROVA_APP_WINDOW_TEXTS_H_

// Texts that the windows of every toolkit show beyond those of the runs: help that cannot be
// shown, and the time-frame dialog when the export offers nothing to choose.

#include <filesystem>
#include <string>

#include "text/encoding.h"

namespace zentrova::app {

// The help file (or one of its pages) is not where the installation put it.
inline std::u16string MissingHelpFileMessage(const std::filesystem::path& file) {
  return u"No se encuentra la ayuda: falta el archivo «" + text::PathText(file) +
         u"». Reinstale ZENTROVA.";
}

// Windows' HTML Help viewer is missing or does not open the help file; the same pages are
// in `pages_folder`.
inline std::u16string HelpViewerUnavailableMessage(const std::filesystem::path& help_file,
                                                   const std::filesystem::path& pages_folder) {
  return u"No se puede mostrar la ayuda «" + text::PathText(help_file) +
         u"»: el visor de ayuda HTML de Windows (hhctrl.ocx) no está disponible. Las mismas "
         u"páginas están en la carpeta «" +
         text::PathText(pages_folder) + u"».";
}

inline constexpr char16_t kTerminarCaption[] = u"Terminar";

// Why the time-frame dialog cannot offer a choice. `load_failed`: the export could not be
// read again; otherwise it holds fewer than two frames.
inline std::u16string NoFrameChoiceReason(const std::filesystem::path& export_file,
                                          bool load_failed) {
  const std::u16string file = text::PathText(export_file);
  return load_failed ? u"No se puede leer de nuevo el archivo «" + file +
                           u"»: ya no existe, ha cambiado o no es un XML bien formado. Sin él no "
                           u"se pueden elegir los marcos horarios."
                     : u"El archivo «" + file +
                           u"» ya no tiene dos o más marcos horarios (JORNADAS_ESCOLARES) entre "
                           u"los que elegir: ha cambiado desde que empezó la conversión.";
}

// The dialog's notice when it cannot offer a choice: the reason, and the way out through
// kTerminarCaption.
inline std::u16string NoFrameChoiceNotice(const std::filesystem::path& export_file,
                                          bool load_failed) {
  return NoFrameChoiceReason(export_file, load_failed) +
         u"\n\nPulse «Terminar» para acabar la conversión; después compruebe el archivo y vuelva "
         u"a empezar.";
}

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_WINDOW_TEXTS_H_
