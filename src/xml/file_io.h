#ifndef ZENTROVA_XML_FILE_IO_H_
#define ZENTROVA_XML_FILE_IO_H_

// Whole-file reads and replacing writes, with Spanish messages naming the file and the cause.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zentrova::xml {

// The largest document read: far more than any export of a school, far less than what would
// exhaust the memory once parsed.
inline constexpr uint64_t kMaxDocumentBytes = uint64_t{256} << 20;

// The whole file, checked to be a regular file first and never waited for (files::InputFile).
// Raises xml::Error "No se puede leer el archivo X: <cause>" when it cannot be read, is not a
// regular file or holds more than kMaxDocumentBytes bytes, or "El archivo X es demasiado
// grande para la memoria disponible." when its bytes do not fit in memory.
std::string ReadWholeFile(const std::filesystem::path& path);

// Replaces the file with the bytes (files::ReplaceFile): readers see the old file or the new
// one, never part of one. On failure xml::Error names the target and the cause.
void WriteReplacing(const std::filesystem::path& path, std::string_view bytes);

}  // namespace zentrova::xml

#endif  // ZENTROVA_XML_FILE_IO_H_
