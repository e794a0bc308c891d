// Moving files into place on POSIX systems.
//
// Traps of this system:
// - rename() replaces its target in one step, and an open descriptor (ours or another
//   program's) keeps neither name from being renamed or removed: our locks stay held through
//   the move, so that nobody takes the file in between.
// - A rename is on the disk only once the folder that holds the names is synced; syncing the
//   file writes its bytes, not its name. Without the folder's fsync a power cut may bring back
//   the old file after we said the new one was saved.
// - A folder that takes no new file says so in several ways: EACCES or EPERM, EROFS on a
//   read-only mount, EISDIR where a folder stands at the temporary's name.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "files/file_replacement.h"

namespace zentrova::files {

void ReleaseBeforeRenaming(LockedFile&) {}

int MoveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool FolderTakesNoNewFile(OpenStatus status, int error) {
  return status == OpenStatus::kNoPermission || error == EROFS || error == EISDIR;
}

}  // namespace zentrova::files
