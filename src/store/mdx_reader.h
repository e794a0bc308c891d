#ifndef ZENTROVA_STORE_MDX_READER_H_
#define ZENTROVA_STORE_MDX_READER_H_

// Reads the tag definitions of an existing production index, so that it can be rebuilt
// when rows are added. Only the file header, the tag table and the tag headers are read.

#include <filesystem>
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

// Raises store::Error naming `file` when the bytes are not a production index.
MdxTags ReadMdxTags(std::string_view bytes, const std::filesystem::path& file);

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_MDX_READER_H_
