#include "store/atomic_file.h"

#include <cerrno>
#include <fstream>
#include <system_error>

#include "store/store_error.h"

namespace zentrova::store {

void ReplaceFile(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      const int reason = errno;
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      Fail(path, "No se puede escribir el archivo %f: " + SystemReason(reason) + ".");
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    Fail(path, "No se puede reemplazar el archivo %f: " + SystemReason(error.value()) + ".");
  }
}

}  // namespace zentrova::store
