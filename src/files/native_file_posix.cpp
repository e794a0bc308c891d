// Names and open files on POSIX systems.
//
// Traps of this system:
// - Opening a FIFO for reading waits for a writer, and opening a terminal may make it the
//   process's controlling one: every open here is O_NONBLOCK and O_NOCTTY, which change
//   nothing for a regular file.
// - stat() follows links and lstat() does not; a link that leads nowhere or round in a circle
//   fails stat() although the name is there.
// - pread() may be interrupted by a signal (EINTR) and then is simply tried again.
// - The longest name depends on the file system the folder is on (pathconf), not on the
//   system.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/native_file.h"

namespace zentrova::files {

namespace {

EntryKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::kFile;
  if (S_ISDIR(mode)) return EntryKind::kFolder;
  if (S_ISLNK(mode)) return EntryKind::kLink;
  if (S_ISFIFO(mode)) return EntryKind::kPipe;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return EntryKind::kDevice;
  return EntryKind::kOther;
}

}  // namespace

Entry InspectEntry(const std::filesystem::path& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return {};
  return {KindOfMode(info.st_mode), static_cast<uint64_t>(info.st_nlink)};
}

EntryKind KindOfTarget(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    // A link that leads nowhere, or round in a circle, is still a link.
    return InspectEntry(path).kind;
  }
  return KindOfMode(info.st_mode);
}

EntryKind KindOfOpenFile(NativeHandle handle) {
  struct stat info {};
  if (::fstat(handle, &info) != 0) return EntryKind::kOther;
  return KindOfMode(info.st_mode);
}

NativeHandle OpenForReading(const std::filesystem::path& path) {
  // O_NONBLOCK: a FIFO opens at once instead of waiting for a writer. It changes nothing for
  // a regular file.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  return fd < 0 ? kNoNativeHandle : fd;
}

void CloseNative(NativeHandle handle) {
  if (handle != kNoNativeHandle) ::close(handle);
}

bool NativeSize(NativeHandle handle, uint64_t& size) {
  struct stat info {};
  if (::fstat(handle, &info) != 0) return false;
  size = static_cast<uint64_t>(info.st_size);
  return true;
}

int NativeReadAt(NativeHandle handle, uint64_t offset, size_t length, char* into, size_t& got) {
  got = 0;
  while (true) {
    const ssize_t read = ::pread(handle, into, length, static_cast<off_t>(offset));
    if (read < 0 && errno == EINTR) continue;
    if (read < 0) return errno;
    got = static_cast<size_t>(read);
    return 0;
  }
}

size_t LongestNameIn(const std::filesystem::path& folder) {
  const long longest = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  return longest > 0 ? static_cast<size_t>(longest) : 255;
}

bool NamesIgnoreLetterCase() { return false; }

int EndOfFileError() { return EIO; }

int ShortWriteError() { return EIO; }

}  // namespace zentrova::files
