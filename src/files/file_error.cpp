#include "files/file_error.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#endif

#include "text/encoding.h"

namespace zentrova::files {
namespace {

// errno values, as POSIX and the C library of every system give them.
std::string ReasonOfErrno(int code) {
  switch (code) {
    case ENOENT:
      return "no existe";
    case EACCES:
    case EPERM:
      return "no hay permiso";
    case EROFS:
      return "el disco es de solo lectura";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return "no queda espacio en el disco";
    case EFBIG:
      return "el archivo supera el tamaño que admite el sistema";
    case EISDIR:
      return "es una carpeta";
    case ENOTDIR:
      return "una parte de la ruta no es una carpeta";
    case EEXIST:
      return "ya existe";
    case ENOTEMPTY:
      return "la carpeta no está vacía";
    case EBUSY:
    case ETXTBSY:
    case EAGAIN:
      return "está en uso";
    case ENAMETOOLONG:
      return "el nombre es demasiado largo";
    case ELOOP:
      return "es un enlace simbólico";
    case EMFILE:
    case ENFILE:
      return "hay demasiados archivos abiertos";
    case ENOMEM:
      return "no hay memoria suficiente";
    case EIO:
      return "error de lectura o escritura en el disco";
    case EXDEV:
      return "está en otro disco";
    case EINVAL:
      return "el nombre o la operación no son válidos";
    default:
      return "error del sistema número " + std::to_string(code);
  }
}

#ifdef _WIN32
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
#endif

}  // namespace

std::string PathForMessage(const std::filesystem::path& path) { return text::PathUtf8(path); }

int LastSystemError() {
#ifdef _WIN32
  return static_cast<int>(GetLastError());
#else
  return errno;
#endif
}

std::string SystemReason(int native_code) {
#ifdef _WIN32
  return ReasonOfWindowsError(native_code);
#else
  return ReasonOfErrno(native_code);
#endif
}

std::string SystemReason(const std::error_code& error) {
  if (error.category() == std::generic_category()) return ReasonOfErrno(error.value());
  return SystemReason(error.value());
}

}  // namespace zentrova::files
