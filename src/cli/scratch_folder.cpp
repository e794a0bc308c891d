#include "cli/scratch_folder.h"

#include <random>
#include <string>
#include <system_error>

#include "files/file_error.h"

namespace zentrova::cli {
namespace {

// `folder` is empty when the system names no usable temporary folder.
[[noreturn]] void FailIn(const std::filesystem::path& folder, const std::error_code& error) {
  const std::string where = folder.empty()
                                ? "la carpeta temporal del sistema (TMPDIR; en Windows, TEMP)"
                                : files::PathForMessage(folder);
  throw files::Error("No se puede crear una carpeta temporal en " + where + ": " +
                     files::SystemReason(error) + ".");
}

}  // namespace

ScratchFolder::ScratchFolder() {
  std::error_code error;
  const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
  if (error) FailIn(temporary, error);
  std::random_device random;
  // A name another program took meanwhile is passed over; a folder that cannot be made is not.
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate = temporary / ("zentrova-revisar-" + std::to_string(random()));
    if (std::filesystem::create_directory(candidate, error)) {
      path_ = std::move(candidate);
      return;
    }
    if (error) FailIn(temporary, error);
  }
  FailIn(temporary, std::make_error_code(std::errc::file_exists));
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace zentrova::cli
