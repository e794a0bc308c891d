#include "files/folder_lock.h"

#include <system_error>
#include <utility>

#include "files/file_error.h"
#include "text/letter_case.h"

namespace zentrova::files {

FolderLock::FolderLock(std::filesystem::path folder, std::string_view noun)
    : folder_(std::move(folder)) {
  const std::string name = std::string(noun) + " " + PathForMessage(folder_);
  std::error_code error;
  if (!std::filesystem::exists(folder_, error)) throw Error("No existe " + name + ".");
  if (!std::filesystem::is_directory(folder_, error)) {
    throw Error(text::UpperFirstAZ(name) + " no es una carpeta, sino un archivo.");
  }
  switch (file_.Open(folder_ / kFolderLockName, LockKind::kExclusive, /*create=*/true)) {
    case OpenStatus::kOpened:
      return;
    case OpenStatus::kHeld:
      throw Error(text::UpperFirstAZ(name) +
                  " está en uso por otra conversión. Espere a que termine y vuelva a intentarlo.");
    default:
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
