#include "files/native_file.h"

#include <algorithm>
#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zentrova::files {

std::string KindForMessage(EntryKind kind) {
  switch (kind) {
    case EntryKind::kMissing:
      return "nada";
    case EntryKind::kFile:
      return "un archivo";
    case EntryKind::kFolder:
      return "una carpeta";
    case EntryKind::kLink:
      return "un enlace simbólico";
    case EntryKind::kPipe:
      return "una tubería (FIFO)";
    case EntryKind::kDevice:
      return "un dispositivo";
    case EntryKind::kOther:
      break;
  }
  return "una entrada especial del sistema";
}

size_t NameLength(const std::filesystem::path& name) { return name.native().size(); }

#ifdef _WIN32

namespace {

// What a handle that CreateFileW gave is: a disk file or folder, a device, a pipe.
EntryKind KindOfHandle(HANDLE handle) {
  switch (GetFileType(handle)) {
    case FILE_TYPE_DISK: {
      BY_HANDLE_FILE_INFORMATION info{};
      if (GetFileInformationByHandle(handle, &info) &&
          (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return EntryKind::kFolder;
      }
      return EntryKind::kFile;
    }
    case FILE_TYPE_CHAR:
      return EntryKind::kDevice;
    case FILE_TYPE_PIPE:
      return EntryKind::kPipe;
    default:
      return EntryKind::kOther;
  }
}

// Opened only to be looked at: no data is read, nobody is kept out.
HANDLE OpenToLookAt(const std::filesystem::path& path, bool follow_links) {
  const DWORD flags =
      FILE_FLAG_BACKUP_SEMANTICS | (follow_links ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  return CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     flags, nullptr);
}

}  // namespace

Entry InspectEntry(const std::filesystem::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return {};
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return {EntryKind::kLink, 1};
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {EntryKind::kFolder, 1};
  const HANDLE handle = OpenToLookAt(path, /*follow_links=*/false);
  if (handle == INVALID_HANDLE_VALUE) return {EntryKind::kFile, 1};
  Entry entry{KindOfHandle(handle), 1};
  BY_HANDLE_FILE_INFORMATION info{};
  if (entry.kind == EntryKind::kFile && GetFileInformationByHandle(handle, &info)) {
    entry.links = info.nNumberOfLinks;
  }
  CloseHandle(handle);
  return entry;
}

EntryKind KindOfTarget(const std::filesystem::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return EntryKind::kMissing;
  const HANDLE handle = OpenToLookAt(path, /*follow_links=*/true);
  if (handle == INVALID_HANDLE_VALUE) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::kFolder : EntryKind::kFile;
  }
  const EntryKind kind = KindOfHandle(handle);
  CloseHandle(handle);
  return kind;
}

EntryKind KindOfOpenFile(NativeHandle handle) { return KindOfHandle(static_cast<HANDLE>(handle)); }

NativeHandle OpenForReading(const std::filesystem::path& path) {
  const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return handle == INVALID_HANDLE_VALUE ? kNoNativeHandle : handle;
}

void CloseNative(NativeHandle handle) {
  if (handle != kNoNativeHandle) CloseHandle(static_cast<HANDLE>(handle));
}

bool NativeSize(NativeHandle handle, uint64_t& size) {
  LARGE_INTEGER value{};
  if (!GetFileSizeEx(static_cast<HANDLE>(handle), &value)) return false;
  size = static_cast<uint64_t>(value.QuadPart);
  return true;
}

int NativeReadAt(NativeHandle handle, uint64_t offset, size_t length, char* into, size_t& got) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD read = 0;
  const DWORD wanted = static_cast<DWORD>(std::min<size_t>(length, 1u << 30));
  got = 0;
  if (!ReadFile(static_cast<HANDLE>(handle), into, wanted, &read, &at)) {
    const DWORD error = GetLastError();
    return error == ERROR_HANDLE_EOF ? 0 : static_cast<int>(error);
  }
  got = read;
  return 0;
}

// NTFS, FAT32 and exFAT all take names of up to 255 UTF-16 code units.
size_t LongestNameIn(const std::filesystem::path&) { return 255; }

#else

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

#endif

}  // namespace zentrova::files
