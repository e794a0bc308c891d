// Arbitrary bytes as SOLUC.DBF beside valid exchange tables, through the whole second
// direction as `zentrova-cli importar` runs it. The tables come once per process from the
// bundled sample export, converted by the first direction; each input only replaces SOLUC.
// What must hold: no crash or undefined behaviour; a run either completes, saving a
// well-formed result, or stops with a message or an error of ours, saving nothing.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <pugixml.hpp>

#include "app/directions.h"
#include "app/process_state.h"
#include "error.h"
#include "export/timetable_document.h"
#include "fuzz_host.h"

namespace {

using zentrova::app::RunOutcome;

struct Exchange {
  std::filesystem::path ktemp;
  std::filesystem::path export_file;
  std::filesystem::path result;
};

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

// The sample export and the tables the first direction makes of it. The second direction
// reads them and never changes them, so they serve every input.
const Exchange& ValidExchange() {
  static const Exchange exchange = [] {
    const std::filesystem::path folder = zentrova::fuzz::FreshFolder("importar");
    Exchange made{folder / "KTEMP", folder / "instituto.xml", {}};
    std::filesystem::create_directory(made.ktemp);
    std::filesystem::copy_file(ZENTROVA_SAMPLE_EXPORT, made.export_file);
    zentrova::app::ProcessState state({made.ktemp, ZENTROVA_NIVELEX});
    zentrova::fuzz::QuietHost host(made.export_file);
    if (zentrova::app::BExportarClick(state, host) != RunOutcome::kCompleted) {
      std::fprintf(stderr, "the sample export did not convert\n");
      std::abort();
    }
    made.result = zentrova::timetable_export::ResultPath(made.export_file);
    return made;
  }();
  return exchange;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Exchange& exchange = ValidExchange();
  zentrova::fuzz::WriteBytes(exchange.ktemp / "SOLUC.DBF", data, size);

  zentrova::app::ProcessState state({exchange.ktemp, ZENTROVA_NIVELEX});
  zentrova::fuzz::QuietHost host(exchange.export_file);
  RunOutcome outcome = RunOutcome::kStopped;
  try {
    outcome = zentrova::app::BImportarClick(state, host);
  } catch (const zentrova::Error&) {
    // Refused with a message of ours; anything else escaping is a finding.
  }
  state.document.reset();
  std::error_code error;
  if (outcome == RunOutcome::kCompleted) {
    pugi::xml_document saved;
    Check(static_cast<bool>(saved.load_file(exchange.result.c_str())),
          "the saved result is not well formed");
    std::filesystem::remove(exchange.result);
  } else {
    Check(!std::filesystem::exists(exchange.result, error), "a stopped run saved a result");
  }
  return 0;
}
