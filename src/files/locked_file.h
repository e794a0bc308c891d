#ifndef ZENTROVA_FILES_LOCKED_FILE_H_
#define ZENTROVA_FILES_LOCKED_FILE_H_

// A file held open with operating-system locks, so that other programs see it as in use.
// On POSIX both kinds of lock are taken on the whole file, and a lock of either kind held by
// someone else makes the open fail: flock (which also conflicts between two opens in one
// process) and an open-file-description fcntl lock (what file servers, other programs and
// the Windows compatibility layer take). On Windows the share mode keeps others out.
// Reading and writing at byte offsets; the locks go with the object.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zentrova::files {

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

  // Opens a file for reading and writing (reading only where writing is not allowed) and
  // takes the lock without waiting. `create` makes the file when it is missing, never
  // through a symbolic link. When the open succeeds, the path names the very file that is
  // locked: a file that another holder removed or replaced in the meantime is not kept.
  // A file opened with `create` may be renamed or removed by its holder while it is held.
  OpenStatus Open(const std::filesystem::path& path, LockKind kind, bool create = false);
  void Close();
  bool is_open() const;
  bool writable() const { return writable_; }
  // LastSystemError() of the last failure, for messages.
  int last_error() const { return last_error_; }

  // These give false on failure, with last_error() set.
  bool ReadAll(std::string& bytes);
  bool WriteAt(uint64_t offset, std::string_view bytes);
  bool Truncate(uint64_t size);
  // Waits until everything written is on the disk.
  bool Sync();

 private:
  OpenStatus OpenOnce(const std::filesystem::path& path, LockKind kind, bool create,
                      bool& replaced);

  // The system's handle of the open file: a HANDLE on Windows, a descriptor elsewhere.
#ifdef _WIN32
  using Handle = void*;
  static constexpr Handle kNoHandle = nullptr;
#else
  using Handle = int;
  static constexpr Handle kNoHandle = -1;
#endif
  Handle handle_ = kNoHandle;
  bool writable_ = false;
  int last_error_ = 0;
};

}  // namespace zentrova::files

#endif  // ZENTROVA_FILES_LOCKED_FILE_H_
