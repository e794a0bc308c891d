#include "files/folder_update.h"

#include <cstdio>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <system_error>
#include <utility>

#include "files/file_error.h"
#include "files/file_replacement.h"
#include "files/find_file.h"
#include "files/input_file.h"
#include "files/native_file.h"
#include "text/encoding.h"
#include "text/letter_case.h"

namespace zentrova::files {
namespace {

constexpr char kJournalFirstLine[] = "ZENTROVA 2";
constexpr char kMarkLine[] = "CARPETA ";
constexpr char kJournalLastLine[] = "FIN";
constexpr char kMove[] = "MUEVE ";
constexpr char kRemove[] = "BORRA ";
// A mark is 32 hexadecimal digits.
constexpr uint64_t kMaxMarkBytes = 64;
constexpr char kFinishedNextTime[] =
    " La conversión se completará la próxima vez que se abra la carpeta.";

struct Operation {
  enum class Kind { kMove, kRemove };
  Kind kind;
  std::string name;  // a file of the folder, without any folder part
};

struct Journal {
  std::string mark;  // the staging folder's
  std::vector<Operation> operations;
};

// What carrying out a journal left undone: a step to try again next time, a step that can
// never be made.
struct Outcome {
  std::optional<std::string> retry;
  std::optional<std::string> never;
};

// The staging folder is tied to its journal by a random mark written into both, rather than
// by the folder's identity: a mark reads the same on every system and every file system (a
// folder's identity on Windows needs an open handle and is not kept by every file system),
// and a folder put in place of the staging folder, or a journal copied from elsewhere,
// cannot carry the same one.
std::string NewMark() {
  std::random_device random;
  std::string mark;
  for (int i = 0; i < 4; ++i) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(random()));
    mark += digits;
  }
  return mark;
}

bool IsOneOf(std::string_view name, const std::vector<std::string>& names) {
  for (const std::string& known : names) {
    if (text::EqualsIgnoringCaseAZ(name, known)) return true;
  }
  return false;
}

std::string EncodeJournal(const Journal& journal) {
  std::string text = std::string(kJournalFirstLine) + "\n" + kMarkLine + journal.mark + "\n";
  for (const Operation& operation : journal.operations) {
    text += (operation.kind == Operation::Kind::kMove ? kMove : kRemove) + operation.name + "\n";
  }
  return text + kJournalLastLine + "\n";
}

// Nothing when the text is not a whole journal of ours for a folder whose updates change only
// `names`: another program's, cut short, naming any other file, or with anything after its end.
std::optional<Journal> DecodeJournal(const std::string& text,
                                     const std::vector<std::string>& names) {
  std::istringstream lines(text);
  std::string line;
  if (!std::getline(lines, line) || line != kJournalFirstLine) return std::nullopt;
  Journal journal;
  if (!std::getline(lines, line) || !line.starts_with(kMarkLine)) return std::nullopt;
  journal.mark = line.substr(std::string_view(kMarkLine).size());
  if (journal.mark.empty()) return std::nullopt;
  while (std::getline(lines, line)) {
    if (line == kJournalLastLine) {
      if (lines.peek() != std::char_traits<char>::eof()) return std::nullopt;
      return journal;
    }
    const bool move = line.starts_with(kMove);
    if (!move && !line.starts_with(kRemove)) return std::nullopt;
    Operation operation{move ? Operation::Kind::kMove : Operation::Kind::kRemove,
                        line.substr(std::string_view(kMove).size())};
    if (!IsOneOf(operation.name, names) || IsReservedName(operation.name)) return std::nullopt;
    journal.operations.push_back(std::move(operation));
  }
  return std::nullopt;
}

// The journal's text; nothing when what is there cannot be one of ours (larger than any we
// write). Raises UnfinishedUpdate when it cannot be read now.
std::optional<std::string> ReadJournal(const std::filesystem::path& path) {
  std::optional<InputFile> file;
  try {
    file.emplace(path, "el diario");
  } catch (const Error& error) {
    throw UnfinishedUpdate(error.what() + std::string(kFinishedNextTime));
  }
  if (file->size() > kMaxJournalBytes) return std::nullopt;
  try {
    return file->ReadAll(kMaxJournalBytes);
  } catch (const Error&) {
    return std::nullopt;  // it grew past any journal of ours while it was read
  }
}

// A file of its own: regular, no link, no second name through which it could be another file.
// A file system that keeps no count of names gives 0.
bool IsOwnFile(const std::filesystem::path& path) {
  const Entry entry = InspectEntry(path);
  return entry.kind == EntryKind::kFile && entry.links <= 1;
}

// Whether `staging` is a real folder carrying the journal's mark, and every file the journal
// moves in from it is a file of its own there (or gone already, moved by a run that was
// killed).
bool StagingMatches(const std::filesystem::path& staging, const Journal& journal) {
  if (InspectEntry(staging).kind != EntryKind::kFolder) return false;
  const std::filesystem::path mark = staging / kStagingMarkName;
  if (!IsOwnFile(mark)) return false;
  try {
    if (ReadWholeFile(mark, "la marca", kMaxMarkBytes) != journal.mark) return false;
  } catch (const Error&) {
    return false;
  }
  for (const Operation& operation : journal.operations) {
    const std::filesystem::path source = staging / text::PathFromUtf8(operation.name);
    if (operation.kind == Operation::Kind::kMove &&
        InspectEntry(source).kind != EntryKind::kMissing && !IsOwnFile(source)) {
      return false;
    }
  }
  return true;
}

// On a disk that ignores letter case, an old file "proft.dbf" is the new "PROFT.DBF"
// itself: it is removed only when it is another file.
bool IsMovedFile(const std::filesystem::path& folder, const std::string& name,
                 const std::vector<Operation>& operations) {
  for (const Operation& operation : operations) {
    std::error_code error;
    if (operation.kind == Operation::Kind::kMove &&
        std::filesystem::equivalent(folder / text::PathFromUtf8(name),
                                    folder / text::PathFromUtf8(operation.name), error)) {
      return true;
    }
  }
  return false;
}

void Move(const std::filesystem::path& folder, const std::filesystem::path& staging,
          const Operation& operation, const std::function<void(const std::string&)>& before,
          Outcome& outcome) {
  const std::filesystem::path target = folder / text::PathFromUtf8(operation.name);
  const std::filesystem::path source = staging / text::PathFromUtf8(operation.name);
  if (InspectEntry(source).kind == EntryKind::kMissing) return;
  if (InspectEntry(target).kind == EntryKind::kFolder) {
    // Someone put a folder where the file goes: no later run could move it in either.
    if (!outcome.never) {
      outcome.never = "No se ha podido poner en su sitio el archivo " + PathForMessage(target) +
                      " de una conversión interrumpida: en su lugar hay una carpeta. El resto de "
                      "la conversión se ha completado; vuelva a convertir cuando haya quitado la "
                      "carpeta.";
    }
    return;
  }
  before(operation.name);
  // On a disk that ignores letter case an old "proft.dbf" is the target "PROFT.DBF" itself,
  // and moving over it would keep the old name (Windows keeps the name on the disk): it
  // goes first. The journal still moves the new file in if the run stops in between.
  const std::filesystem::path on_disk = FindIgnoringCase(folder, operation.name);
  std::error_code same_error;
  if (on_disk.filename() != target.filename() &&
      std::filesystem::equivalent(on_disk, target, same_error)) {
    before(text::PathUtf8(on_disk.filename()));
    std::error_code ignored;
    std::filesystem::remove(on_disk, ignored);
  }
  if (const int error = MoveOver(source, target); error != 0 && !outcome.retry) {
    outcome.retry = "No se puede poner en su sitio el archivo " + PathForMessage(target) + ": " +
                    SystemReason(error) + "." + kFinishedNextTime;
  }
}

void Remove(const std::filesystem::path& folder, const Operation& operation,
            const std::vector<Operation>& operations,
            const std::function<void(const std::string&)>& before, Outcome& outcome) {
  const std::filesystem::path target = folder / text::PathFromUtf8(operation.name);
  const EntryKind kind = InspectEntry(target).kind;
  // A folder under the name is nobody's old table: it stays.
  if (kind == EntryKind::kMissing || kind == EntryKind::kFolder ||
      IsMovedFile(folder, operation.name, operations)) {
    return;
  }
  before(operation.name);
  std::error_code error;
  if (!std::filesystem::remove(target, error) && error && !outcome.retry) {
    outcome.retry = "No se puede borrar el archivo " + PathForMessage(target) + ": " +
                    SystemReason(error) + "." + kFinishedNextTime;
  }
}

// Carries out the journal; every step may already have been done by a run that was killed.
// `before` is called with each name just before it changes. Every step is tried.
Outcome Apply(const std::filesystem::path& folder, const std::filesystem::path& staging,
              const std::vector<Operation>& operations,
              const std::function<void(const std::string&)>& before) {
  Outcome outcome;
  for (const Operation& operation : operations) {
    if (operation.kind == Operation::Kind::kMove) {
      Move(folder, staging, operation, before, outcome);
    } else {
      Remove(folder, operation, operations, before, outcome);
    }
  }
  SyncFolder(folder);
  return outcome;
}

// A name in the staging folder that this program puts there: one of the files an update
// writes, the mark, or the temporary of either.
bool IsStagedName(const std::filesystem::path& staging, const std::string& name,
                  const std::vector<std::string>& names) {
  if (IsOneOf(name, names) || text::EqualsIgnoringCaseAZ(name, kStagingMarkName)) return true;
  const auto is_temporary_of = [&](const std::string& of) {
    return text::PathUtf8(TemporaryOf(staging / text::PathFromUtf8(of)).filename()) == name;
  };
  if (is_temporary_of(kStagingMarkName)) return true;
  for (const std::string& known : names) {
    if (is_temporary_of(known)) return true;
  }
  return false;
}

// Removes the staging folder with what this program put in it; anything else in it stays,
// and the folder with it.
void ClearStaging(const std::filesystem::path& staging, const std::vector<std::string>& names) {
  std::error_code error;
  switch (InspectEntry(staging).kind) {
    case EntryKind::kMissing:
    case EntryKind::kFile:  // not ours: FolderUpdate names it
      return;
    case EntryKind::kFolder:
      break;
    default:
      // A link (never followed), a FIFO, ...: only the name goes.
      std::filesystem::remove(staging, error);
      return;
  }
  for (std::filesystem::directory_iterator it(staging, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = text::PathUtf8(it->path().filename());
    if (InspectEntry(it->path()).kind != EntryKind::kFolder && IsStagedName(staging, name, names)) {
      std::error_code ignored;
      std::filesystem::remove(it->path(), ignored);
    }
  }
  std::filesystem::remove(staging, error);  // only when nothing else is left in it
}

// Once the journal has been carried out, or when there is none or it is not ours: what is
// left goes, as far as it is this program's.
void RemoveLeftovers(const std::filesystem::path& folder, const std::vector<std::string>& names) {
  const std::filesystem::path journal = folder / kJournalName;
  if (ClearForeignEntry(journal, /*empty_folder_too=*/true) == EntryKind::kFile) {
    std::error_code ignored;
    std::filesystem::remove(journal, ignored);
  }
  RemoveStaleTemporary(journal);
  ClearStaging(folder / kStagingFolderName, names);
  SyncFolder(folder);
}

// What stands in the way of a new update once the leftovers are cleared, named with what to
// do, or "".
std::string InTheWay(const std::filesystem::path& folder, const std::string& noun) {
  const struct {
    std::filesystem::path path;
    const char* purpose;
  } names[] = {
      {folder / kJournalName, "su diario"},
      {TemporaryOf(folder / kJournalName), "escribir su diario"},
      {folder / kStagingFolderName, "escribir aparte los archivos nuevos"},
  };
  for (const auto& name : names) {
    const EntryKind kind = InspectEntry(name.path).kind;
    if (kind == EntryKind::kMissing) continue;
    const std::string what = kind == EntryKind::kFolder
                                 ? "una carpeta con archivos que Zentrova no ha puesto ahí"
                                 : KindForMessage(kind) + " que Zentrova no ha hecho";
    return "No se puede convertir en " + noun + " " + PathForMessage(folder) + ": " +
           PathForMessage(name.path) + " es " + what + ", y Zentrova necesita ese nombre para " +
           name.purpose + ". Muévalo a otro sitio o bórrelo, y vuelva a intentarlo.";
  }
  return "";
}

}  // namespace

bool IsReservedName(std::string_view name) {
  for (const char* reserved :
       {kFolderLockName, kJournalName, kStagingFolderName, kStagingMarkName}) {
    if (text::EqualsIgnoringCaseAZ(name, reserved)) return true;
  }
  const std::string upper = text::UpperAZ(std::string(name));
  return upper.ends_with(text::UpperAZ(kTemporarySuffix));
}

void FinishInterruptedUpdate(const FolderLock& lock, const std::vector<std::string>& names) {
  const std::filesystem::path& folder = lock.folder();
  const std::filesystem::path journal_path = folder / kJournalName;
  const std::filesystem::path staging = folder / kStagingFolderName;
  std::optional<Journal> journal;
  if (InspectEntry(journal_path).kind == EntryKind::kFile) {
    if (const std::optional<std::string> text = ReadJournal(journal_path)) {
      journal = DecodeJournal(*text, names);
    }
  }
  Outcome outcome;
  if (journal && StagingMatches(staging, *journal)) {
    outcome = Apply(folder, staging, journal->operations, [](const std::string&) {});
    if (outcome.retry) throw UnfinishedUpdate(*outcome.retry);
  }
  // A journal that is not ours is not followed: it goes with the staging folder, and the old
  // files stay as they are.
  RemoveLeftovers(folder, names);
  if (outcome.never) throw Error(*outcome.never);
}

LockedFolder::LockedFolder(std::filesystem::path folder, std::vector<std::string> names,
                           std::string_view noun)
    : lock_(std::move(folder), noun) {
  FinishInterruptedUpdate(lock_, names);
}

namespace {

// `names`, refused before the folder is locked when one of them is the program's own.
std::vector<std::string> UpdatableNames(std::vector<std::string> names,
                                        const std::filesystem::path& folder) {
  for (const std::string& name : names) {
    if (IsReservedName(name)) {
      throw Error("No se puede guardar el archivo " +
                  PathForMessage(folder / text::PathFromUtf8(name)) +
                  ": Zentrova usa ese nombre para sí. Elija otro nombre.");
    }
  }
  return names;
}

}  // namespace

FolderUpdate::FolderUpdate(std::filesystem::path folder, std::vector<std::string> names,
                           std::string_view noun)
    : names_(UpdatableNames(std::move(names), folder)),
      locked_(std::move(folder), names_, noun),
      noun_(noun),
      staging_(locked_.folder() / kStagingFolderName) {
  if (const std::string in_the_way = InTheWay(locked_.folder(), noun_); !in_the_way.empty()) {
    throw Error(in_the_way);
  }
  std::error_code error;
  if (!std::filesystem::create_directory(staging_, error)) {
    throw Error("No se puede escribir en " + noun_ + " " + PathForMessage(locked_.folder()) + ": " +
                SystemReason(error) + ".");
  }
  mark_ = NewMark();
  ReplaceFile(staging_ / kStagingMarkName, mark_);
}

FolderUpdate::~FolderUpdate() {
  if (committed_) return;
  ClearStaging(staging_, names_);
}

const FolderUpdate::Held& FolderUpdate::HoldIfNeeded(const std::string& name,
                                                     std::string_view what) {
  const std::string key = text::UpperAZ(name);
  if (const auto found = held_.find(key); found != held_.end()) return found->second;
  const std::filesystem::path path = FindIgnoringCase(locked_.folder(), name);
  LockedFile file = HoldForReplacing(path, what);
  return held_.emplace(key, Held{path, std::move(file)}).first->second;
}

void FolderUpdate::Hold(std::string_view name, std::string_view what) {
  HoldIfNeeded(std::string(name), what);
}

void FolderUpdate::Commit(const std::vector<std::string>& written,
                          const std::vector<std::string>& removed) {
  Journal journal{mark_, {}};
  std::vector<Operation>& operations = journal.operations;
  for (const std::string& name : written) {
    const Held& old = HoldIfNeeded(name, "el archivo");
    const std::filesystem::path source = staging_ / text::PathFromUtf8(name);
    LockedFile staged;
    if (staged.Open(source, LockKind::kExclusive) != OpenStatus::kOpened || !staged.Sync()) {
      throw Error("No se puede terminar de escribir el archivo " + PathForMessage(source) + ": " +
                  SystemReason(staged.last_error()) + ".");
    }
    operations.push_back({Operation::Kind::kMove, name});
    if (old.file.is_open() && text::PathUtf8(old.path.filename()) != name) {
      operations.push_back({Operation::Kind::kRemove, text::PathUtf8(old.path.filename())});
    }
  }
  for (const std::string& name : removed) {
    const Held& old = HoldIfNeeded(name, "el archivo");
    if (old.file.is_open()) {
      operations.push_back({Operation::Kind::kRemove, text::PathUtf8(old.path.filename())});
    }
  }
  SyncFolder(staging_);
  // The journal is written only when the next run would carry it out.
  const std::string text = EncodeJournal(journal);
  if (!DecodeJournal(text, names_) || !StagingMatches(staging_, journal)) {
    throw Error("No se pueden poner en su sitio los archivos nuevos de " +
                PathForMessage(staging_) + ": la carpeta ha cambiado mientras se escribían.");
  }
  ReplaceFile(locked_.folder() / kJournalName, text);
  committed_ = true;

  const Outcome outcome =
      Apply(locked_.folder(), staging_, operations, [this](const std::string& name) {
        // Held under the upper-case name: where names ignore letter case, "PROFT.DBF" moved in
        // replaces the held "proft.dbf".
        if (const auto found = held_.find(text::UpperAZ(name)); found != held_.end()) {
          ReleaseBeforeRenaming(found->second.file);
        }
      });
  if (outcome.retry) throw UnfinishedUpdate(*outcome.retry);
  RemoveLeftovers(locked_.folder(), names_);
  held_.clear();
  if (outcome.never) throw Error(*outcome.never);
}

}  // namespace zentrova::files
