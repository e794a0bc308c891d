#ifndef ZENTROVA_FILES_FOLDER_LOCK_H_
#define ZENTROVA_FILES_FOLDER_LOCK_H_

// One run per folder at a time: a run holds the lock file ZENTROVA.LCK of the folder it
// changes, exclusively, for its whole length, and removes it when it ends. A lock file that
// a killed run left behind is simply taken over; a link, a FIFO or an empty folder that
// someone left under its name is removed first (a link is never followed).

#include <filesystem>
#include <string_view>

#include "files/locked_file.h"

namespace zentrova::files {

inline constexpr char kFolderLockName[] = "ZENTROVA.LCK";

class FolderLock {
 public:
  // Takes the lock without waiting. Raises files::Error naming the folder (`noun` says what
  // it is to the user) when it does not exist, is not a folder, takes no new file, or
  // another run holds it; naming the lock file when a folder with files in it, or a file that
  // cannot be opened, stands under its name.
  explicit FolderLock(std::filesystem::path folder,
                      std::string_view noun = "la carpeta de intercambio");
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
  LockedFile file_;
};

}  // namespace zentrova::files

#endif  // ZENTROVA_FILES_FOLDER_LOCK_H_
