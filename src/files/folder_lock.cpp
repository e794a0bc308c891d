#include "files/folder_lock.h"

#include <system_error>
#include <utility>

#include "files/file_error.h"
#include "files/file_replacement.h"
#include "text/letter_case.h"

namespace zentrova::files {
namespace {

// What stands at the lock file's name and keeps the lock from being taken: the lock file is
// named, not the folder.
[[noreturn]] void FailOnLockFile(const std::string& folder, const std::filesystem::path& lock,
                                 const std::string& cause) {
  throw Error("No se puede bloquear " + folder + " para esta conversión: su archivo de bloqueo " +
              PathForMessage(lock) + " " + cause +
              ". Muévalo a otro sitio o bórrelo, y vuelva a intentarlo.");
}

}  // namespace

FolderLock::FolderLock(std::filesystem::path folder, std::string_view noun)
    : folder_(std::move(folder)) {
  const std::string name = std::string(noun) + " " + PathForMessage(folder_);
  std::error_code error;
  if (!std::filesystem::exists(folder_, error)) throw Error("No existe " + name + ".");
  if (!std::filesystem::is_directory(folder_, error)) {
    throw Error(text::UpperFirstAZ(name) + " no es una carpeta, sino un archivo.");
  }
  const std::filesystem::path lock = folder_ / kFolderLockName;
  const EntryKind found = ClearForeignEntry(lock, /*empty_folder_too=*/true);
  if (found == EntryKind::kFolder) FailOnLockFile(name, lock, "es una carpeta con archivos");
  switch (file_.Open(lock, LockKind::kExclusive, /*create=*/true)) {
    case OpenStatus::kOpened:
      return;
    case OpenStatus::kHeld:
      throw Error(text::UpperFirstAZ(name) +
                  " está en uso por otra conversión. Espere a que termine y vuelva a intentarlo.");
    case OpenStatus::kNotRegular:
      FailOnLockFile(name, lock,
                     "no es un archivo normal, sino " + KindForMessage(file_.found_kind()));
    default:
      // A lock file that is there but cannot be opened is the lock file's fault, not the
      // folder's.
      if (found == EntryKind::kFile) {
        FailOnLockFile(name, lock, "no se puede abrir (" + SystemReason(file_.last_error()) + ")");
      }
      throw Error("No se puede escribir en " + name + ": " + SystemReason(file_.last_error()) +
                  ".");
  }
}

// The name goes before the lock, so that no other run can take a lock on a file that is
// already on its way out (it would find the name gone and try again).
FolderLock::~FolderLock() {
  std::error_code ignored;
  std::filesystem::remove(folder_ / kFolderLockName, ignored);
  file_.Close();
}

}  // namespace zentrova::files
