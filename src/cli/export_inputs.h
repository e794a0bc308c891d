#ifndef ZENTROVA_CLI_EXPORT_INPUTS_H_
#define ZENTROVA_CLI_EXPORT_INPUTS_H_

// What `exportar` and `revisar` both read: the export, the level table and the answer to the
// time-frame dialog, registered on a subcommand with the same names and help texts.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <string>
#include <vector>

#include "app/paths.h"

namespace zentrova::cli {

struct ExportInputs {
  std::string file;
  std::string nivelex;
  std::vector<std::string> marcos;

  std::filesystem::path ExportFile() const;
  // Where a run finds its files: the level table given, or else the one the window reads.
  app::RunPaths Paths() const;
  std::vector<std::u16string> FrameCodes() const;
};

// EXPORT.xml, --nivelex and --marcos.
void AddExportInputs(CLI::App& command, ExportInputs& inputs);

}  // namespace zentrova::cli

#endif  // ZENTROVA_CLI_EXPORT_INPUTS_H_
