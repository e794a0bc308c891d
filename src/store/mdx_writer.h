#ifndef ZENTROVA_STORE_MDX_WRITER_H_
#define ZENTROVA_STORE_MDX_WRITER_H_

// Writes a whole dBASE IV production index (.MDX): 1024-byte blocks, the four header pages
// with the tag table, then per tag its header block and a B-tree bulk-loaded from the keys
// (full leaves in key order, interior levels above them). Ascending, duplicates allowed.

#include <cstdint>
#include <string>
#include <vector>

#include "store/dbf_header.h"

namespace zentrova::store {

struct MdxTag {
  std::string name;        // upper case, at most 10 characters
  std::string expression;  // the key: one field's name
  char key_type = 'N';     // 'N' (12-byte BCD) or 'C' (the field's bytes)
  int key_length = 12;     // 12 for N, the field's width for C
  uint8_t change_counter = 1;
  Date created;
};

struct MdxKey {
  std::string bytes;    // key_length bytes
  uint32_t record = 0;  // 1-based record number
};

struct MdxIndex {
  std::string table_name;  // base name of the table, without extension
  uint8_t driver_id = 0x57;
  Date created;
  Date updated;
  std::vector<MdxTag> tags;
};

// The file's bytes; `keys[i]` are tag i's keys in any order (equal keys keep record order).
std::string BuildMdx(const MdxIndex& index, std::vector<std::vector<MdxKey>> keys);

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_MDX_WRITER_H_
