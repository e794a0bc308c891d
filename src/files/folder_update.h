#ifndef ZENTROVA_FILES_FOLDER_UPDATE_H_
#define ZENTROVA_FILES_FOLDER_UPDATE_H_

// Several files of one folder replaced all at once or not at all.
//
// An update writes its new files under their final names into the staging folder
// ZENTROVA.NUEVO inside the folder (same disk, so that each one moves into place with a
// rename). Nothing in the folder itself changes until Commit: an error, a stop or a killed
// process before it leaves every old file as it was. Commit flushes the new files to the
// disk and writes the journal ZENTROVA.JNL, the list of moves and removals; from that moment
// the update counts as done, and a crash in the middle of the moves is completed by the
// next run that locks the folder, before it does anything else.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_error.h"
#include "files/folder_lock.h"
#include "files/locked_file.h"

namespace zentrova::files {

// Raised when an update failed after its journal was written: the folder is then partly
// changed, and the next run that locks it completes the update.
class UnfinishedUpdate : public Error {
 public:
  using Error::Error;
};

inline constexpr char kStagingFolderName[] = "ZENTROVA.NUEVO";
inline constexpr char kJournalName[] = "ZENTROVA.JNL";

// Completes the moves of an update whose journal is in the locked folder, and removes what
// an update that never reached its journal left (the staging folder, a half-written
// journal). Raises UnfinishedUpdate when a move the journal asks for cannot be made.
void FinishInterruptedUpdate(const FolderLock& lock);

// A folder locked for a run (see FolderLock), with an interrupted update completed first:
// what a run that only reads the folder holds.
class LockedFolder {
 public:
  // `noun` names the folder in messages.
  explicit LockedFolder(std::filesystem::path folder,
                        std::string_view noun = "la carpeta de intercambio");
  const std::filesystem::path& folder() const { return lock_.folder(); }

 private:
  FolderLock lock_;
};

class FolderUpdate {
 public:
  // Takes the folder's lock (see FolderLock), finishes an interrupted update and makes an
  // empty staging folder. `noun` names the folder in messages.
  explicit FolderUpdate(std::filesystem::path folder,
                        std::string_view noun = "la carpeta de intercambio");
  // Without Commit the staging folder is removed and the folder stays as it was.
  ~FolderUpdate();
  FolderUpdate(const FolderUpdate&) = delete;
  FolderUpdate& operator=(const FolderUpdate&) = delete;

  const std::filesystem::path& folder() const { return locked_.folder(); }
  // Where the new files are written, under their final names.
  const std::filesystem::path& staging() const { return staging_; }

  // Holds the folder's file `name` (found without regard to letter case) until the update
  // ends, after checking that it can be replaced or removed. Raises files::Error naming the
  // file when another program holds it, when it is read-only or a folder. A name that no
  // file has is not an error. `what` names the kind of file for messages ("la tabla").
  void Hold(std::string_view name, std::string_view what);

  // Moves each of `written` from the staging folder over the folder's file of that name
  // (an old file whose name differs only in letter case is removed), and removes each of
  // `removed` that exists. Every file it changes is held first, so a file that another
  // program took meanwhile stops the update before anything moves. Raises files::Error when
  // nothing has changed, UnfinishedUpdate when a move failed once the journal was written.
  void Commit(const std::vector<std::string>& written, const std::vector<std::string>& removed);

 private:
  struct Held {
    std::filesystem::path path;  // as found in the folder
    LockedFile file;
  };
  const Held& HoldIfNeeded(const std::string& name, std::string_view what);

  LockedFolder locked_;
  std::string noun_;
  std::filesystem::path staging_;
  std::map<std::string, Held> held_;  // by the name asked for, upper-cased
  bool committed_ = false;
};

}  // namespace zentrova::files

#endif  // ZENTROVA_FILES_FOLDER_UPDATE_H_
