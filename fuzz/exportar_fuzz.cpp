// Arbitrary bytes as Vetrana's export, through the whole first direction as `zentrova-cli
// exportar` runs it: the same driver, a fresh exchange folder each time, the time-frame
// dialog always answered with its first one or two frames. What must hold: no crash or
// undefined behaviour; a run either completes, leaving every table readable, or stops with a
// message or an error of ours, leaving no table behind.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/directions.h"
#include "app/process_state.h"
#include "error.h"
#include "fuzz_host.h"
#include "store/table.h"

namespace {

using zentrova::app::RunOutcome;

constexpr const char* kTables[] = {"ASIGNOMT.DBF",   "PROFT.DBF",       "AULAT.DBF",
                                   "CURSOST.DBF",    "GRUPOST.DBF",     "ASIGT.DBF",
                                   "DIASHORAST.DBF", "DIASHORAST2.DBF", "PERIODOS.DBF"};

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

void ReadBack(const std::filesystem::path& ktemp) {
  for (const char* name : kTables) {
    zentrova::store::Table table(ktemp, name);
    table.Open();
    for (table.First(); !table.Eof(); table.Next()) {
      for (const auto& field : table.Fields()) table.AsText(field.name);
    }
    table.Close();
  }
}

bool HoldsTables(const std::filesystem::path& folder) {
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string extension = entry.path().extension().string();
    if (extension == ".DBF" || extension == ".MDX") return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path folder = zentrova::fuzz::FreshFolder("exportar");
  const std::filesystem::path xml_file = folder / "export.xml";
  const std::filesystem::path ktemp = folder / "KTEMP";
  std::filesystem::create_directory(ktemp);
  zentrova::fuzz::WriteBytes(xml_file, data, size);

  zentrova::app::ProcessState state({ktemp, ZENTROVA_NIVELEX});
  zentrova::fuzz::QuietHost host(xml_file);
  RunOutcome outcome = RunOutcome::kStopped;
  try {
    outcome = zentrova::app::BExportarClick(state, host);
  } catch (const zentrova::Error&) {
    // Refused with a message of ours; anything else escaping is a finding.
  }
  state.document.reset();
  if (outcome == RunOutcome::kCompleted) {
    ReadBack(ktemp);  // an error here is a finding
  } else {
    Check(!HoldsTables(ktemp), "a stopped run left tables in the exchange folder");
  }
  return 0;
}
