#ifndef ZENTROVA_APP_PROCESS_STATE_H_
#define ZENTROVA_APP_PROCESS_STATE_H_

// The process-wide state of the converter, one instance owned by the main window.

#include <filesystem>
#include <memory>

#include "app/batch_mode.h"
#include "app/exchange_tables.h"
#include "app/paths.h"
#include "import/subjects.h"
#include "xml/document.h"

namespace zentrova::app {

struct ProcessState {
  explicit ProcessState(RunPaths run_paths)
      : paths(std::move(run_paths)), tables(paths.ktemp, paths.nivelex) {}

  int runMode = 0;     // kBatchRunMode in batch mode, else 0
  int resultCode = 0;  // 1 after a completed run; -1 when the chosen file is missing in batch mode
  bool InBatchMode() const { return runMode == kBatchRunMode; }
  std::filesystem::path filenameXML;        // the XML file chosen last, shared by both directions
  std::unique_ptr<xml::Document> document;  // the current run's document
  // Where every run writes its report (the command line's --informe); empty for none. In batch
  // mode without it, the report goes to a file of its own beside the chosen export.
  std::filesystem::path report_file;
  // used_names and used_codes of the subjects converter, made fresh for each run.
  import::SubjectLists subject_lists;

  RunPaths paths;
  ExchangeTables tables;
};

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_PROCESS_STATE_H_
