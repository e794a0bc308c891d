#ifndef ZENTROVA_STORE_DBF_HEADER_H_
#define ZENTROVA_STORE_DBF_HEADER_H_

// The header and field descriptors of a .DBF file: read from dBASE III/IV, level 7,
// FoxPro and Visual FoxPro files; written for dBASE IV and level 7.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "store/dbf_date.h"
#include "store/table.h"

namespace zentrova::store {

// Which family wrote the file: decides how I, B, M and the date/time types are stored.
enum class Flavour { kDbase, kDbase7, kFoxPro, kVisualFoxPro };

struct FieldLayout {
  FieldInfo info;
  int offset = 0;        // from the start of the record, whose byte 0 is the deletion flag
  bool hidden = false;   // a system column (Visual FoxPro _NullFlags): never shown
  bool indexed = false;  // the production index has a tag on exactly this field
};

struct TableHeader {
  uint8_t version = 0x03;
  Flavour flavour = Flavour::kDbase;
  Date updated;
  uint32_t record_count = 0;
  int header_length = 0;    // offset of the first record
  int record_length = 0;    // deletion flag included
  uint8_t index_flag = 0;   // byte 28
  uint8_t driver_id = 0;    // byte 29
  std::string driver_name;  // level 7 only
  std::string code_page;    // ICU name of the text fields' code page
  std::vector<FieldLayout> fields;
};

// No header is longer than this (its length is 16 bits): the first kMaxHeaderBytes bytes of a
// file, or the whole of a shorter one, are all ReadHeader needs.
inline constexpr size_t kMaxHeaderBytes = 0xFFFF;

// Decodes the header from the first bytes of a file of `file_size` bytes (at least
// min(file_size, kMaxHeaderBytes) of them) and checks it against itself and the file's size
// before any record is read. Raises store::Error naming `file` and the inconsistency when the
// file is not a table we can read, or when its header length disagrees with the descriptors,
// its record length with the field widths, a field is 0 bytes wide, the descriptors lack
// their 0x0D terminator, a level-7 driver name names no code page, or the file is too short
// for the records it announces.
TableHeader ReadHeader(std::string_view head, uint64_t file_size,
                       const std::filesystem::path& file);
// The same for a whole file's bytes.
TableHeader ReadHeader(std::string_view file_bytes, const std::filesystem::path& file);

// A header for a new table of the given flavour (kDbase = dBASE IV, or kDbase7) with
// these fields: lengths, offsets, driver and code page filled in.
TableHeader NewHeader(Flavour flavour, std::vector<FieldInfo> fields, Date today);

// The header's bytes, header_length long, as dBASE IV or level 7 writes them.
std::string EncodeHeader(const TableHeader& header);

// Bytes 1-7 (date of last update and record count), rewritten after every append.
std::string EncodeStamp(const Date& date, uint32_t record_count);

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_DBF_HEADER_H_
