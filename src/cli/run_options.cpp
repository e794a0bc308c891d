#include "cli/run_options.h"

#include "app/paths.h"
#include "text/encoding.h"

namespace zentrova::cli {

void AddKtempOption(CLI::App& command, std::string& ktemp) {
  command.add_option("--ktemp", ktemp,
                     "Carpeta de intercambio (por omisión la de la ventana: ZENTROVA_KTEMP, "
                     "C:\\KTEMP o drive_c/KTEMP del prefijo de Wine)");
}

std::filesystem::path ExchangeFolder(const std::string& ktemp) {
  return ktemp.empty() ? app::DefaultExchangeFolder() : text::PathFromUtf8(ktemp);
}

void AddInformeOption(CLI::App& command, std::string& file) {
  command.add_option("--informe", file,
                     "Escribe en este archivo el informe de la conversión (texto UTF-8): qué "
                     "registros o lecciones se quedan fuera o cambian, y cómo termina");
}

}  // namespace zentrova::cli
