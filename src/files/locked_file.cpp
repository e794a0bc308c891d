#include "files/locked_file.h"

#include <system_error>
#include <utility>

#include "files/file_error.h"
#include "files/input_file.h"

namespace zentrova::files {
namespace {

// A holder that removes or replaces the file between our open and our lock makes us try
// again; after this many tries the file is taken to be in use.
constexpr int kOpenAttempts = 50;

}  // namespace

bool LockedFile::FolderMissing(const std::filesystem::path& path) {
  std::error_code error;
  const auto folder = path.parent_path();
  return !folder.empty() && !std::filesystem::is_directory(folder, error);
}

LockedFile::~LockedFile() { Close(); }

LockedFile::LockedFile(LockedFile&& other) noexcept { *this = std::move(other); }

LockedFile& LockedFile::operator=(LockedFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, kNoHandle);
    writable_ = other.writable_;
    last_error_ = other.last_error_;
  }
  return *this;
}

bool LockedFile::is_open() const { return handle_ != kNoHandle; }

bool LockedFile::IsRegularOrMissing(const std::filesystem::path& path) {
  // A link that leads nowhere is missing to whoever opens it.
  found_kind_ = KindOfTarget(path);
  return found_kind_ == EntryKind::kFile || found_kind_ == EntryKind::kMissing ||
         found_kind_ == EntryKind::kLink;
}

bool LockedFile::KeepIfRegular() {
  found_kind_ = KindOfOpenFile(handle_);
  if (found_kind_ == EntryKind::kFile) return true;
  Close();
  return false;
}

OpenStatus LockedFile::Open(const std::filesystem::path& path, LockKind kind, bool create) {
  Close();
  // A link is never made or followed where a file is created; elsewhere only what it leads to
  // matters. Nothing but a regular file is opened: opening a device may do something.
  if (!create && !IsRegularOrMissing(path)) return OpenStatus::kNotRegular;
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    bool replaced = false;
    const OpenStatus status = OpenOnce(path, kind, create, replaced);
    if (replaced) continue;
    if (status == OpenStatus::kOpened && !KeepIfRegular()) return OpenStatus::kNotRegular;
    return status;
  }
  return OpenStatus::kHeld;
}

bool LockedFile::Size(uint64_t& size) {
  if (NativeSize(handle_, size)) return true;
  last_error_ = LastSystemError();
  return false;
}

bool LockedFile::ReadAt(uint64_t offset, size_t length, std::string& bytes) {
  bytes.assign(length, '\0');
  last_error_ = ReadExactly(handle_, offset, length, bytes.data());
  return last_error_ == 0;
}

}  // namespace zentrova::files
