#include "files/folder_update.h"

#include <functional>
#include <optional>
#include <sstream>
#include <system_error>
#include <utility>

#include "files/file_error.h"
#include "files/file_replacement.h"
#include "files/find_file.h"
#include "text/encoding.h"
#include "text/letter_case.h"

namespace zentrova::files {
namespace {

constexpr char kJournalFirstLine[] = "ZENTROVA 1";
constexpr char kJournalLastLine[] = "FIN";
constexpr char kMove[] = "MUEVE ";
constexpr char kRemove[] = "BORRA ";

struct Operation {
  enum class Kind { kMove, kRemove };
  Kind kind;
  std::string name;  // a file of the folder, without any folder part
};

std::string EncodeJournal(const std::vector<Operation>& operations) {
  std::string text = std::string(kJournalFirstLine) + "\n";
  for (const Operation& operation : operations) {
    text += (operation.kind == Operation::Kind::kMove ? kMove : kRemove) + operation.name + "\n";
  }
  return text + kJournalLastLine + "\n";
}

// A journal names files of the folder only: anything else (a path, "..") is not ours.
bool IsPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\:") == std::string::npos;
}

// Nothing when the text is not a whole journal of ours.
std::optional<std::vector<Operation>> DecodeJournal(const std::string& text) {
  std::istringstream lines(text);
  std::string line;
  if (!std::getline(lines, line) || line != kJournalFirstLine) return std::nullopt;
  std::vector<Operation> operations;
  while (std::getline(lines, line)) {
    if (line == kJournalLastLine) return operations;
    const bool move = line.rfind(kMove, 0) == 0;
    if (!move && line.rfind(kRemove, 0) != 0) return std::nullopt;
    Operation operation{move ? Operation::Kind::kMove : Operation::Kind::kRemove,
                        line.substr(std::string_view(kMove).size())};
    if (!IsPlainName(operation.name)) return std::nullopt;
    operations.push_back(std::move(operation));
  }
  return std::nullopt;
}

bool Exists(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

std::string ReadJournal(const std::filesystem::path& path) {
  LockedFile file;
  std::string bytes;
  if (file.Open(path, LockKind::kExclusive) != OpenStatus::kOpened || !file.ReadAll(bytes)) {
    throw UnfinishedUpdate("No se puede leer el diario " + PathForMessage(path) +
                           " de una conversión interrumpida: " + SystemReason(file.last_error()) +
                           ".");
  }
  return bytes;
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

// Carries out the journal; every step may already have been done by a run that was killed.
// `before` is called with each name just before it changes. Every step is tried; the first
// failure is raised afterwards, and the journal stays for the next run.
void Apply(const std::filesystem::path& folder, const std::filesystem::path& staging,
           const std::vector<Operation>& operations,
           const std::function<void(const std::string&)>& before) {
  std::optional<UnfinishedUpdate> failure;
  for (const Operation& operation : operations) {
    const std::filesystem::path target = folder / text::PathFromUtf8(operation.name);
    if (operation.kind == Operation::Kind::kMove) {
      const std::filesystem::path source = staging / text::PathFromUtf8(operation.name);
      if (!Exists(source)) continue;
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
      if (const int error = MoveOver(source, target); error != 0 && !failure) {
        failure.emplace("No se puede poner en su sitio el archivo " + PathForMessage(target) +
                        ": " + SystemReason(error) +
                        ". La conversión se completará la próxima vez que se abra la carpeta.");
      }
    } else if (Exists(target) && !IsMovedFile(folder, operation.name, operations)) {
      before(operation.name);
      std::error_code error;
      if (!std::filesystem::remove(target, error) && error && !failure) {
        failure.emplace("No se puede borrar el archivo " + PathForMessage(target) + ": " +
                        SystemReason(error) +
                        ". La conversión se completará la próxima vez que se abra la carpeta.");
      }
    }
  }
  SyncFolder(folder);
  if (failure) throw *failure;
}

// Once the journal has been carried out, or when there is none: what is left goes.
void RemoveLeftovers(const std::filesystem::path& folder) {
  std::error_code ignored;
  std::filesystem::remove(folder / kJournalName, ignored);
  RemoveStaleTemporary(folder / kJournalName);
  std::filesystem::remove_all(folder / kStagingFolderName, ignored);
  SyncFolder(folder);
}

}  // namespace

void FinishInterruptedUpdate(const FolderLock& lock) {
  const std::filesystem::path& folder = lock.folder();
  const std::filesystem::path journal = folder / kJournalName;
  if (Exists(journal)) {
    // A journal is written whole or not at all, so one that does not read is not ours.
    if (const auto operations = DecodeJournal(ReadJournal(journal))) {
      Apply(folder, folder / kStagingFolderName, *operations, [](const std::string&) {});
    }
  }
  RemoveLeftovers(folder);
}

LockedFolder::LockedFolder(std::filesystem::path folder, std::string_view noun)
    : lock_(std::move(folder), noun) {
  FinishInterruptedUpdate(lock_);
}

FolderUpdate::FolderUpdate(std::filesystem::path folder, std::string_view noun)
    : locked_(std::move(folder), noun),
      noun_(noun),
      staging_(locked_.folder() / kStagingFolderName) {
  std::error_code error;
  if (!std::filesystem::create_directory(staging_, error)) {
    throw Error("No se puede escribir en " + noun_ + " " + PathForMessage(locked_.folder()) + ": " +
                SystemReason(error) + ".");
  }
}

FolderUpdate::~FolderUpdate() {
  if (committed_) return;
  std::error_code ignored;
  std::filesystem::remove_all(staging_, ignored);
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
  std::vector<Operation> operations;
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
  ReplaceFile(locked_.folder() / kJournalName, EncodeJournal(operations));
  committed_ = true;

  Apply(locked_.folder(), staging_, operations, [this](const std::string& name) {
#ifdef _WIN32
    // Windows replaces or removes a file only when no handle keeps others from deleting it.
    // Its names ignore letter case: "PROFT.DBF" moved in replaces the held "proft.dbf".
    if (const auto found = held_.find(text::UpperAZ(name)); found != held_.end()) {
      found->second.file.Close();
    }
#else
    (void)name;
    (void)this;
#endif
  });
  RemoveLeftovers(locked_.folder());
  held_.clear();
}

}  // namespace zentrova::files
