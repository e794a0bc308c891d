// Moving files into place on Windows.
//
// Traps of this system:
// - A file is renamed over, or removed, only when every open handle to it and to the file it
//   replaces shares delete. The handles we hold on files we did not create share nothing, to
//   keep other programs out, so they are let go just before the move (ReleaseBeforeRenaming);
//   the temporary, which we created sharing delete, could stay held but is let go too.
// - MoveFileExW with MOVEFILE_REPLACE_EXISTING replaces the target; MOVEFILE_WRITE_THROUGH
//   returns only once the move is on the disk, so no folder needs syncing (and a folder
//   cannot be flushed like a file).
// - A folder that takes no new file refuses with ERROR_ACCESS_DENIED, which opening reports
//   as kNoPermission.

#include "files/file_replacement.h"
#include "files/windows_handle.h"

namespace zentrova::files {

void ReleaseBeforeRenaming(LockedFile& held) { held.Close(); }

int MoveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return static_cast<int>(GetLastError());
  }
  return 0;
}

void SyncFolder(const std::filesystem::path&) {}

bool FolderTakesNoNewFile(OpenStatus status, int) { return status == OpenStatus::kNoPermission; }

}  // namespace zentrova::files
