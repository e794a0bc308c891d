#ifndef ZENTROVA_STORE_TABLE_CREATION_H_
#define ZENTROVA_STORE_TABLE_CREATION_H_

// Making a table anew: its definitions checked, then the .DBF (and .MDX) replaced by empty ones.

#include <filesystem>
#include <string>
#include <vector>

#include "store/table.h"

namespace zentrova::store {

// Checks the definitions, then replaces the table `file_name` of `folder` (and its .MDX)
// with an empty one: dBASE IV cp1252 with a production index for `indexes`, or level 7.
// Nothing is deleted when a definition is wrong or an old file is held by another program.
void CreateTableFiles(const std::filesystem::path& folder, const std::string& file_name,
                      const std::vector<FieldDef>& fields, const std::vector<IndexDef>& indexes,
                      Level level);

// The field as a new table stores it: text(n) -> C n, whole number -> N 11 (I 4 at level
// 7), floating point -> N 20.4, logical -> L 1.
FieldInfo StoredField(const FieldDef& def, Level level);

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_TABLE_CREATION_H_
