#include "files/file_error.h"

#include <cerrno>

#include "text/encoding.h"

namespace zentrova::files {

std::string ErrnoReason(int code) {
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

std::string PathForMessage(const std::filesystem::path& path) { return text::PathUtf8(path); }

std::string SystemReason(const std::error_code& error) {
  if (error.category() == std::generic_category()) return ErrnoReason(error.value());
  return SystemReason(error.value());
}

}  // namespace zentrova::files
