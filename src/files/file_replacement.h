#ifndef ZENTROVA_FILES_FILE_REPLACEMENT_H_
#define ZENTROVA_FILES_FILE_REPLACEMENT_H_

// The one way a file is replaced: the new bytes go to a temporary file beside the target,
// are flushed to the disk, and the temporary is renamed over the target, so that a reader,
// a crash or a full disk leaves the old file or the new one, never part of one.
//
// The temporary is the target's name followed by ".zentrova.tmp" (TemporaryOf). It is held
// with an exclusive lock while it exists, which keeps two runs from replacing one file at
// once, and what a killed run left under that name is taken over and removed; a link, a FIFO
// or a device node someone left there is removed (never followed), a folder is named in the
// message.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "files/file_error.h"
#include "files/locked_file.h"
#include "files/native_file.h"

namespace zentrova::files {

inline constexpr char kTemporarySuffix[] = ".zentrova.tmp";

// The temporary name of `target`, beside it: the target's name followed by kTemporarySuffix
// when that fits in a name of the folder (LongestNameIn), else the name's first characters,
// a dot, 16 hexadecimal digits that depend on the whole name, and kTemporarySuffix, as long
// as a name may be. The same target always gives the same temporary.
std::filesystem::path TemporaryOf(const std::filesystem::path& target);

// What to do when the folder takes no new file but the target itself can be written (a
// program folder where only the file was made writable for its users).
enum class WhenFolderRefuses { kFail, kRewriteInPlace };

class FileReplacement {
 public:
  // Takes the temporary name, and holds the target exclusively when it exists. Raises
  // files::Error naming the target, before anything is written, when its name is longer than
  // the folder takes, when another run is replacing it, when another program holds it, when
  // it is read-only, a folder or not a regular file, or when a folder stands at the
  // temporary name.
  explicit FileReplacement(std::filesystem::path target,
                           WhenFolderRefuses when_refused = WhenFolderRefuses::kFail);
  // Without Commit the temporary is removed and the target stays as it was.
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  const std::filesystem::path& target() const { return target_; }

  // Writes `bytes` to the disk and moves them into place; the folder is flushed too. Raises
  // files::Error naming the target (no space left, ...) with the target unchanged.
  void Commit(std::string_view bytes);

  // For a file written a piece at a time: Append adds `bytes` after what was appended before,
  // and Commit() moves all of it into place as Commit(bytes) does. Both raise files::Error
  // naming the target, which is then unchanged.
  void Append(std::string_view bytes);
  void Commit();

 private:
  void CommitInPlace(std::string_view bytes);
  [[noreturn]] void Fail(const std::string& reason) const;

  std::filesystem::path target_;
  std::filesystem::path temporary_path_;
  LockedFile temporary_;
  LockedFile held_target_;
  bool in_place_ = false;
  uint64_t appended_ = 0;       // bytes in the temporary
  std::string in_place_bytes_;  // what Append gathered for a file rewritten in place
};

// FileReplacement(target, when_refused).Commit(bytes).
void ReplaceFile(const std::filesystem::path& target, std::string_view bytes,
                 WhenFolderRefuses when_refused = WhenFolderRefuses::kFail);

// Holds `target` exclusively, after checking that it can be replaced or removed: not held
// by another program, not read-only, not a folder. Gives a closed file when `target` does
// not exist. Raises files::Error "No se puede reemplazar <what> <path>: <cause>.", where
// `what` names the kind of file ("la tabla").
LockedFile HoldForReplacing(const std::filesystem::path& target, std::string_view what);

// Removes `path`, which `held` holds (nothing when `held` is closed), and lets it go.
// Raises files::Error naming the file when it cannot be removed.
void RemoveHeldFile(LockedFile& held, const std::filesystem::path& path);

// Lets go of `held` before the file it holds is renamed over or removed, where the system
// refuses that while a handle keeps others from deleting the file (Windows); elsewhere
// keeps holding it, so that no other program takes the file in between. Whoever renames or
// removes a file held by a LockedFile calls this first.
void ReleaseBeforeRenaming(LockedFile& held);

// Renames `from` over `to` (same folder or same disk), replacing it. Gives the system's
// error code, 0 on success.
int MoveOver(const std::filesystem::path& from, const std::filesystem::path& to);

// Waits until the names of `folder` (renames, new and removed files) are on the disk.
void SyncFolder(const std::filesystem::path& folder);

// Whether creating a file failed with `status` and the system's code `error` in a way that
// says the folder takes no new file at all.
bool FolderTakesNoNewFile(OpenStatus status, int error);

// Removes what a killed run left at TemporaryOf(target), unless a run is writing it now, and
// whatever else is there but a folder.
void RemoveStaleTemporary(const std::filesystem::path& target);

// Clears `path`, one of the program's own names, of what the program never makes there: a
// link (removed, never followed), a FIFO, a device node, a socket, and when
// `empty_folder_too` an empty folder. Gives what is left there.
EntryKind ClearForeignEntry(const std::filesystem::path& path, bool empty_folder_too);

}  // namespace zentrova::files

#endif  // ZENTROVA_FILES_FILE_REPLACEMENT_H_
