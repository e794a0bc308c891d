#ifndef ZENTROVA_CLI_COMMANDS_H_
#define ZENTROVA_CLI_COMMANDS_H_

// The subcommands of zentrova-cli. Each registers itself on the application; its callback
// sets the process's exit status: 0 done, 1 stopped at an expected condition, 3 ended by an
// error (2, a usage error, is CLI11's).

#include <CLI/CLI.hpp>

namespace zentrova::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitStopped = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitError = 3;

void AddTablaCommand(CLI::App& app, int& exit_status);
void AddNivelexCommand(CLI::App& app, int& exit_status);
void AddExportarCommand(CLI::App& app, int& exit_status);
void AddImportarCommand(CLI::App& app, int& exit_status);
void AddRevisarCommand(CLI::App& app, int& exit_status);
void AddRevisarHorarioCommand(CLI::App& app, int& exit_status);

}  // namespace zentrova::cli

#endif  // ZENTROVA_CLI_COMMANDS_H_
