#include "files/native_file.h"

namespace zentrova::files {

std::string KindForMessage(EntryKind kind) {
  switch (kind) {
    case EntryKind::kMissing:
      return "nada";
    case EntryKind::kFile:
      return "un archivo";
    case EntryKind::kFolder:
      return "una carpeta";
    case EntryKind::kLink:
      return "un enlace simbólico";
    case EntryKind::kPipe:
      return "una tubería (FIFO)";
    case EntryKind::kDevice:
      return "un dispositivo";
    case EntryKind::kOther:
      break;
  }
  return "una entrada especial del sistema";
}

size_t NameLength(const std::filesystem::path& name) { return name.native().size(); }

}  // namespace zentrova::files
