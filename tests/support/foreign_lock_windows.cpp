#include <windows.h>

#include "support/foreign_lock.h"

namespace zentrova::testing {

std::string NameOf(ForeignLock kind) {
  switch (kind) {
    case ForeignLock::kFlock:
      return "modo de compartir";
    case ForeignLock::kPosixRecord:
      return "LockFileEx";
    case ForeignLock::kOpenFileDescription:
      return "descripción de archivo abierto";
  }
  return "";
}

LockHolder::LockHolder(const std::filesystem::path& file, ForeignLock kind, bool exclusive) {
  // A share-mode holder lets nobody in when exclusive and lets others read and write when
  // shared (so that no other handle may be exclusive); a byte-range holder shares the file
  // and locks its bytes.
  const bool share_mode = kind != ForeignLock::kPosixRecord;
  const DWORD share = !share_mode ? (FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)
                      : exclusive ? 0
                                  : (FILE_SHARE_READ | FILE_SHARE_WRITE);
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return;
  if (!share_mode) {
    OVERLAPPED whole{};
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (!LockFileEx(handle, flags, 0, MAXDWORD, MAXDWORD, &whole)) {
      CloseHandle(handle);
      return;
    }
  }
  handle_ = handle;
  holding_ = true;
}

LockHolder::~LockHolder() {
  if (handle_ != nullptr) CloseHandle(static_cast<HANDLE>(handle_));
}

bool OtherProcessCanLock(const std::filesystem::path& file, ForeignLock kind, bool exclusive) {
  return LockHolder(file, kind, exclusive).holding();
}

}  // namespace zentrova::testing
