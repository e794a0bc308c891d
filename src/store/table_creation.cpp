#include "store/table_creation.h"

#include <set>
#include <system_error>

#include "files/file_replacement.h"
#include "files/find_file.h"
#include "files/locked_file.h"
#include "store/dbf_header.h"
#include "store/file_names.h"
#include "store/mdx_writer.h"
#include "store/production_index.h"
#include "store/store_error.h"
#include "text/encoding.h"
#include "text/letter_case.h"

namespace zentrova::store {
namespace {

bool IsFieldName(const std::string& name, size_t longest) {
  if (name.empty() || name.size() > longest) return false;
  if (!(name[0] >= 'A' && name[0] <= 'Z')) return false;
  for (char ch : name) {
    if (!((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_')) return false;
  }
  return true;
}

void CheckFields(const std::filesystem::path& path, const std::vector<FieldDef>& fields,
                 Level level) {
  if (fields.empty()) Fail(path, "No se puede crear la tabla %f: no tiene campos.");
  const size_t longest = level == Level::kDbase7 ? 31 : 10;
  std::set<std::string> names;
  for (const FieldDef& def : fields) {
    const std::string name = text::UpperAZ(def.name);
    if (!IsFieldName(name, longest)) {
      Fail(path, "No se puede crear la tabla %f: el nombre de campo '" + def.name +
                     "' no es válido (letras, cifras y _, hasta " + std::to_string(longest) +
                     " caracteres).");
    }
    if (!names.insert(name).second) {
      Fail(path, "No se puede crear la tabla %f: el campo " + name + " está repetido.");
    }
    if (def.kind == FieldKind::kText && (def.width < 1 || def.width > 254)) {
      Fail(path, "No se puede crear la tabla %f: la anchura del campo " + name + " (" +
                     std::to_string(def.width) + ") no está entre 1 y 254.");
    }
  }
}

void CheckIndexes(const std::filesystem::path& path, const std::vector<FieldDef>& fields,
                  const std::vector<IndexDef>& indexes, Level level) {
  if (indexes.empty()) return;
  if (level == Level::kDbase7) {
    Fail(path, "No se puede crear la tabla %f: una tabla de nivel 7 no lleva índice.");
  }
  if (indexes.size() > 47) Fail(path, "No se puede crear la tabla %f: más de 47 índices.");
  std::set<std::string> names;
  for (const IndexDef& def : indexes) {
    const std::string name = text::UpperAZ(def.name);
    if (!IsFieldName(name, 10) || !names.insert(name).second) {
      Fail(path, "No se puede crear la tabla %f: el nombre de índice '" + def.name +
                     "' no es válido o está repetido.");
    }
    const FieldDef* keyed = nullptr;
    for (const FieldDef& field : fields) {
      if (text::UpperAZ(field.name) == text::UpperAZ(def.field)) keyed = &field;
    }
    if (keyed == nullptr || keyed->kind == FieldKind::kLogical || keyed->width > 100) {
      Fail(path, "No se puede crear la tabla %f: el índice " + name +
                     " no se puede poner en "
                     "el campo '" +
                     def.field + "'.");
    }
  }
}

TableHeader HeaderFor(const std::vector<FieldDef>& fields, const std::vector<IndexDef>& indexes,
                      Level level, Date today) {
  std::vector<FieldInfo> infos;
  for (const FieldDef& def : fields) infos.push_back(StoredField(def, level));
  TableHeader header =
      NewHeader(level == Level::kDbase7 ? Flavour::kDbase7 : Flavour::kDbase, infos, today);
  header.index_flag = indexes.empty() ? 0 : 1;
  for (FieldLayout& field : header.fields) {
    for (const IndexDef& def : indexes) {
      if (text::UpperAZ(def.field) == field.info.name) field.indexed = true;
    }
  }
  return header;
}

}  // namespace

FieldInfo StoredField(const FieldDef& def, Level level) {
  FieldInfo info;
  info.name = text::UpperAZ(def.name);
  switch (def.kind) {
    case FieldKind::kText:
      info.type = 'C';
      info.width = def.width;
      break;
    case FieldKind::kWholeNumber:
      info.type = level == Level::kDbase7 ? 'I' : 'N';
      info.width = level == Level::kDbase7 ? 4 : 11;
      break;
    case FieldKind::kFloat:
      info.type = 'N';
      info.width = 20;
      info.decimals = 4;
      break;
    case FieldKind::kLogical:
      info.type = 'L';
      info.width = 1;
      break;
  }
  return info;
}

void CreateTableFiles(const std::filesystem::path& folder, const std::string& file_name,
                      const std::vector<FieldDef>& fields, const std::vector<IndexDef>& indexes,
                      Level level) {
  const std::filesystem::path path = folder / text::PathFromUtf8(file_name);
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) {
    Fail(path,
         "No se puede crear la tabla %f: no existe la carpeta " + PathForMessage(folder) + ".");
  }
  CheckFields(path, fields, level);
  CheckIndexes(path, fields, indexes, level);
  const Date today = Today();
  const TableHeader header = HeaderFor(fields, indexes, level, today);
  const std::filesystem::path old_table = files::FindIgnoringCase(folder, file_name);
  const std::filesystem::path old_index = files::FindIgnoringCase(folder, IndexFileName(file_name));
  const std::filesystem::path index = folder / text::PathFromUtf8(IndexFileName(file_name));
  AsStoreError([&] {
    // Every old file that goes is held before the first one changes. An old file whose name
    // differs from the new one only in letter case (where the disk tells them apart) goes
    // too.
    files::LockedFile other_table;
    if (old_table != path) other_table = files::HoldForReplacing(old_table, "la tabla");
    files::LockedFile other_index;
    if (indexes.empty() || old_index != index) {
      other_index = files::HoldForReplacing(old_index, "el índice");
    }
    files::ReplaceFile(path, EncodeHeader(header) + '\x1A');
    if (!indexes.empty()) {
      const std::string name = text::UpperAZ(BaseName(file_name));
      files::ReplaceFile(index, BuildMdx(NewIndex(name, header, indexes, today), {}));
    }
    files::RemoveHeldFile(other_table, old_table);
    files::RemoveHeldFile(other_index, old_index);
  });
}

}  // namespace zentrova::store
