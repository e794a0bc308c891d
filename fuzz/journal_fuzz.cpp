// Arbitrary bytes as the journal of an interrupted update, beside a staging folder with the
// mark and a staged table, in a folder that also holds another program's file. What must
// hold: no crash or undefined behaviour; the journal is carried out or refused with an error
// of ours; the other program's file and the file outside the folder stay as they were.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "files/folder_update.h"
#include "fuzz_host.h"

namespace {

std::string Contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void Write(const std::filesystem::path& file, const std::string& bytes) {
  zentrova::fuzz::WriteBytes(file, bytes.data(), bytes.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  namespace files = zentrova::files;
  const std::filesystem::path root = zentrova::fuzz::FreshFolder("journal");
  const std::filesystem::path folder = root / "KTEMP";
  const std::filesystem::path staging = folder / files::kStagingFolderName;
  std::filesystem::create_directories(staging);
  Write(root / "ajeno", "de otro");
  Write(folder / "SOLUC.DBF", "solución");
  Write(folder / "PROFT.DBF", "viejo");
  Write(staging / files::kStagingMarkName, "5eed0f");
  Write(staging / "PROFT.DBF", "nuevo");
  zentrova::fuzz::WriteBytes(folder / files::kJournalName, data, size);
  try {
    const files::LockedFolder next_run(folder, {"PROFT.DBF", "PROFT.MDX", "JORNADAS.DBF"});
  } catch (const zentrova::Error&) {
    // Refused with a message, or left for the next run: what a reader of others' files does.
  }
  if (Contents(root / "ajeno") != "de otro" || Contents(folder / "SOLUC.DBF") != "solución") {
    std::abort();
  }
  const std::string proft = Contents(folder / "PROFT.DBF");
  if (proft != "viejo" && proft != "nuevo") std::abort();
  return 0;
}
