#include "store/production_index.h"

#include <system_error>

#include "files/file_replacement.h"
#include "files/find_file.h"
#include "files/locked_file.h"
#include "store/file_names.h"
#include "store/mdx_key.h"
#include "store/mdx_reader.h"
#include "store/store_error.h"
#include "text/encoding.h"
#include "text/letter_case.h"

namespace zentrova::store {
namespace {

int FieldNamed(const TableHeader& header, std::string_view name) {
  for (size_t i = 0; i < header.fields.size(); ++i) {
    if (text::EqualsIgnoringCaseAZ(header.fields[i].info.name, name)) return static_cast<int>(i);
  }
  return -1;
}

// Why the tag's key does not match its field, or "".
std::string Mismatch(const MdxTag& tag, int field, const TableHeader& header) {
  if (field < 0) return "la clave de la etiqueta " + tag.name + " no es un campo de la tabla";
  const FieldInfo& info = header.fields[field].info;
  const bool numeric = info.type == 'N' || info.type == 'F';
  if (tag.key_type == 'N' && numeric && tag.key_length == 12) return "";
  if (tag.key_type == 'C' && info.type == 'C' && tag.key_length == info.width) return "";
  return "la clave de la etiqueta " + tag.name + " no corresponde al campo " + info.name;
}

// Only the pages that describe the tags are read, never the whole index.
MdxTags ReadTags(const std::filesystem::path& path) {
  files::LockedFile file;
  uint64_t size = 0;
  if (file.Open(path, files::LockKind::kShared) != files::OpenStatus::kOpened || !file.Size(size)) {
    Fail(path, "No se puede leer el índice %f.");
  }
  return ReadMdxTags(
      size,
      [&](uint64_t offset, size_t length) {
        std::string bytes;
        if (!file.ReadAt(offset, length, bytes)) Fail(path, "No se puede leer el índice %f.");
        return bytes;
      },
      path);
}

}  // namespace

void ProductionIndex::Load(const std::filesystem::path& table, const TableHeader& header) {
  table_ = table;
  active_ = false;
  const bool dbase = header.flavour == Flavour::kDbase || header.flavour == Flavour::kDbase7;
  if (!dbase || header.index_flag != 0x01) return;
  path_ =
      files::FindIgnoringCase(table.parent_path(), IndexFileName(text::PathUtf8(table.filename())));
  std::error_code error;
  if (!std::filesystem::is_regular_file(path_, error)) return;
  MdxTags tags = ReadTags(path_);
  index_ = std::move(tags.index);
  not_rebuildable_ = std::move(tags.not_rebuildable);
  fields_.clear();
  for (const MdxTag& tag : index_.tags) {
    fields_.push_back(FieldNamed(header, tag.expression));
    if (not_rebuildable_.empty()) not_rebuildable_ = Mismatch(tag, fields_.back(), header);
  }
  active_ = true;
}

void ProductionIndex::CheckRebuildable() const {
  if (!active_ || not_rebuildable_.empty()) return;
  Fail(path_, "No se puede mantener el índice %f (" + not_rebuildable_ + "): la tabla " +
                  PathForMessage(table_) + " no se ha modificado.");
}

void ProductionIndex::Rebuild(const TableHeader& header, std::string_view rows) {
  if (!active_) return;
  CheckRebuildable();
  const auto length = static_cast<size_t>(header.record_length);
  std::vector<std::vector<MdxKey>> keys(index_.tags.size());
  for (size_t t = 0; t < index_.tags.size(); ++t) {
    const FieldLayout& field = header.fields[fields_[t]];
    for (size_t r = 0; r * length < rows.size(); ++r) {
      keys[t].push_back(MdxKey{KeyOf(rows.substr(r * length, length), field, index_.tags[t]),
                               static_cast<uint32_t>(r + 1)});
    }
    ++index_.tags[t].change_counter;
  }
  index_.updated = Today();
  AsStoreError([&] { files::ReplaceFile(path_, BuildMdx(index_, std::move(keys))); });
}

MdxIndex NewIndex(const std::string& table_name, const TableHeader& header,
                  const std::vector<IndexDef>& indexes, Date today) {
  MdxIndex index;
  index.table_name = table_name;
  index.driver_id = header.driver_id;
  index.created = today;
  index.updated = today;
  for (const IndexDef& def : indexes) {
    const FieldInfo& info = header.fields[FieldNamed(header, def.field)].info;
    MdxTag tag;
    tag.name = text::UpperAZ(def.name);
    tag.expression = info.name;
    tag.key_type = info.type == 'C' ? 'C' : 'N';
    tag.key_length = info.type == 'C' ? info.width : kNumericKeyLength;
    tag.created = today;
    index.tags.push_back(tag);
  }
  return index;
}

std::string KeyOf(std::string_view record, const FieldLayout& field, const MdxTag& tag) {
  const std::string_view raw =
      record.substr(static_cast<size_t>(field.offset), static_cast<size_t>(field.info.width));
  return tag.key_type == 'N' ? NumericKey(raw) : std::string(raw);
}

}  // namespace zentrova::store
