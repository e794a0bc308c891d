#ifndef ZENTROVA_CLI_EXPORT_INPUTS_H_
#define ZENTROVA_CLI_EXPORT_INPUTS_H_

// What `exportar` and `revisar` both read: the export, the level table and the answer to the
// time-frame dialog, registered on a subcommand with the same names and help texts.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <string>
#include <vector>

namespace zentrova::cli {

struct ExportInputs {
  std::string file;
  std::string nivelex;
  std::vector<std::string> marcos;

  std::filesystem::path ExportFile() const;
  // The level table given, or the one beside the program.
  std::filesystem::path LevelTable() const;
  std::vector<std::u16string> FrameCodes() const;
};

// EXPORT.xml, --nivelex and --marcos.
void AddExportInputs(CLI::App& command, ExportInputs& inputs);

}  // namespace zentrova::cli

#endif  // ZENTROVA_CLI_EXPORT_INPUTS_H_
