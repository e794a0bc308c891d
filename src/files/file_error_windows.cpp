// The system's reasons on Windows.
//
// Traps of this system:
// - A failed call's code is GetLastError(), which the next call may overwrite; errno is the
//   C library's and says nothing about a Windows call.
// - The standard library reports Windows' codes in the system category and the C library's
//   in the generic one: the same number means different things in each.

#include <windows.h>

#include "files/file_error.h"

namespace zentrova::files {
namespace {

std::string ReasonOfWindowsError(int code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
      return "no existe";
    case ERROR_ACCESS_DENIED:
      return "no hay permiso";
    case ERROR_WRITE_PROTECT:
      return "el disco es de solo lectura";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return "no queda espacio en el disco";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return "está en uso por otro programa";
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return "ya existe";
    case ERROR_DIRECTORY:
      return "no es una carpeta";
    case ERROR_DIR_NOT_EMPTY:
      return "la carpeta no está vacía";
    case ERROR_FILENAME_EXCED_RANGE:
      return "el nombre es demasiado largo";
    case ERROR_INVALID_NAME:
      return "el nombre no es válido";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return "no hay memoria suficiente";
    case ERROR_TOO_MANY_OPEN_FILES:
      return "hay demasiados archivos abiertos";
    case ERROR_NOT_READY:
      return "el disco no está preparado";
    case ERROR_NOT_SAME_DEVICE:
      return "está en otro disco";
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
      return "error de lectura o escritura en el disco";
    default:
      return "error del sistema número " + std::to_string(code);
  }
}
}  // namespace

int LastSystemError() { return static_cast<int>(GetLastError()); }

std::string SystemReason(int native_code) { return ReasonOfWindowsError(native_code); }

}  // namespace zentrova::files
