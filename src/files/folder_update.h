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
//
// The folder is shared with other programs and people, so a journal found there is obeyed
// only when it is one this program could have written for this folder: it names only the
// files that an update of the folder may change (a fixed list, compared without regard to
// letter case), it is no larger than any journal written, and it carries the mark of the
// staging folder it was written for; every file it moves in is a regular file of its own (no
// link, no second name) inside a real staging folder. A journal that fails any of these is
// not carried out: it goes, with what the staging folder holds of this program's, and the old
// files stay as they were.

#include <cstdint>
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
// Inside the staging folder: the mark that ties it to its journal.
inline constexpr char kStagingMarkName[] = "ZENTROVA.ID";
// No journal is larger: a few hundred bytes name every file an update changes.
inline constexpr uint64_t kMaxJournalBytes = 16 * 1024;

// Whether `name` is one the program keeps for itself in a folder it updates (the lock, the
// journal, the staging folder, its mark, a temporary): no update may change such a file.
bool IsReservedName(std::string_view name);

// Completes the moves of an update whose journal is in the locked folder, and removes what
// an update that never reached its journal left (this program's files in the staging folder,
// a half-written journal). `names` are the only files an update of the folder may change.
// Raises UnfinishedUpdate when a move the journal asks for cannot be made now (it is tried
// again next time), files::Error naming the file when it can never be made (a folder stands
// where the file goes: the journal is then given up).
void FinishInterruptedUpdate(const FolderLock& lock, const std::vector<std::string>& names);

// A folder locked for a run (see FolderLock), with an interrupted update completed first:
// what a run that only reads the folder holds.
class LockedFolder {
 public:
  // `names`: the files an update of the folder may change. `noun` names the folder in
  // messages.
  LockedFolder(std::filesystem::path folder, std::vector<std::string> names,
               std::string_view noun = "la carpeta de intercambio");
  const std::filesystem::path& folder() const { return lock_.folder(); }

 private:
  FolderLock lock_;
};

class FolderUpdate {
 public:
  // Takes the folder's lock (see FolderLock), finishes an interrupted update and makes an
  // empty staging folder. `names` are the only files the update may change (none of them a
  // reserved name); `noun` names the folder in messages. Raises files::Error naming what
  // stands in the way: a folder with files at the journal's name or its temporary's, files
  // in the staging folder that are not this program's.
  FolderUpdate(std::filesystem::path folder, std::vector<std::string> names,
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

  std::vector<std::string> names_;
  LockedFolder locked_;
  std::string noun_;
  std::filesystem::path staging_;
  std::string mark_;                  // written into the staging folder and the journal
  std::map<std::string, Held> held_;  // by the name asked for, upper-cased
  bool committed_ = false;
};

}  // namespace zentrova::files

#endif  // ZENTROVA_FILES_FOLDER_UPDATE_H_
