#include "store/dbf_header.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "store/byte_order.h"
#include "store/code_page.h"
#include "store/store_error.h"
#include "text/clipper.h"

namespace zentrova::store {
namespace {

constexpr int kDbaseDescriptor = 32;
constexpr int kDbaseFieldsStart = 32;
constexpr int kLevel7Descriptor = 48;
constexpr int kLevel7FieldsStart = 68;
constexpr size_t kBacklinkLength = 263;
constexpr size_t kPropertiesHeader = 16;
constexpr char kTerminator = 0x0D;
constexpr uint8_t kAnsiDriverId = 0x57;
constexpr const char* kAnsiDriverName = "DBWINUS0";

bool FlavourOfVersion(uint8_t version, Flavour& flavour) {
  switch (version) {
    case 0x03:
    case 0x83:
    case 0x8B:
    case 0x43:
    case 0x63:
    case 0xCB:
      flavour = Flavour::kDbase;
      return true;
    case 0x04:
    case 0x8C:
      flavour = Flavour::kDbase7;
      return true;
    case 0x30:
    case 0x31:
    case 0x32:
      flavour = Flavour::kVisualFoxPro;
      return true;
    case 0xF5:
    case 0xFB:
      flavour = Flavour::kFoxPro;
      return true;
    default:
      return false;
  }
}

std::string NameOf(std::string_view bytes) {
  return std::string(text::RTrim(bytes.substr(0, bytes.find('\0'))));
}

bool IsFox(Flavour flavour) {
  return flavour == Flavour::kFoxPro || flavour == Flavour::kVisualFoxPro;
}

size_t DescriptorSize(Flavour flavour) {
  return flavour == Flavour::kDbase7 ? kLevel7Descriptor : kDbaseDescriptor;
}

size_t FieldsStart(Flavour flavour) {
  return flavour == Flavour::kDbase7 ? kLevel7FieldsStart : kDbaseFieldsStart;
}

// A name or other header text for a message: printable ASCII kept, anything else '?'.
std::string Printable(std::string_view bytes) {
  std::string text;
  for (char ch : bytes) text += (ch >= 0x20 && ch < 0x7F) ? ch : '?';
  return text;
}

FieldLayout ReadDescriptor(std::string_view d, Flavour flavour) {
  FieldLayout field;
  const bool level7 = flavour == Flavour::kDbase7;
  field.info.name = NameOf(d.substr(0, level7 ? 32 : 11));
  field.info.type = d[level7 ? 32 : 11];
  field.info.width = static_cast<unsigned char>(d[level7 ? 33 : 16]);
  field.info.decimals = static_cast<unsigned char>(d[level7 ? 34 : 17]);
  field.indexed = d[level7 ? 37 : 31] == 0x01 && !IsFox(flavour);
  if (flavour == Flavour::kVisualFoxPro) {
    field.hidden = field.info.type == '0' || (static_cast<unsigned char>(d[18]) & 0x01) != 0;
  }
  // FoxPro keeps the high byte of a long character field's width in the decimals byte.
  if (IsFox(flavour) && field.info.type == 'C') {
    field.info.width += field.info.decimals * 256;
    field.info.decimals = 0;
  }
  return field;
}

int SumOfWidths(const std::vector<FieldLayout>& fields) {
  int sum = 1;
  for (const auto& field : fields) sum += field.info.width;
  return sum;
}

void PlaceFields(std::vector<FieldLayout>& fields) {
  int offset = 1;
  for (auto& field : fields) {
    field.offset = offset;
    offset += field.info.width;
  }
}

// The descriptors end at the first slot whose first byte is 0x0D. A header length is 16 bits,
// so a terminator further on could not agree with it.
size_t FindTerminator(std::string_view bytes, Flavour flavour, const std::filesystem::path& file) {
  const size_t limit = std::min(bytes.size(), kMaxHeaderBytes);
  for (size_t at = FieldsStart(flavour); at < limit; at += DescriptorSize(flavour)) {
    if (bytes[at] == kTerminator) return at;
  }
  Fail(file,
       "La tabla %f está dañada: la lista de campos de la cabecera no termina con el byte 0x0D.");
}

// Bytes after the terminator that are a Visual FoxPro backlink: the owning database's path,
// NUL-padded, or all NULs for a free table.
bool IsBacklink(std::string_view bytes, size_t at) {
  if (at + kBacklinkLength > bytes.size()) return false;
  const std::string_view area = bytes.substr(at, kBacklinkLength);
  const size_t end = area.find('\0');
  if (end == std::string_view::npos) return false;
  for (size_t i = 0; i < end; ++i) {
    if (static_cast<unsigned char>(area[i]) < 0x20) return false;
  }
  return area.find_first_not_of('\0', end) == std::string_view::npos;
}

// dBASE 7 may follow the terminator with a field-properties structure that the header length
// covers. Only one published layout describes it and no file examined has one, so extra bytes
// are taken for one only when they describe themselves so exactly: the structure's 16-byte
// header gives its total size as precisely the extra bytes, and every array and the data area
// it points to lie inside them. Anything else is a header length that disagrees with the
// descriptors, and trusting it would shift every record.
bool IsFieldProperties(std::string_view bytes, size_t at, size_t extra) {
  if (extra < kPropertiesHeader || at + extra > bytes.size()) return false;
  const std::string_view properties = bytes.substr(at, extra);
  if (GetLittle(properties, 14, 2) != extra) return false;
  // Standard, custom and referential-integrity properties: count and start, entry size.
  const std::pair<size_t, uint64_t> arrays[] = {{0, 15}, {4, 14}, {8, 22}};
  for (const auto& [count_at, entry_size] : arrays) {
    const uint64_t count = GetLittle(properties, count_at, 2);
    const uint64_t start = GetLittle(properties, count_at + 2, 2);
    if (count > 0 && (start < kPropertiesHeader || start + count * entry_size > extra)) {
      return false;
    }
  }
  return GetLittle(properties, 12, 2) <= extra;
}

// The header length must be where the descriptors say the first record starts: right after the
// terminator, after the backlink in Visual FoxPro, after a field-properties structure in level 7.
void CheckHeaderLength(std::string_view bytes, size_t terminator, const TableHeader& header,
                       const std::filesystem::path& file) {
  const size_t after_terminator = terminator + 1;
  const auto length = static_cast<size_t>(header.header_length);
  size_t expected = after_terminator;
  switch (header.flavour) {
    case Flavour::kVisualFoxPro:
      expected += kBacklinkLength;
      break;
    case Flavour::kFoxPro:
      // A FoxPro 2 table from a writer that copies Visual FoxPro's layout (python3-dbf) carries
      // the backlink too.
      if (length == after_terminator + kBacklinkLength && IsBacklink(bytes, after_terminator)) {
        return;
      }
      break;
    case Flavour::kDbase7:
      if (length > after_terminator &&
          IsFieldProperties(bytes, after_terminator, length - after_terminator)) {
        return;
      }
      break;
    case Flavour::kDbase:
      break;
  }
  if (length == expected) return;
  const size_t fields = (terminator - FieldsStart(header.flavour)) / DescriptorSize(header.flavour);
  Fail(file, "La tabla %f está dañada: la longitud de cabecera (" + std::to_string(length) +
                 " bytes) no cuadra con sus " + std::to_string(fields) + " campos, que piden " +
                 std::to_string(expected) + " bytes.");
}

void ReadDescriptors(std::string_view bytes, size_t terminator, TableHeader& header) {
  const size_t size = DescriptorSize(header.flavour);
  for (size_t at = FieldsStart(header.flavour); at < terminator; at += size) {
    header.fields.push_back(ReadDescriptor(bytes.substr(at, size), header.flavour));
  }
}

// Some dBASE writers use the decimals byte of a character field as the width's high byte:
// taken so only when that makes the widths add up to the record length.
void ResolveWideCharacterFields(TableHeader& header) {
  if (SumOfWidths(header.fields) == header.record_length || IsFox(header.flavour)) return;
  std::vector<FieldLayout> wide = header.fields;
  for (auto& field : wide) {
    if (field.info.type == 'C') {
      field.info.width += field.info.decimals * 256;
      field.info.decimals = 0;
    }
  }
  if (SumOfWidths(wide) == header.record_length) header.fields = std::move(wide);
}

void CheckWidths(const TableHeader& header, const std::filesystem::path& file) {
  for (const FieldLayout& field : header.fields) {
    if (field.info.width == 0) {
      Fail(file,
           "La tabla %f está dañada: el campo " + Printable(field.info.name) + " tiene anchura 0.");
    }
  }
}

void CheckRecordLength(const TableHeader& header, const std::filesystem::path& file) {
  if (SumOfWidths(header.fields) != header.record_length) {
    Fail(file, "La tabla %f está dañada: la longitud de registro de la cabecera (" +
                   std::to_string(header.record_length) + ") no cuadra con sus campos (" +
                   std::to_string(SumOfWidths(header.fields)) + ").");
  }
}

// A level-7 table names its code page by the driver name when the id is 0.
void ResolveDriverName(TableHeader& header, const std::filesystem::path& file) {
  if (header.driver_id != 0 || header.driver_name.empty()) return;
  const std::optional<std::string> code_page = CodePageOfDriverName(header.driver_name);
  if (!code_page) {
    Fail(file, "La tabla %f usa el controlador de idioma '" + Printable(header.driver_name) +
                   "', que no corresponde a ninguna página de códigos conocida: no se puede "
                   "leer su texto.");
  }
  header.code_page = *code_page;
}

void CheckSize(uint64_t file_size, const TableHeader& header, const std::filesystem::path& file) {
  const uint64_t needed = static_cast<uint64_t>(header.header_length) +
                          static_cast<uint64_t>(header.record_count) * header.record_length;
  if (file_size < needed) {
    Fail(file, "La tabla %f está truncada: su cabecera anuncia " +
                   std::to_string(header.record_count) + " registros de " +
                   std::to_string(header.record_length) + " bytes, que con la cabecera ocupan " +
                   std::to_string(needed) + " bytes, y el archivo tiene " +
                   std::to_string(file_size) + " bytes.");
  }
}

void EncodeDescriptor(std::string& bytes, size_t at, const FieldLayout& field, bool level7) {
  const std::string& name = field.info.name;
  bytes.replace(at, name.size(), name);
  bytes[at + (level7 ? 32 : 11)] = field.info.type;
  bytes[at + (level7 ? 33 : 16)] = static_cast<char>(field.info.width);
  bytes[at + (level7 ? 34 : 17)] = static_cast<char>(field.info.decimals);
  if (field.indexed) bytes[at + (level7 ? 37 : 31)] = 0x01;
}

}  // namespace

TableHeader ReadHeader(std::string_view file_bytes, const std::filesystem::path& file) {
  return ReadHeader(file_bytes.substr(0, kMaxHeaderBytes), file_bytes.size(), file);
}

TableHeader ReadHeader(std::string_view head, uint64_t file_size,
                       const std::filesystem::path& file) {
  const std::string_view bytes = head.substr(0, std::min<uint64_t>(file_size, kMaxHeaderBytes));
  if (bytes.size() < 32) {
    Fail(file, "La tabla %f está dañada: el archivo tiene " + std::to_string(bytes.size()) +
                   " bytes, menos que una cabecera dBASE.");
  }
  TableHeader header;
  header.version = static_cast<uint8_t>(bytes[0]);
  if (!FlavourOfVersion(header.version, header.flavour)) {
    char version[8];
    std::snprintf(version, sizeof version, "0x%02X", header.version);
    Fail(file, std::string("La tabla %f no es una tabla dBASE que se pueda leer (versión ") +
                   version + ").");
  }
  header.updated = Date{1900 + static_cast<unsigned char>(bytes[1]),
                        static_cast<unsigned char>(bytes[2]), static_cast<unsigned char>(bytes[3])};
  header.record_count = static_cast<uint32_t>(GetLittle(bytes, 4, 4));
  header.header_length = static_cast<int>(GetLittle(bytes, 8, 2));
  header.record_length = static_cast<int>(GetLittle(bytes, 10, 2));
  header.index_flag = static_cast<uint8_t>(bytes[28]);
  header.driver_id = static_cast<uint8_t>(bytes[29]);
  header.code_page = CodePageOfDriverId(header.driver_id);
  if (header.flavour == Flavour::kDbase7) {
    if (bytes.size() < kLevel7FieldsStart)
      Fail(file, "La tabla %f está dañada: cabecera incompleta.");
    header.driver_name = NameOf(bytes.substr(32, 32));
  }
  const size_t terminator = FindTerminator(bytes, header.flavour, file);
  if (terminator == FieldsStart(header.flavour)) {
    Fail(file, "La tabla %f está dañada: no tiene campos.");
  }
  CheckHeaderLength(bytes, terminator, header, file);
  ReadDescriptors(bytes, terminator, header);
  ResolveWideCharacterFields(header);
  CheckWidths(header, file);
  CheckRecordLength(header, file);
  PlaceFields(header.fields);
  ResolveDriverName(header, file);
  CheckSize(file_size, header, file);
  return header;
}

TableHeader NewHeader(Flavour flavour, std::vector<FieldInfo> fields, Date today) {
  TableHeader header;
  const bool level7 = flavour == Flavour::kDbase7;
  header.flavour = level7 ? Flavour::kDbase7 : Flavour::kDbase;
  header.version = level7 ? 0x04 : 0x03;
  header.updated = today;
  header.driver_id = level7 ? 0 : kAnsiDriverId;
  header.driver_name = level7 ? kAnsiDriverName : "";
  header.code_page = "windows-1252";
  for (auto& info : fields) header.fields.push_back(FieldLayout{std::move(info)});
  PlaceFields(header.fields);
  const int n = static_cast<int>(header.fields.size());
  header.header_length = level7 ? kLevel7FieldsStart + kLevel7Descriptor * n + 1
                                : kDbaseFieldsStart + kDbaseDescriptor * n + 1;
  header.record_length = SumOfWidths(header.fields);
  return header;
}

std::string EncodeHeader(const TableHeader& header) {
  const bool level7 = header.flavour == Flavour::kDbase7;
  std::string bytes(static_cast<size_t>(header.header_length), '\0');
  bytes[0] = static_cast<char>(header.version);
  bytes.replace(1, 7, EncodeStamp(header.updated, header.record_count));
  PutLittle(bytes, 8, static_cast<uint64_t>(header.header_length), 2);
  PutLittle(bytes, 10, static_cast<uint64_t>(header.record_length), 2);
  bytes[28] = static_cast<char>(header.index_flag);
  bytes[29] = static_cast<char>(header.driver_id);
  if (level7) bytes.replace(32, header.driver_name.size(), header.driver_name);
  size_t at = FieldsStart(header.flavour);
  for (const auto& field : header.fields) {
    EncodeDescriptor(bytes, at, field, level7);
    at += level7 ? kLevel7Descriptor : kDbaseDescriptor;
  }
  bytes[at] = kTerminator;
  return bytes;
}

std::string EncodeStamp(const Date& date, uint32_t record_count) {
  std::string bytes(8, '\0');
  PutDate(bytes, 1, date);
  PutLittle(bytes, 4, record_count, 4);
  return bytes.substr(1);
}

}  // namespace zentrova::store
