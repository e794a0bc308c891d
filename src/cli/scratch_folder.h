#ifndef ZENTROVA_CLI_SCRATCH_FOLDER_H_
#define ZENTROVA_CLI_SCRATCH_FOLDER_H_

// A private folder under the system's temporary folder, made empty and removed with
// everything in it when the object goes: where a review lets the converters write.

#include <filesystem>

namespace zentrova::cli {

class ScratchFolder {
 public:
  // Raises files::Error naming the temporary folder and the system's reason when no folder
  // can be made there.
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace zentrova::cli

#endif  // ZENTROVA_CLI_SCRATCH_FOLDER_H_
