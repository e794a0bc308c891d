#ifndef ZENTROVA_STORE_MDX_READER_H_
#define ZENTROVA_STORE_MDX_READER_H_

// Reads the tag definitions of an existing production index, so that it can be rebuilt
// when rows are added. Only the file header, the tag table and the tag headers are read.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "store/mdx_writer.h"

namespace zentrova::store {

struct MdxTags {
  MdxIndex index;
  // Empty when every tag is ascending, without filter, and keyed on a plain field name; else
  // why the index cannot be rebuilt (Spanish, for a message).
  std::string not_rebuildable;
};

// The `length` bytes at `offset` of an index file; asked only for bytes inside the file.
using MdxBytes = std::function<std::string(uint64_t offset, size_t length)>;

// Reads the tags of an index file of `file_size` bytes through `read`: its first pages, then
// one page per tag. Raises store::Error naming `file` when they are not a production index.
MdxTags ReadMdxTags(uint64_t file_size, const MdxBytes& read, const std::filesystem::path& file);
// The same over a whole file's bytes.
MdxTags ReadMdxTags(std::string_view bytes, const std::filesystem::path& file);

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_MDX_READER_H_
