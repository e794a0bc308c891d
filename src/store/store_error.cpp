#include "store/store_error.h"

#include <cerrno>
#include <cstring>

#include "text/encoding.h"

namespace zentrova::store {

std::string PathForMessage(const std::filesystem::path& path) {
  return text::Utf16ToUtf8(text::PathText(path));
}

void Fail(const std::filesystem::path& file, std::string_view message) {
  const std::string name = PathForMessage(file);
  std::string out;
  for (size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '%' && i + 1 < message.size() && message[i + 1] == 'f') {
      out += name;
      ++i;
    } else {
      out += message[i];
    }
  }
  throw Error(out);
}

std::string SystemReason(int error_number) {
  switch (error_number) {
    case ENOENT:
      return "no existe";
    case EACCES:
    case EPERM:
      return "no hay permiso";
    case EROFS:
      return "el disco es de solo lectura";
    case ENOSPC:
      return "no queda espacio en el disco";
    case EISDIR:
      return "es una carpeta";
    case ENOTDIR:
      return "una parte de la ruta no es una carpeta";
    default:
      return std::string("error del sistema: ") + std::strerror(error_number);
  }
}

}  // namespace zentrova::store
