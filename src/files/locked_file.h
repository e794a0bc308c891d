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

#include "files/native_file.h"

namespace zentrova::files {

enum class LockKind { kShared, kExclusive };

// What opening gave: the file is held, or why not.
// kNotRegular: the name leads to something that is not a regular file (found_kind() says what),
// which is never opened, or is let go at once when it changed into one after the look.
enum class OpenStatus {
  kOpened,
  kNotFound,
  kFolderMissing,
  kHeld,
  kNoPermission,
  kNotRegular,
  kFailed
};

class LockedFile {
 public:
  LockedFile() = default;
  ~LockedFile();
  LockedFile(LockedFile&& other) noexcept;
  LockedFile& operator=(LockedFile&& other) noexcept;
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

  // Opens a file for reading and writing (reading only where writing is not allowed) and
  // takes the lock without waiting (nor for a writer, when it is a FIFO). `create` makes the
  // file when it is missing, never through a symbolic link. When the open succeeds, the path names
  // the very file that is locked: a file that another holder removed or replaced in the meantime is
  // not kept. A file opened with `create` may be renamed or removed by its holder while it is held.
  OpenStatus Open(const std::filesystem::path& path, LockKind kind, bool create = false);
  void Close();
  bool is_open() const;
  bool writable() const { return writable_; }
  // LastSystemError() of the last failure, for messages.
  int last_error() const { return last_error_; }
  // What the name led to when Open gave kNotRegular.
  EntryKind found_kind() const { return found_kind_; }

  // These give false on failure, with last_error() set.
  bool Size(uint64_t& size);
  // Exactly `length` bytes at `offset`; a file that ends before them is a failure.
  bool ReadAt(uint64_t offset, size_t length, std::string& bytes);
  bool WriteAt(uint64_t offset, std::string_view bytes);
  bool Truncate(uint64_t size);
  // Waits until everything written is on the disk.
  bool Sync();

 private:
  OpenStatus OpenOnce(const std::filesystem::path& path, LockKind kind, bool create,
                      bool& replaced);

  static bool FolderMissing(const std::filesystem::path& path);
  // Looks at what `path` leads to before it is opened.
  bool IsRegularOrMissing(const std::filesystem::path& path);
  // Lets go of a file that turned out not to be a regular one once open.
  bool KeepIfRegular();

  using Handle = NativeHandle;
  static constexpr Handle kNoHandle = kNoNativeHandle;
  Handle handle_ = kNoHandle;
  bool writable_ = false;
  int last_error_ = 0;
  EntryKind found_kind_ = EntryKind::kFile;
};

}  // namespace zentrova::files

#endif  // ZENTROVA_FILES_LOCKED_FILE_H_
