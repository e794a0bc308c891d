#include "store/mdx_writer.h"

#include <algorithm>

#include "store/byte_order.h"
#include "store/mdx_key.h"

namespace zentrova::store {
namespace {

constexpr int kPage = 512;
constexpr int kPagesPerBlock = 2;
constexpr int kBlock = kPage * kPagesPerBlock;
constexpr int kHeaderPages = 4;
constexpr int kTagSlots = 48;
constexpr int kTagEntry = 32;
constexpr int kTagTable = 544;

int ItemLength(const MdxTag& tag) { return (4 + tag.key_length + 3) / 4 * 4; }
int MaxKeys(const MdxTag& tag) { return (kBlock - 12) / ItemLength(tag); }

// A block of the file under construction, placed at `page`.
struct Block {
  uint32_t page = 0;
  std::string bytes = std::string(kBlock, '\0');
};

class Builder {
 public:
  explicit Builder(const MdxIndex& index) : index_(index), file_(kHeaderPages * kPage, '\0') {}

  std::string Build(std::vector<std::vector<MdxKey>> keys);

 private:
  struct Child {
    uint32_t page;
    std::string greatest_key;
  };

  Block& NewBlock();
  void WriteFileHeader();
  void WriteTagEntry(size_t i, uint32_t header_page);
  void LinkTagTree();
  void WriteTag(const MdxTag& tag, std::vector<MdxKey> keys);
  std::vector<Child> WriteLeaves(const MdxTag& tag, const std::vector<MdxKey>& keys);
  std::vector<Child> WriteInteriorLevel(const MdxTag& tag, const std::vector<Child>& children);
  void WriteEntry(Block& block, const MdxTag& tag, int item, uint32_t pointer,
                  const std::string& key);

  const MdxIndex& index_;
  std::string file_;
  std::vector<Block> blocks_;
  uint32_t next_page_ = kHeaderPages;
};

Block& Builder::NewBlock() {
  blocks_.push_back(Block{next_page_});
  next_page_ += kPagesPerBlock;
  return blocks_.back();
}

void Builder::WriteFileHeader() {
  file_[0] = 0x02;
  PutDate(file_, 1, index_.created);
  const std::string name = index_.table_name.substr(0, 16);
  file_.replace(4, name.size(), name);
  PutLittle(file_, 20, kPagesPerBlock, 2);
  PutLittle(file_, 22, kBlock, 2);
  file_[24] = 0x01;
  file_[25] = static_cast<char>(kTagSlots);
  file_[26] = static_cast<char>(kTagEntry);
  PutLittle(file_, 28, index_.tags.size(), 2);
  file_[30] = static_cast<char>(index_.tags.size() + 1);
  file_[31] = static_cast<char>(index_.driver_id);
  PutLittle(file_, 32, next_page_, 4);
  PutDate(file_, 44, index_.updated);
  file_[529] = 0x01;
}

void Builder::WriteTagEntry(size_t i, uint32_t header_page) {
  const size_t at = kTagTable + kTagEntry * i;
  const MdxTag& tag = index_.tags[i];
  PutLittle(file_, at, header_page, 4);
  file_.replace(at + 4, std::min<size_t>(tag.name.size(), 10), tag.name.substr(0, 10));
  file_[at + 15] = 0x10;
  file_[at + 19] = 0x02;
  file_[at + 20] = tag.key_type;
}

// The tag table's thread bytes form a binary search tree by tag name, the first tag at the
// root, tags numbered from 1.
void Builder::LinkTagTree() {
  for (size_t i = 1; i < index_.tags.size(); ++i) {
    size_t node = 0;
    while (true) {
      const bool left = index_.tags[i].name < index_.tags[node].name;
      const size_t link = kTagTable + kTagEntry * node + (left ? 16 : 17);
      const auto child = static_cast<unsigned char>(file_[link]);
      if (child == 0) {
        file_[link] = static_cast<char>(i + 1);
        file_[kTagTable + kTagEntry * i + 18] = static_cast<char>(node + 1);
        break;
      }
      node = child - 1;
    }
  }
}

void Builder::WriteEntry(Block& block, const MdxTag& tag, int item, uint32_t pointer,
                         const std::string& key) {
  const size_t at = 8 + static_cast<size_t>(ItemLength(tag)) * item;
  PutLittle(block.bytes, at, pointer, 4);
  block.bytes.replace(at + 4, key.size(), key);
}

std::vector<Builder::Child> Builder::WriteLeaves(const MdxTag& tag,
                                                 const std::vector<MdxKey>& keys) {
  std::vector<Child> leaves;
  const size_t per_block = static_cast<size_t>(MaxKeys(tag));
  size_t next = 0;
  do {
    Block& block = NewBlock();
    const size_t count = std::min(per_block, keys.size() - next);
    PutLittle(block.bytes, 0, count, 4);
    for (size_t i = 0; i < count; ++i) {
      WriteEntry(block, tag, static_cast<int>(i), keys[next + i].record, keys[next + i].bytes);
    }
    next += count;
    leaves.push_back(Child{block.page, count > 0 ? keys[next - 1].bytes : std::string()});
  } while (next < keys.size());
  return leaves;
}

// Children are spread evenly, so that no interior block is left with a single child; a
// block with k keys has k + 1 children, the last reached by the pointer after the entries.
std::vector<Builder::Child> Builder::WriteInteriorLevel(const MdxTag& tag,
                                                        const std::vector<Child>& children) {
  const size_t per_block = static_cast<size_t>(MaxKeys(tag)) + 1;
  const size_t blocks = (children.size() + per_block - 1) / per_block;
  std::vector<Child> parents;
  size_t next = 0;
  for (size_t b = 0; b < blocks; ++b) {
    const size_t count = children.size() / blocks + (b < children.size() % blocks ? 1 : 0);
    Block& block = NewBlock();
    PutLittle(block.bytes, 0, count - 1, 4);
    for (size_t i = 0; i + 1 < count; ++i) {
      WriteEntry(block, tag, static_cast<int>(i), children[next + i].page,
                 children[next + i].greatest_key);
    }
    const Child& last = children[next + count - 1];
    PutLittle(block.bytes, 8 + static_cast<size_t>(ItemLength(tag)) * (count - 1), last.page, 4);
    parents.push_back(Child{block.page, last.greatest_key});
    next += count;
  }
  return parents;
}

void Builder::WriteTag(const MdxTag& tag, std::vector<MdxKey> keys) {
  const auto compare = tag.key_type == 'N' ? CompareNumericKeys : CompareCharacterKeys;
  std::stable_sort(keys.begin(), keys.end(),
                   [&](const MdxKey& a, const MdxKey& b) { return compare(a.bytes, b.bytes) < 0; });
  const size_t header_index = blocks_.size();
  NewBlock();
  const std::vector<Child> leaves = WriteLeaves(tag, keys);
  std::vector<Child> level = leaves;
  while (level.size() > 1) level = WriteInteriorLevel(tag, level);
  std::string& h = blocks_[header_index].bytes;
  PutLittle(h, 0, level.front().page, 4);
  PutLittle(h, 4, kPagesPerBlock, 4);
  h[8] = 0x10;
  h[9] = tag.key_type;
  h[11] = static_cast<char>(index_.driver_id);
  PutLittle(h, 12, tag.key_length, 2);
  PutLittle(h, 14, MaxKeys(tag), 2);
  PutLittle(h, 18, ItemLength(tag), 2);
  h[20] = static_cast<char>(tag.change_counter);
  h.replace(24, std::min<size_t>(tag.expression.size(), 219), tag.expression.substr(0, 219));
  h[246] = keys.empty() ? 0 : 1;
  PutLittle(h, 248, leaves.front().page, 4);
  PutLittle(h, 252, leaves.back().page, 4);
  PutDate(h, 257, tag.created);
  h[480] = 0x01;
}

std::string Builder::Build(std::vector<std::vector<MdxKey>> keys) {
  keys.resize(index_.tags.size());
  for (size_t i = 0; i < index_.tags.size(); ++i) {
    WriteTagEntry(i, next_page_);
    WriteTag(index_.tags[i], std::move(keys[i]));
  }
  LinkTagTree();
  WriteFileHeader();
  for (const Block& block : blocks_) file_ += block.bytes;
  return file_;
}

}  // namespace

std::string BuildMdx(const MdxIndex& index, std::vector<std::vector<MdxKey>> keys) {
  return Builder(index).Build(std::move(keys));
}

}  // namespace zentrova::store
