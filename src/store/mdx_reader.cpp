#include "store/mdx_reader.h"

#include <cstdint>
#include <string>

#include "store/byte_order.h"
#include "store/store_error.h"
#include "text/clipper.h"

namespace zentrova::store {
namespace {

constexpr size_t kPage = 512;
constexpr size_t kTagTable = 544;
constexpr size_t kTagEntry = 32;
constexpr size_t kMaxTags = 47;
// The file header and the tag table fill the first four pages; tag headers come after them.
constexpr uint64_t kFirstTagHeader = 4 * kPage;

Date DateAt(std::string_view bytes, size_t at) {
  return Date{1900 + static_cast<unsigned char>(bytes[at]),
              static_cast<unsigned char>(bytes[at + 1]), static_cast<unsigned char>(bytes[at + 2])};
}

std::string CString(std::string_view bytes) {
  return std::string(text::AllTrim(bytes.substr(0, bytes.find('\0'))));
}

bool IsPlainName(const std::string& expression) {
  if (expression.empty()) return false;
  for (char ch : expression) {
    const bool ok = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') ||
                    (ch >= '0' && ch <= '9') || ch == '_';
    if (!ok) return false;
  }
  return true;
}

// Why a tag header describes a tag we do not rebuild, or "" when we do.
std::string Unsupported(std::string_view header, const MdxTag& tag) {
  const auto format = static_cast<unsigned char>(header[8]);
  if ((format & 0x08) != 0) return "la etiqueta " + tag.name + " es descendente";
  if ((format & 0x60) != 0 || header[23] != 0) return "la etiqueta " + tag.name + " es única";
  if (header[245] != 0) return "la etiqueta " + tag.name + " tiene filtro";
  if (tag.key_type != 'N' && tag.key_type != 'C') {
    return "la etiqueta " + tag.name + " tiene clave de tipo " + std::string(1, tag.key_type);
  }
  if (!IsPlainName(tag.expression)) {
    return "la clave de la etiqueta " + tag.name + " (" + tag.expression + ") no es un campo";
  }
  return "";
}

}  // namespace

MdxTags ReadMdxTags(uint64_t file_size, const MdxBytes& read, const std::filesystem::path& file) {
  const std::string first = file_size < kFirstTagHeader ? std::string() : read(0, kFirstTagHeader);
  if (first.size() < kFirstTagHeader || first[0] != 0x02) {
    Fail(file, "El índice %f está dañado: no es un índice de producción dBASE.");
  }
  const std::string_view bytes = first;
  MdxTags result;
  MdxIndex& index = result.index;
  index.created = DateAt(bytes, 1);
  index.updated = DateAt(bytes, 44);
  index.table_name = CString(bytes.substr(4, 16));
  index.driver_id = static_cast<uint8_t>(bytes[31]);
  const size_t count = GetLittle(bytes, 28, 2);
  if (count > kMaxTags) {
    Fail(file, "El índice %f está dañado: anuncia " + std::to_string(count) +
                   " etiquetas y solo caben " + std::to_string(kMaxTags) + ".");
  }
  for (size_t i = 0; i < count; ++i) {
    const size_t entry = kTagTable + kTagEntry * i;
    // In 64 bits, so that no page number wraps round into the file.
    const uint64_t header_at = GetLittle(bytes, entry, 4) * uint64_t{kPage};
    if (header_at < kFirstTagHeader || header_at + kPage > file_size) {
      Fail(file, "El índice %f está dañado: la etiqueta " + std::to_string(i + 1) +
                     " apunta a la página " + std::to_string(header_at / kPage) +
                     ", fuera de las que puede ocupar en un archivo de " +
                     std::to_string(file_size) + " bytes.");
    }
    const std::string page = read(header_at, kPage);
    const std::string_view header = page;
    MdxTag tag;
    tag.name = CString(bytes.substr(entry + 4, 11));
    tag.key_type = header[9];
    tag.key_length = static_cast<int>(GetLittle(header, 12, 2));
    tag.expression = CString(header.substr(24, 220));
    tag.change_counter = static_cast<uint8_t>(header[20]);
    tag.created = DateAt(header, 257);
    if (result.not_rebuildable.empty()) result.not_rebuildable = Unsupported(header, tag);
    index.tags.push_back(tag);
  }
  return result;
}

MdxTags ReadMdxTags(std::string_view bytes, const std::filesystem::path& file) {
  return ReadMdxTags(
      bytes.size(),
      [bytes](uint64_t offset, size_t length) {
        return std::string(bytes.substr(static_cast<size_t>(offset), length));
      },
      file);
}

}  // namespace zentrova::store
