#ifndef ZENTROVA_STORE_PRODUCTION_INDEX_H_
#define ZENTROVA_STORE_PRODUCTION_INDEX_H_

// The production index (.MDX) of an open dBASE table, brought up to date by rebuilding every
// tag from all the table's records (deleted ones included, as dBASE indexes them).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "store/dbf_header.h"
#include "store/mdx_writer.h"

namespace zentrova::store {

class ProductionIndex {
 public:
  // Finds the index beside `table` when the header announces one and reads its tags.
  // Raises store::Error when the index exists but cannot be read.
  void Load(const std::filesystem::path& table, const TableHeader& header);

  // Raises store::Error, before anything is written, when a tag cannot be rebuilt.
  void CheckRebuildable() const;

  // Whether the table has an index that Rebuild rewrites; Rebuild does nothing otherwise.
  bool active() const { return active_; }

  // Rewrites the whole index from the records (`rows`, record_length bytes each).
  void Rebuild(const TableHeader& header, std::string_view rows);

 private:
  std::filesystem::path table_;
  std::filesystem::path path_;
  bool active_ = false;
  MdxIndex index_;
  std::vector<int> fields_;  // per tag, the keyed field's place in the header
  std::string not_rebuildable_;
};

// Tag definitions of a new index over these fields, one per (name, field) pair.
MdxIndex NewIndex(const std::string& table_name, const TableHeader& header,
                  const std::vector<IndexDef>& indexes, Date today);

// The key of record bytes for tag `tag` keyed on `field`.
std::string KeyOf(std::string_view record, const FieldLayout& field, const MdxTag& tag);

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_PRODUCTION_INDEX_H_
