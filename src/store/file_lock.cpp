#include "store/file_lock.h"

#include <cerrno>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zentrova::store {
namespace {

bool FolderMissing(const std::filesystem::path& path) {
  std::error_code error;
  const auto folder = path.parent_path();
  return !folder.empty() && !std::filesystem::is_directory(folder, error);
}

}  // namespace

LockedFile::~LockedFile() { Close(); }

LockedFile::LockedFile(LockedFile&& other) noexcept { *this = std::move(other); }

#ifdef _WIN32

LockedFile& LockedFile::operator=(LockedFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, nullptr);
    writable_ = other.writable_;
    last_error_ = other.last_error_;
  }
  return *this;
}

// Windows keeps other programs out with the share mode: a shared holder lets others read
// and write, an exclusive one lets nobody in.
OpenStatus LockedFile::Open(const std::filesystem::path& path, LockKind kind, bool create) {
  Close();
  const DWORD share = kind == LockKind::kShared ? (FILE_SHARE_READ | FILE_SHARE_WRITE) : 0;
  const DWORD disposition = create ? OPEN_ALWAYS : OPEN_EXISTING;
  writable_ = true;
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                              disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED) {
    writable_ = false;
    handle = CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
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
  if (handle_ != nullptr) CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
}

bool LockedFile::is_open() const { return handle_ != nullptr; }

bool LockedFile::ReadAll(std::string& bytes) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(static_cast<HANDLE>(handle_), &size)) {
    last_error_ = static_cast<int>(GetLastError());
    return false;
  }
  bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
  LARGE_INTEGER start{};
  SetFilePointerEx(static_cast<HANDLE>(handle_), start, nullptr, FILE_BEGIN);
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!ReadFile(static_cast<HANDLE>(handle_), bytes.data() + done,
                  static_cast<DWORD>(bytes.size() - done), &got, nullptr) ||
        got == 0) {
      last_error_ = static_cast<int>(GetLastError());
      return false;
    }
    done += got;
  }
  return true;
}

bool LockedFile::WriteAt(uint64_t offset, std::string_view bytes) {
  LARGE_INTEGER position{};
  position.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(static_cast<HANDLE>(handle_), position, nullptr, FILE_BEGIN)) {
    last_error_ = static_cast<int>(GetLastError());
    return false;
  }
  DWORD written = 0;
  if (!WriteFile(static_cast<HANDLE>(handle_), bytes.data(), static_cast<DWORD>(bytes.size()),
                 &written, nullptr) ||
      written != bytes.size()) {
    last_error_ = static_cast<int>(GetLastError());
    return false;
  }
  return true;
}

bool LockedFile::Truncate(uint64_t size) {
  LARGE_INTEGER position{};
  position.QuadPart = static_cast<LONGLONG>(size);
  if (!SetFilePointerEx(static_cast<HANDLE>(handle_), position, nullptr, FILE_BEGIN) ||
      !SetEndOfFile(static_cast<HANDLE>(handle_))) {
    last_error_ = static_cast<int>(GetLastError());
    return false;
  }
  return true;
}

#else

LockedFile& LockedFile::operator=(LockedFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    writable_ = other.writable_;
    last_error_ = other.last_error_;
  }
  return *this;
}

OpenStatus LockedFile::Open(const std::filesystem::path& path, LockKind kind, bool create) {
  Close();
  const int create_flag = create ? O_CREAT : 0;
  writable_ = true;
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | create_flag, 0666);
  if (fd < 0 && (errno == EACCES || errno == EROFS) && !create) {
    writable_ = false;
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
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
  const int operation = (kind == LockKind::kShared ? LOCK_SH : LOCK_EX) | LOCK_NB;
  if (::flock(fd, operation) != 0) {
    last_error_ = errno;
    ::close(fd);
    return last_error_ == EWOULDBLOCK ? OpenStatus::kHeld : OpenStatus::kFailed;
  }
  fd_ = fd;
  return OpenStatus::kOpened;
}

void LockedFile::Close() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  fd_ = -1;
}

bool LockedFile::is_open() const { return fd_ >= 0; }

bool LockedFile::ReadAll(std::string& bytes) {
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    last_error_ = errno;
    return false;
  }
  bytes.assign(static_cast<size_t>(info.st_size), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got =
        ::pread(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      last_error_ = got < 0 ? errno : EIO;
      return false;
    }
    done += static_cast<size_t>(got);
  }
  return true;
}

bool LockedFile::WriteAt(uint64_t offset, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put =
        ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
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
  if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
    last_error_ = errno;
    return false;
  }
  return true;
}

#endif

}  // namespace zentrova::store
