// LockedFile on POSIX systems.
//
// Traps of this system:
// - Two kinds of lock exist and neither sees the other: flock() on the whole file, which also
//   conflicts between two opens in one process, and fcntl() record locks, which file servers
//   (NFS, SMB), the Windows compatibility layer and other programs take. Both are taken, and a
//   lock of either kind held by someone else makes the open fail.
// - Classic fcntl() locks belong to the process and vanish when any descriptor of the file is
//   closed, even one opened by a library; open-file-description locks (F_OFD_SETLK) belong to
//   the open itself, as flock's do. Only those are taken; CMake refuses a system without them.
// - A lock is taken after the open, so the name may meanwhile lead to another file (removed
//   and made again by another holder): the locked file is compared with the name afterwards
//   and the open is tried again when they differ.
// - A write lock needs a descriptor open for writing.
// - Opening a FIFO waits for a writer unless O_NONBLOCK; O_NOFOLLOW keeps a new file from
//   being made through a link.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/locked_file.h"

namespace zentrova::files {

namespace {

// flock on the whole file, then an open-file-description lock over all of it. A lock of
// either kind that someone else holds makes this fail with EWOULDBLOCK or EAGAIN.
bool TakeLocks(int fd, LockKind kind, bool writable) {
  const int operation = (kind == LockKind::kShared ? LOCK_SH : LOCK_EX) | LOCK_NB;
  if (::flock(fd, operation) != 0) return false;
  struct flock range {};
  // A write lock needs a descriptor open for writing; a file we may only read is held
  // with a read lock, which still keeps every writer's lock out.
  range.l_type = kind == LockKind::kExclusive && writable ? F_WRLCK : F_RDLCK;
  range.l_whence = SEEK_SET;
  range.l_start = 0;
  range.l_len = 0;  // to the end of the file, however far it grows
  if (::fcntl(fd, F_OFD_SETLK, &range) != 0) return false;
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

}  // namespace zentrova::files
