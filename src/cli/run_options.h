#ifndef ZENTROVA_CLI_RUN_OPTIONS_H_
#define ZENTROVA_CLI_RUN_OPTIONS_H_

// Options the subcommands share, registered with the same names and help texts: the exchange
// folder (--ktemp) and the file a run writes its report into (--informe).

#include <CLI/CLI.hpp>
#include <filesystem>
#include <string>

namespace zentrova::cli {

void AddKtempOption(CLI::App& command, std::string& ktemp);
// The folder --ktemp gives (UTF-8), or the window's when it gives none.
std::filesystem::path ExchangeFolder(const std::string& ktemp);

void AddInformeOption(CLI::App& command, std::string& file);

}  // namespace zentrova::cli

#endif  // ZENTROVA_CLI_RUN_OPTIONS_H_
