#ifndef ZENTROVA_TESTS_SUPPORT_FOREIGN_LOCK_H_
#define ZENTROVA_TESTS_SUPPORT_FOREIGN_LOCK_H_

// Locks as other programs take them. On Linux from another process (Debian's Python): flock,
// a POSIX record lock (fcntl F_SETLK: what most programs, file servers and the Windows
// compatibility layer take) and an open-file-description lock. On Windows, where a share mode
// or a byte-range lock belongs to one handle and keeps out every other handle, of this
// process as of any other: a handle whose share mode keeps others out (kFlock) and a
// byte-range lock over the whole file (kPosixRecord).

#ifndef _WIN32
#include <sys/types.h>
#endif

#include <filesystem>
#include <string>

namespace zentrova::testing {

enum class ForeignLock { kFlock, kPosixRecord, kOpenFileDescription };

#ifdef _WIN32
inline constexpr ForeignLock kEveryForeignLock[] = {ForeignLock::kFlock, ForeignLock::kPosixRecord};
#else
inline constexpr ForeignLock kEveryForeignLock[] = {ForeignLock::kFlock, ForeignLock::kPosixRecord,
                                                    ForeignLock::kOpenFileDescription};
#endif

std::string NameOf(ForeignLock kind);

// Another holder of a lock of `kind` on `file` until this object goes.
class LockHolder {
 public:
  LockHolder(const std::filesystem::path& file, ForeignLock kind, bool exclusive = true);
  ~LockHolder();
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

  // False when the other process could not take the lock.
  bool holding() const { return holding_; }

 private:
#ifdef _WIN32
  void* handle_ = nullptr;  // the HANDLE that holds the file
#else
  pid_t pid_ = -1;
  int release_ = -1;  // closing it lets the other process go
  int answer_ = -1;   // what the other process says
#endif
  bool holding_ = false;
};

// Whether another process can take a lock of `kind` on `file` now (it lets it go at once).
bool OtherProcessCanLock(const std::filesystem::path& file, ForeignLock kind,
                         bool exclusive = true);

}  // namespace zentrova::testing

#endif  // ZENTROVA_TESTS_SUPPORT_FOREIGN_LOCK_H_
