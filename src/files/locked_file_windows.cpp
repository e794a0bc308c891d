// LockedFile on Windows.
//
// Traps of this system:
// - Windows keeps other programs out with the share mode, checked when a file is opened: a
//   shared holder lets others read and write, an exclusive one lets nobody in. A file is
//   locked as it is opened, so it cannot be replaced between the open and the lock.
// - Programs that share the file but lock its bytes (LockFileEx, as dBASE programs lock
//   records) pass the share mode: the whole file is locked as well, shared or exclusive, and
//   any byte lock of theirs makes that fail.
// - A handle that does not share delete keeps the file from being renamed or removed, even by
//   its holder; files we create share it so that we can move them into place while we hold
//   them (see ReleaseBeforeRenaming for the files we did not create).
// - FILE_FLAG_OPEN_REPARSE_POINT keeps a new file from being made through a link that
//   someone left under its name.

#include <algorithm>

#include "files/locked_file.h"
#include "files/windows_handle.h"

namespace zentrova::files {

OpenStatus LockedFile::OpenOnce(const std::filesystem::path& path, LockKind kind, bool create,
                                bool& replaced) {
  replaced = false;
  // Files we create (temporaries, lock files, new tables) may be renamed or removed while we
  // hold them; nobody else may read or write them.
  const DWORD share = kind == LockKind::kShared ? (FILE_SHARE_READ | FILE_SHARE_WRITE)
                      : create                  ? FILE_SHARE_DELETE
                                                : 0;
  const DWORD disposition = create ? OPEN_ALWAYS : OPEN_EXISTING;
  // A new file is never made through a link that someone left under its name.
  const DWORD flags = FILE_ATTRIBUTE_NORMAL | (create ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
  writable_ = true;
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                              disposition, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED && !create) {
    writable_ = false;
    handle = CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, disposition, flags, nullptr);
  }
  if (handle != INVALID_HANDLE_VALUE) {
    OVERLAPPED whole{};
    const DWORD lock =
        LOCKFILE_FAIL_IMMEDIATELY | (kind == LockKind::kExclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (!LockFileEx(handle, lock, 0, MAXDWORD, MAXDWORD, &whole)) {
      const DWORD error = GetLastError();
      CloseHandle(handle);
      SetLastError(error);
      handle = INVALID_HANDLE_VALUE;
    }
  }
  if (handle == INVALID_HANDLE_VALUE) {
    last_error_ = static_cast<int>(GetLastError());
    switch (last_error_) {
      case ERROR_FILE_NOT_FOUND:
        return OpenStatus::kNotFound;
      case ERROR_PATH_NOT_FOUND:
        return FolderMissing(path) ? OpenStatus::kFolderMissing : OpenStatus::kNotFound;
      case ERROR_SHARING_VIOLATION:
      case ERROR_LOCK_VIOLATION:
        return OpenStatus::kHeld;
      case ERROR_ACCESS_DENIED:
        return OpenStatus::kNoPermission;
      default:
        return OpenStatus::kFailed;
    }
  }
  handle_ = AsNative(handle);
  return OpenStatus::kOpened;
}

void LockedFile::Close() {
  if (handle_ != kNoHandle) CloseHandle(AsHandle(handle_));
  handle_ = kNoHandle;
}

bool LockedFile::WriteAt(uint64_t offset, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    OVERLAPPED at{};
    const uint64_t position = offset + done;
    at.Offset = static_cast<DWORD>(position & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(position >> 32);
    DWORD written = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    if (!WriteFile(AsHandle(handle_), bytes.data() + done, wanted, &written, &at) || written == 0) {
      last_error_ = static_cast<int>(GetLastError());
      return false;
    }
    done += written;
  }
  return true;
}

bool LockedFile::Truncate(uint64_t size) {
  FILE_END_OF_FILE_INFO end{};
  end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
  if (!SetFileInformationByHandle(AsHandle(handle_), FileEndOfFileInfo, &end, sizeof end)) {
    last_error_ = static_cast<int>(GetLastError());
    return false;
  }
  return true;
}

bool LockedFile::Sync() {
  if (!FlushFileBuffers(AsHandle(handle_))) {
    last_error_ = static_cast<int>(GetLastError());
    return false;
  }
  return true;
}

}  // namespace zentrova::files
