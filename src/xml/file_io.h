#ifndef ZENTROVA_XML_FILE_IO_H_
#define ZENTROVA_XML_FILE_IO_H_

// Whole-file reads and replacing writes, with Spanish messages naming the file and the cause.

#include <filesystem>
#include <string>
#include <string_view>

namespace zentrova::xml {

// Raises xml::Error "No se puede leer el archivo X: <cause>", or "El archivo X es demasiado
// grande para la memoria disponible." when its bytes do not fit in memory.
std::string ReadWholeFile(const std::filesystem::path& path);

// Replaces the file with the bytes (files::ReplaceFile): readers see the old file or the new
// one, never part of one. On failure xml::Error names the target and the cause.
void WriteReplacing(const std::filesystem::path& path, std::string_view bytes);

}  // namespace zentrova::xml

#endif  // ZENTROVA_XML_FILE_IO_H_
