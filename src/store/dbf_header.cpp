#include "store/dbf_header.h"

#include <ctime>

#include "store/byte_order.h"
#include "store/code_page.h"
#include "store/store_error.h"

namespace zentrova::store {
namespace {

constexpr int kDbaseDescriptor = 32;
constexpr int kLevel7Descriptor = 48;
constexpr int kLevel7FieldsStart = 68;
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
  std::string name(bytes.substr(0, bytes.find('\0')));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

bool IsFox(Flavour flavour) {
  return flavour == Flavour::kFoxPro || flavour == Flavour::kVisualFoxPro;
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

// Some dBASE writers use the decimals byte of a character field as the width's high byte.
void MatchRecordLength(TableHeader& header, const std::filesystem::path& file) {
  if (SumOfWidths(header.fields) != header.record_length && !IsFox(header.flavour)) {
    std::vector<FieldLayout> wide = header.fields;
    for (auto& field : wide) {
      if (field.info.type == 'C') {
        field.info.width += field.info.decimals * 256;
        field.info.decimals = 0;
      }
    }
    if (SumOfWidths(wide) == header.record_length) header.fields = wide;
  }
  if (SumOfWidths(header.fields) != header.record_length) {
    Fail(file, "La tabla %f está dañada: la longitud de registro de la cabecera (" +
                   std::to_string(header.record_length) + ") no cuadra con sus campos (" +
                   std::to_string(SumOfWidths(header.fields)) + ").");
  }
  PlaceFields(header.fields);
}

void ReadDescriptors(std::string_view bytes, TableHeader& header,
                     const std::filesystem::path& file) {
  const bool level7 = header.flavour == Flavour::kDbase7;
  const size_t size = level7 ? kLevel7Descriptor : kDbaseDescriptor;
  const size_t end = std::min(bytes.size(), static_cast<size_t>(header.header_length));
  size_t at = level7 ? kLevel7FieldsStart : 32;
  while (at < end && bytes[at] != kTerminator) {
    if (at + size > end) {
      Fail(file,
           "La tabla %f está dañada: la lista de campos no cabe en la longitud de "
           "cabecera (" +
               std::to_string(header.header_length) + ").");
    }
    header.fields.push_back(ReadDescriptor(bytes.substr(at, size), header.flavour));
    at += size;
  }
  if (header.fields.empty()) Fail(file, "La tabla %f está dañada: no tiene campos.");
}

void CheckSize(std::string_view bytes, const TableHeader& header,
               const std::filesystem::path& file) {
  const uint64_t needed = static_cast<uint64_t>(header.header_length) +
                          static_cast<uint64_t>(header.record_count) * header.record_length;
  if (bytes.size() < needed) {
    Fail(file, "La tabla %f está truncada: su cabecera anuncia " +
                   std::to_string(header.record_count) + " registros (" + std::to_string(needed) +
                   " bytes) y el archivo tiene " + std::to_string(bytes.size()) + " bytes.");
  }
}

void PutDate(std::string& bytes, const Date& date) {
  bytes[1] = static_cast<char>(date.year - 1900);
  bytes[2] = static_cast<char>(date.month);
  bytes[3] = static_cast<char>(date.day);
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

Date Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

TableHeader ReadHeader(std::string_view bytes, const std::filesystem::path& file) {
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
    if (header.driver_id == 0) header.code_page = CodePageOfDriverName(header.driver_name);
  }
  ReadDescriptors(bytes, header, file);
  MatchRecordLength(header, file);
  CheckSize(bytes, header, file);
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
  header.header_length =
      level7 ? kLevel7FieldsStart + kLevel7Descriptor * n + 1 : 32 + kDbaseDescriptor * n + 1;
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
  size_t at = level7 ? kLevel7FieldsStart : 32;
  for (const auto& field : header.fields) {
    EncodeDescriptor(bytes, at, field, level7);
    at += level7 ? kLevel7Descriptor : kDbaseDescriptor;
  }
  bytes[at] = kTerminator;
  return bytes;
}

std::string EncodeStamp(const Date& date, uint32_t record_count) {
  std::string bytes(8, '\0');
  PutDate(bytes, date);
  PutLittle(bytes, 4, record_count, 4);
  return bytes.substr(1);
}

}  // namespace zentrova::store
