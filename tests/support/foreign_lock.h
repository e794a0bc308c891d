#ifndef ZENTROVA_TESTS_SUPPORT_FOREIGN_LOCK_H_
#define ZENTROVA_TESTS_SUPPORT_FOREIGN_LOCK_H_

// Locks as other programs take them, from another process (Debian's Python): flock, a POSIX
// record lock (fcntl F_SETLK: what most programs, file servers and the Windows compatibility
// layer take) and an open-file-description lock.

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace zentrova::testing {

enum class ForeignLock { kFlock, kPosixRecord, kOpenFileDescription };

inline constexpr ForeignLock kEveryForeignLock[] = {ForeignLock::kFlock, ForeignLock::kPosixRecord,
                                                    ForeignLock::kOpenFileDescription};

std::string NameOf(ForeignLock kind);

// Another process that holds a lock of `kind` on `file` until this object goes.
class LockHolder {
 public:
  LockHolder(const std::filesystem::path& file, ForeignLock kind, bool exclusive = true);
  ~LockHolder();
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

  // False when the other process could not take the lock.
  bool holding() const { return holding_; }

 private:
  pid_t pid_ = -1;
  int release_ = -1;  // closing it lets the other process go
  int answer_ = -1;   // what the other process says
  bool holding_ = false;
};

// Whether another process can take a lock of `kind` on `file` now (it lets it go at once).
bool OtherProcessCanLock(const std::filesystem::path& file, ForeignLock kind,
                         bool exclusive = true);

}  // namespace zentrova::testing

#endif  // ZENTROVA_TESTS_SUPPORT_FOREIGN_LOCK_H_
