#include "xml/file_io.h"

#include <new>

#include "files/file_error.h"
#include "files/file_replacement.h"
#include "files/input_file.h"
#include "xml/document.h"

namespace zentrova::xml {

std::string ReadWholeFile(const std::filesystem::path& path) {
  try {
    return files::ReadWholeFile(path, "el archivo", kMaxDocumentBytes);
  } catch (const files::Error& error) {
    throw Error(error.what());
  } catch (const std::bad_alloc&) {
    throw Error("El archivo " + files::PathForMessage(path) +
                " es demasiado grande para la memoria disponible.");
  }
}

void WriteReplacing(const std::filesystem::path& path, std::string_view bytes) {
  try {
    files::ReplaceFile(path, bytes);
  } catch (const files::Error& error) {
    throw Error(error.what());
  }
}

}  // namespace zentrova::xml
