#ifndef ZENTROVA_STORE_FILE_LOCK_H_
#define ZENTROVA_STORE_FILE_LOCK_H_

// A table file held open with an operating-system lock, so that another program sees it
// as in use: flock on POSIX (which also conflicts between two opens in one process), share
// modes on Windows. Reading and writing at byte offsets; the lock goes with the object.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zentrova::store {

enum class LockKind { kShared, kExclusive };

// What opening gave: the file is held, or why not.
enum class OpenStatus { kOpened, kNotFound, kFolderMissing, kHeld, kNoPermission, kFailed };

class LockedFile {
 public:
  LockedFile() = default;
  ~LockedFile();
  LockedFile(LockedFile&& other) noexcept;
  LockedFile& operator=(LockedFile&& other) noexcept;
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

  // Opens an existing file for reading and writing (reading only where writing is not
  // allowed) and takes the lock without waiting. `create` makes the file when missing.
  OpenStatus Open(const std::filesystem::path& path, LockKind kind, bool create = false);
  void Close();
  bool is_open() const;
  bool writable() const { return writable_; }
  // errno (or GetLastError) of the last failure, for messages.
  int last_error() const { return last_error_; }

  // These give false on failure, with last_error() set.
  bool ReadAll(std::string& bytes);
  bool WriteAt(uint64_t offset, std::string_view bytes);
  bool Truncate(uint64_t size);

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
  bool writable_ = false;
  int last_error_ = 0;
};

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_FILE_LOCK_H_
