#include "files/file_replacement.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <system_error>
#include <type_traits>
#include <utility>

#include "files/file_error.h"

namespace zentrova::files {

namespace {

// FNV-1a over the name's units: the same name gives the same digits in every run.
std::string NameDigits(const std::filesystem::path::string_type& name) {
  uint64_t hash = 14695981039346656037u;
  for (const auto unit : name) {
    hash = (hash ^ static_cast<uint64_t>(unit)) * 1099511628211u;
  }
  char digits[17];
  std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
  return digits;
}

// The first `length` units of a name, without cutting a character in two (a UTF-8 sequence
// on POSIX, a surrogate pair on Windows).
std::filesystem::path::string_type Cut(const std::filesystem::path::string_type& name,
                                       size_t length) {
  length = std::min(length, name.size());
  const auto continues = [](auto unit) {
    const auto value =
        static_cast<uint32_t>(static_cast<std::make_unsigned_t<decltype(unit)>>(unit));
    return sizeof(unit) == 1 ? (value & 0xC0) == 0x80 : value >= 0xDC00 && value <= 0xDFFF;
  };
  while (length > 0 && length < name.size() && continues(name[length])) --length;
  return name.substr(0, length);
}

}  // namespace

std::filesystem::path TemporaryOf(const std::filesystem::path& target) {
  const std::filesystem::path name = target.filename();
  std::filesystem::path plain = name;
  plain += kTemporarySuffix;
  const size_t longest = LongestNameIn(target.parent_path());
  if (NameLength(plain) <= longest) return target.parent_path() / plain;
  const std::string tail = "." + NameDigits(name.native()) + kTemporarySuffix;
  std::filesystem::path shortened =
      Cut(name.native(), longest > tail.size() ? longest - tail.size() : 0);
  shortened += tail;
  return target.parent_path() / shortened;
}

EntryKind ClearForeignEntry(const std::filesystem::path& path, bool empty_folder_too) {
  const EntryKind kind = InspectEntry(path).kind;
  std::error_code error;
  switch (kind) {
    case EntryKind::kLink:
    case EntryKind::kPipe:
    case EntryKind::kDevice:
    case EntryKind::kOther:
      // Removing a name removes only that name: a link's target, a device stay as they are.
      std::filesystem::remove(path, error);
      break;
    case EntryKind::kFolder:
      // remove() takes a folder only when it is empty.
      if (empty_folder_too) std::filesystem::remove(path, error);
      break;
    case EntryKind::kFile:
    case EntryKind::kMissing:
      return kind;
  }
  return InspectEntry(path).kind;
}

namespace {

bool IsFolder(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_directory(std::filesystem::symlink_status(path, error));
}

bool Exists(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

// Some writes stop short without an error code (a file larger than the system allows).
int WriteFailure(const LockedFile& file) {
  return file.last_error() != 0 ? file.last_error() : ShortWriteError();
}

// Holds `target` exclusively in `held`; the cause, as a phrase, when it cannot be replaced.
std::optional<std::string> TryHold(const std::filesystem::path& target, LockedFile& held) {
  if (!Exists(target)) return std::nullopt;
  if (IsFolder(target)) return "es una carpeta";
  switch (held.Open(target, LockKind::kExclusive)) {
    case OpenStatus::kNotRegular:
      return "no es un archivo normal, sino " + KindForMessage(held.found_kind());
    case OpenStatus::kOpened:
      return held.writable() ? std::nullopt : std::optional<std::string>("es de solo lectura");
    case OpenStatus::kHeld:
      return "está en uso por otro programa";
    case OpenStatus::kNoPermission:
      return "no hay permiso";
    case OpenStatus::kNotFound:
    case OpenStatus::kFolderMissing:
      return std::nullopt;  // gone meanwhile: nothing to hold
    case OpenStatus::kFailed:
      break;
  }
  return SystemReason(held.last_error());
}

}  // namespace

LockedFile HoldForReplacing(const std::filesystem::path& target, std::string_view what) {
  LockedFile held;
  if (auto cause = TryHold(target, held)) {
    throw Error("No se puede reemplazar " + std::string(what) + " " + PathForMessage(target) +
                ": " + *cause + ".");
  }
  return held;
}

FileReplacement::FileReplacement(std::filesystem::path target, WhenFolderRefuses when_refused)
    : target_(std::move(target)), temporary_path_(TemporaryOf(target_)) {
  if (NameLength(target_.filename()) > LongestNameIn(target_.parent_path())) {
    Fail("el nombre es demasiado largo");
  }
  // The target first: a temporary is made only when the target can be replaced, so nothing
  // is left behind when it cannot.
  if (auto cause = TryHold(target_, held_target_)) Fail(*cause);
  const bool folder_in_the_way =
      ClearForeignEntry(temporary_path_, /*empty_folder_too=*/false) == EntryKind::kFolder;
  const OpenStatus status = folder_in_the_way
                                ? OpenStatus::kNoPermission
                                : temporary_.Open(temporary_path_, LockKind::kExclusive, true);
  if (status == OpenStatus::kOpened) return;
  if (status == OpenStatus::kHeld) Fail("otra conversión lo está guardando en este momento");
  const int error = temporary_.last_error();
  in_place_ = when_refused == WhenFolderRefuses::kRewriteInPlace && held_target_.is_open() &&
              (folder_in_the_way || FolderTakesNoNewFile(status, error));
  if (in_place_) return;
  if (folder_in_the_way) {
    Fail("donde se escribe antes de ponerlo en su sitio, " + PathForMessage(temporary_path_) +
         ", hay una carpeta; muévala o bórrela y vuelva a intentarlo");
  }
  if (status == OpenStatus::kNotRegular) {
    Fail("donde se escribe antes de ponerlo en su sitio, " + PathForMessage(temporary_path_) +
         ", hay " + KindForMessage(temporary_.found_kind()));
  }
  if (status == OpenStatus::kFolderMissing) Fail("no existe la carpeta");
  Fail(SystemReason(error));
}

FileReplacement::~FileReplacement() {
  if (!temporary_.is_open()) return;
  std::error_code ignored;
  std::filesystem::remove(temporary_path_, ignored);  // the name goes before the lock
  temporary_.Close();
}

void FileReplacement::Fail(const std::string& reason) const {
  throw Error("No se puede guardar el archivo " + PathForMessage(target_) + ": " + reason + ".");
}

void FileReplacement::Commit(std::string_view bytes) {
  Append(bytes);
  Commit();
}

void FileReplacement::Append(std::string_view bytes) {
  if (in_place_) {
    in_place_bytes_.append(bytes);
    return;
  }
  // What a killed run left in the temporary goes at the first piece.
  if ((appended_ == 0 && !temporary_.Truncate(0)) || !temporary_.WriteAt(appended_, bytes)) {
    Fail(SystemReason(WriteFailure(temporary_)));
  }
  appended_ += bytes.size();
}

void FileReplacement::Commit() {
  if (in_place_) {
    CommitInPlace(in_place_bytes_);
    return;
  }
  if ((appended_ == 0 && !temporary_.Truncate(0)) || !temporary_.Sync()) {
    Fail(SystemReason(WriteFailure(temporary_)));
  }
  ReleaseBeforeRenaming(temporary_);
  ReleaseBeforeRenaming(held_target_);
  if (const int error = MoveOver(temporary_path_, target_); error != 0) Fail(SystemReason(error));
  temporary_.Close();
  held_target_.Close();
  SyncFolder(target_.parent_path());
}

// Not atomic: used only where the folder leaves no other way.
void FileReplacement::CommitInPlace(std::string_view bytes) {
  LockedFile& file = held_target_;
  if (!file.is_open()) Fail("la carpeta no admite archivos nuevos");
  if (!file.WriteAt(0, bytes) || !file.Truncate(bytes.size()) || !file.Sync()) {
    Fail(SystemReason(WriteFailure(file)));
  }
  file.Close();
}

void ReplaceFile(const std::filesystem::path& target, std::string_view bytes,
                 WhenFolderRefuses when_refused) {
  FileReplacement(target, when_refused).Commit(bytes);
}

void RemoveHeldFile(LockedFile& held, const std::filesystem::path& path) {
  if (!held.is_open()) return;
  ReleaseBeforeRenaming(held);
  std::error_code error;
  std::filesystem::remove(path, error);
  held.Close();
  if (error) {
    throw Error("No se puede borrar el archivo " + PathForMessage(path) + ": " +
                SystemReason(error) + ".");
  }
}

void RemoveStaleTemporary(const std::filesystem::path& target) {
  const std::filesystem::path temporary = TemporaryOf(target);
  if (ClearForeignEntry(temporary, /*empty_folder_too=*/false) != EntryKind::kFile) return;
  LockedFile stale;
  // Opened as our own temporaries are, so that it can be removed while it is held.
  if (stale.Open(temporary, LockKind::kExclusive, true) != OpenStatus::kOpened) return;
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
}

}  // namespace zentrova::files
