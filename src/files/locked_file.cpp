#include "files/locked_file.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <utility>

#include "files/file_error.h"
#include "files/input_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zentrova::files {
namespace {

// A holder that removes or replaces the file between our open and our lock makes us try
// again; after this many tries the file is taken to be in use.
constexpr int kOpenAttempts = 50;

bool FolderMissing(const std::filesystem::path& path) {
  std::error_code error;
  const auto folder = path.parent_path();
  return !folder.empty() && !std::filesystem::is_directory(folder, error);
}

}  // namespace

LockedFile::~LockedFile() { Close(); }

LockedFile::LockedFile(LockedFile&& other) noexcept { *this = std::move(other); }

LockedFile& LockedFile::operator=(LockedFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, kNoHandle);
    writable_ = other.writable_;
    last_error_ = other.last_error_;
  }
  return *this;
}

bool LockedFile::is_open() const { return handle_ != kNoHandle; }

bool LockedFile::IsRegularOrMissing(const std::filesystem::path& path) {
  // A link that leads nowhere is missing to whoever opens it.
  found_kind_ = KindOfTarget(path);
  return found_kind_ == EntryKind::kFile || found_kind_ == EntryKind::kMissing ||
         found_kind_ == EntryKind::kLink;
}

bool LockedFile::KeepIfRegular() {
  found_kind_ = KindOfOpenFile(handle_);
  if (found_kind_ == EntryKind::kFile) return true;
  Close();
  return false;
}

OpenStatus LockedFile::Open(const std::filesystem::path& path, LockKind kind, bool create) {
  Close();
  // A link is never made or followed where a file is created; elsewhere only what it leads to
  // matters. Nothing but a regular file is opened: opening a device may do something.
  if (!create && !IsRegularOrMissing(path)) return OpenStatus::kNotRegular;
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    bool replaced = false;
    const OpenStatus status = OpenOnce(path, kind, create, replaced);
    if (replaced) continue;
    if (status == OpenStatus::kOpened && !KeepIfRegular()) return OpenStatus::kNotRegular;
    return status;
  }
  return OpenStatus::kHeld;
}

bool LockedFile::Size(uint64_t& size) {
  if (NativeSize(handle_, size)) return true;
  last_error_ = LastSystemError();
  return false;
}

bool LockedFile::ReadAt(uint64_t offset, size_t length, std::string& bytes) {
  bytes.assign(length, '\0');
  last_error_ = ReadExactly(handle_, offset, length, bytes.data());
  return last_error_ == 0;
}

#ifdef _WIN32

// Windows keeps other programs out with the share mode, checked when a file is opened: a
// shared holder lets others read and write, an exclusive one lets nobody in. A file is
// locked as it is opened, so it cannot be replaced in between. Programs that share the file
// but lock its bytes (LockFileEx, as dBASE programs lock records) are seen too: the whole
// file is locked as well, shared or exclusive, and any lock of theirs makes that fail.
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
  handle_ = handle;
  return OpenStatus::kOpened;
}

void LockedFile::Close() {
  if (handle_ != kNoHandle) CloseHandle(static_cast<HANDLE>(handle_));
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
    if (!WriteFile(static_cast<HANDLE>(handle_), bytes.data() + done, wanted, &written, &at) ||
        written == 0) {
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
  if (!SetFileInformationByHandle(static_cast<HANDLE>(handle_), FileEndOfFileInfo, &end,
                                  sizeof end)) {
    last_error_ = static_cast<int>(GetLastError());
    return false;
  }
  return true;
}

bool LockedFile::Sync() {
  if (!FlushFileBuffers(static_cast<HANDLE>(handle_))) {
    last_error_ = static_cast<int>(GetLastError());
    return false;
  }
  return true;
}

#else

namespace {

// flock on the whole file, then an open-file-description lock over all of it. A lock of
// either kind that someone else holds makes this fail with EWOULDBLOCK or EAGAIN.
bool TakeLocks(int fd, LockKind kind, bool writable) {
  const int operation = (kind == LockKind::kShared ? LOCK_SH : LOCK_EX) | LOCK_NB;
  if (::flock(fd, operation) != 0) return false;
#ifdef F_OFD_SETLK
  struct flock range {};
  // A write lock needs a descriptor open for writing; a file we may only read is held
  // with a read lock, which still keeps every writer's lock out.
  range.l_type = kind == LockKind::kExclusive && writable ? F_WRLCK : F_RDLCK;
  range.l_whence = SEEK_SET;
  range.l_start = 0;
  range.l_len = 0;  // to the end of the file, however far it grows
  if (::fcntl(fd, F_OFD_SETLK, &range) != 0) return false;
#else
  (void)writable;
#endif
  return true;
}

bool SameFile(int fd, const std::filesystem::path& path) {
  struct stat held {};
  struct stat named {};
  return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
         held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

}  // namespace

OpenStatus LockedFile::OpenOnce(const std::filesystem::path& path, LockKind kind, bool create,
                                bool& replaced) {
  replaced = false;
  const int create_flags = create ? O_CREAT | O_NOFOLLOW : 0;
  writable_ = true;
  // O_NONBLOCK: something that became a FIFO since it was looked at opens without waiting.
  int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | create_flags, 0666);
  if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM) && !create) {
    writable_ = false;
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  }
  if (fd < 0) {
    last_error_ = errno;
    if (last_error_ == ENOENT) {
      return FolderMissing(path) ? OpenStatus::kFolderMissing : OpenStatus::kNotFound;
    }
    if (last_error_ == ENOTDIR) return OpenStatus::kFolderMissing;
    return last_error_ == EACCES || last_error_ == EPERM ? OpenStatus::kNoPermission
                                                         : OpenStatus::kFailed;
  }
  if (!TakeLocks(fd, kind, writable_)) {
    last_error_ = errno;
    ::close(fd);
    return last_error_ == EWOULDBLOCK || last_error_ == EAGAIN || last_error_ == EACCES
               ? OpenStatus::kHeld
               : OpenStatus::kFailed;
  }
  if (!SameFile(fd, path)) {
    ::close(fd);
    replaced = true;
    return OpenStatus::kFailed;
  }
  handle_ = fd;
  return OpenStatus::kOpened;
}

void LockedFile::Close() {
  if (handle_ != kNoHandle) ::close(handle_);  // closing releases both locks
  handle_ = kNoHandle;
}

bool LockedFile::WriteAt(uint64_t offset, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::pwrite(handle_, bytes.data() + done, bytes.size() - done,
                                 static_cast<off_t>(offset + done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      last_error_ = put < 0 ? errno : EIO;
      return false;
    }
    done += static_cast<size_t>(put);
  }
  return true;
}

bool LockedFile::Truncate(uint64_t size) {
  if (::ftruncate(handle_, static_cast<off_t>(size)) != 0) {
    last_error_ = errno;
    return false;
  }
  return true;
}

bool LockedFile::Sync() {
  if (::fsync(handle_) != 0) {
    last_error_ = errno;
    return false;
  }
  return true;
}

#endif

}  // namespace zentrova::files
