#include "store/table.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <new>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "files/find_file.h"
#include "files/locked_file.h"
#include "store/dbf_header.h"
#include "store/field_codec.h"
#include "store/production_index.h"
#include "store/store_error.h"
#include "store/table_creation.h"
#include "text/clipper.h"
#include "text/encoding.h"
#include "text/integer.h"
#include "text/letter_case.h"

namespace zentrova::store {
namespace {

constexpr char kDeleted = '*';
constexpr char kEndOfFile = 0x1A;

std::vector<std::string> SplitFieldList(std::string_view list) {
  std::vector<std::string> names;
  size_t start = 0;
  while (true) {
    const size_t end = list.find(';', start);
    names.emplace_back(
        text::AllTrim(list.substr(start, end == std::string_view::npos ? end : end - start)));
    if (end == std::string_view::npos) return names;
    start = end + 1;
  }
}

// Looks field names up by std::string_view without a copy.
struct NameHash {
  using is_transparent = void;
  size_t operator()(std::string_view name) const { return std::hash<std::string_view>()(name); }
};

}  // namespace

class Table::Impl {
 public:
  Impl(std::filesystem::path folder, std::string file_name)
      : folder_(std::move(folder)), file_name_(std::move(file_name)) {}

  bool IsOpen() const { return file_.is_open(); }

  void Create(const std::vector<FieldDef>& fields, const std::vector<IndexDef>& indexes,
              Level level) {
    CreateTableFiles(folder_, file_name_, fields, indexes, level);
  }
  void Open(OpenMode mode);
  void Close();
  const std::vector<FieldInfo>& Fields() const;

  void First();
  void Next();
  bool Eof() const { return !IsOpen() || row_ >= RowCount(); }
  int RecordCount() const;

  void Append();
  void Edit();
  void Post();
  void Set(std::string_view field, const std::function<std::string(const FieldContext&)>& encode);

  std::u16string AsText(std::string_view field) const;
  int32_t AsInteger(std::string_view field) const;
  double AsFloat(std::string_view field) const;

  bool Locate(std::string_view fields, const std::vector<std::u16string>& values);

 private:
  enum class Pending { kNone, kAppend, kEdit };

  std::filesystem::path Path() const {
    return IsOpen() ? path_ : folder_ / text::PathFromUtf8(file_name_);
  }
  void CheckOpen() const;
  [[noreturn]] void FailOpen(files::OpenStatus status, int reason) const;
  void ReadTable();
  size_t RowCount() const { return header_.record_count; }
  std::string_view Row(size_t i) const;
  void ReadRowsAgain() const;
  std::string_view CurrentRecord() const;
  // The record number of the current or pending row: 1 for the first, deleted rows counted.
  size_t CurrentRecordNumber() const;
  // Raises text::ConversionError for `value` of `field`, saying where it stands.
  [[noreturn]] void FailConversion(const std::u16string& value, size_t field) const;
  size_t FieldIndex(std::string_view name) const;
  FieldContext Context(size_t field) const;
  std::string_view RawField(std::string_view record, size_t field) const;
  std::u16string TextOf(std::string_view record, size_t field) const;
  bool Shows(size_t row) const;
  size_t NextShown(size_t from) const;
  void StorePending();
  void Write(uint64_t offset, std::string_view bytes);
  void WriteAppended();
  void WriteEdited();
  void WriteStamp();

  std::filesystem::path folder_;
  std::string file_name_;
  std::filesystem::path path_;
  files::LockedFile file_;
  TableHeader header_;
  std::vector<FieldInfo> shown_fields_;
  // The rows as the file holds them. A row appended goes to the file only, and rows_ is read
  // again from the file when a row is next read: a table that is only written, as most of a
  // conversion's tables are, never holds its rows in memory.
  mutable std::string rows_;
  mutable bool rows_stale_ = false;
  size_t row_ = 0;
  ProductionIndex index_;
  bool index_stale_ = false;  // rows were stored since the index was last built
  Pending pending_ = Pending::kNone;
  std::string buffer_;
  std::string blank_record_;  // a new row before any field is set; made at the first Append
  // The index of each field name asked for since the table was opened.
  mutable std::unordered_map<std::string, size_t, NameHash, std::equal_to<>> field_indexes_;
  size_t edited_row_ = 0;
};

// --- opening and closing -------------------------------------------------------------------

void Table::Impl::FailOpen(files::OpenStatus status, int reason) const {
  switch (status) {
    case files::OpenStatus::kNotFound:
      Fail(path_, "No existe la tabla %f.");
    case files::OpenStatus::kFolderMissing:
      Fail(path_,
           "No se puede abrir la tabla %f: no existe la carpeta " + PathForMessage(folder_) + ".");
    case files::OpenStatus::kHeld:
      Fail(path_, "La tabla %f está en uso por otro programa.");
    case files::OpenStatus::kNoPermission:
      Fail(path_, "No hay permiso para abrir la tabla %f.");
    case files::OpenStatus::kNotRegular:
      Fail(path_, "No se puede abrir la tabla %f: no es un archivo normal, sino " +
                      files::KindForMessage(file_.found_kind()) + ".");
    default:
      Fail(path_, "No se puede abrir la tabla %f: " + SystemReason(reason) + ".");
  }
}

void Table::Impl::Open(OpenMode mode) {
  if (IsOpen()) return;
  path_ = files::FindIgnoringCase(folder_, file_name_);
  const files::LockKind kind =
      mode == OpenMode::kExclusive ? files::LockKind::kExclusive : files::LockKind::kShared;
  const files::OpenStatus status = file_.Open(path_, kind);
  if (status != files::OpenStatus::kOpened) FailOpen(status, file_.last_error());
  try {
    ReadTable();
  } catch (...) {
    file_.Close();
    throw;
  }
  pending_ = Pending::kNone;
  field_indexes_.clear();
  blank_record_.clear();
  rows_stale_ = false;
  row_ = NextShown(0);
}

// Records are kept in memory (the tables are small); every change goes to the file at once.
// The header is read and checked first: the records are read only once it has been found
// sound and the file long enough for them, and nothing after them is read at all.
void Table::Impl::ReadTable() {
  const auto fail_read = [this] {
    Fail(path_, "No se puede leer la tabla %f: " + SystemReason(file_.last_error()) + ".");
  };
  try {
    uint64_t size = 0;
    std::string head;
    if (!file_.Size(size) ||
        !file_.ReadAt(0, static_cast<size_t>(std::min<uint64_t>(size, kMaxHeaderBytes)), head)) {
      fail_read();
    }
    header_ = ReadHeader(head, size, path_);
    if (!file_.ReadAt(static_cast<uint64_t>(header_.header_length),
                      static_cast<size_t>(header_.record_count) * header_.record_length, rows_)) {
      fail_read();
    }
  } catch (const std::bad_alloc&) {
    Fail(path_, "La tabla %f es demasiado grande para la memoria disponible.");
  }
  shown_fields_.clear();
  for (const FieldLayout& field : header_.fields) {
    if (!field.hidden) shown_fields_.push_back(field.info);
  }
  index_.Load(path_, header_);
}

void Table::Impl::Close() {
  if (!IsOpen()) return;
  try {
    StorePending();
    // Built once from all the rows rather than at every post, which made appending to an
    // indexed table cost the square of its rows.
    if (index_stale_ && index_.active()) {
      if (rows_stale_) ReadRowsAgain();
      index_.Rebuild(header_, rows_);
    }
  } catch (...) {
    pending_ = Pending::kNone;
    index_stale_ = false;
    file_.Close();
    throw;
  }
  index_stale_ = false;
  file_.Close();
  rows_.clear();
  rows_stale_ = false;
}

void Table::Impl::CheckOpen() const {
  if (!IsOpen()) Fail(Path(), "La tabla %f no está abierta.");
}

const std::vector<FieldInfo>& Table::Impl::Fields() const {
  CheckOpen();
  return shown_fields_;
}

// --- fields --------------------------------------------------------------------------------

size_t Table::Impl::FieldIndex(std::string_view name) const {
  CheckOpen();
  // A field is named at every value set or read; the search is made once for each name.
  if (const auto found = field_indexes_.find(name); found != field_indexes_.end()) {
    return found->second;
  }
  for (size_t i = 0; i < header_.fields.size(); ++i) {
    if (!header_.fields[i].hidden &&
        text::EqualsIgnoringCaseAZ(header_.fields[i].info.name, name)) {
      field_indexes_.emplace(name, i);
      return i;
    }
  }
  Fail(path_, "La tabla %f no tiene el campo " + std::string(name) + ".");
}

FieldContext Table::Impl::Context(size_t field) const {
  return FieldContext{header_.fields[field], header_.flavour, header_.code_page, path_};
}

std::string_view Table::Impl::Row(size_t i) const {
  if (rows_stale_) ReadRowsAgain();
  const auto length = static_cast<size_t>(header_.record_length);
  return std::string_view(rows_).substr(i * length, length);
}

// Every row appended has been written, so the file holds them all. Reading them changes
// nothing the table shows, whence the const.
void Table::Impl::ReadRowsAgain() const {
  try {
    auto& file = const_cast<files::LockedFile&>(file_);
    if (!file.ReadAt(static_cast<uint64_t>(header_.header_length),
                     static_cast<size_t>(header_.record_count) * header_.record_length, rows_)) {
      Fail(path_, "No se puede leer la tabla %f: " + SystemReason(file_.last_error()) + ".");
    }
  } catch (const std::bad_alloc&) {
    Fail(path_, "La tabla %f es demasiado grande para la memoria disponible.");
  }
  rows_stale_ = false;
}

std::string_view Table::Impl::RawField(std::string_view record, size_t field) const {
  const FieldLayout& layout = header_.fields[field];
  return record.substr(static_cast<size_t>(layout.offset), static_cast<size_t>(layout.info.width));
}

std::u16string Table::Impl::TextOf(std::string_view record, size_t field) const {
  return DecodeText(RawField(record, field), Context(field));
}

// The pending row while there is one, else the current row; blank past the end.
std::string_view Table::Impl::CurrentRecord() const {
  CheckOpen();
  if (pending_ != Pending::kNone) return buffer_;
  if (row_ >= RowCount()) return {};
  return Row(row_);
}

std::u16string Table::Impl::AsText(std::string_view field) const {
  const size_t index = FieldIndex(field);
  const std::string_view record = CurrentRecord();
  return record.empty() ? u"" : TextOf(record, index);
}

size_t Table::Impl::CurrentRecordNumber() const {
  if (pending_ == Pending::kAppend) return RowCount() + 1;
  if (pending_ == Pending::kEdit) return edited_row_ + 1;
  return row_ + 1;
}

void Table::Impl::FailConversion(const std::u16string& value, size_t field) const {
  throw text::ConversionError(
      value, u"Tabla " + text::PathText(path_) + u", registro " +
                 text::IntegerText(static_cast<long long>(CurrentRecordNumber())) + u", campo " +
                 text::Utf8ToUtf16(header_.fields[field].info.name) + u".");
}

int32_t Table::Impl::AsInteger(std::string_view field) const {
  const size_t index = FieldIndex(field);
  const std::u16string text = AsText(field);
  if (!IsNumeric(Context(index))) {
    const std::u16string number = text::LTrim(text);
    if (number.empty()) return 0;
    if (const std::optional<int32_t> value = text::TryParseInteger(number)) return *value;
    FailConversion(number, index);
  }
  if (text.empty()) return 0;
  const std::optional<double> value =
      DecodeNumber(RawField(CurrentRecord(), index), Context(index));
  if (!value || !std::isfinite(*value) || std::llround(*value) < INT32_MIN ||
      std::llround(*value) > INT32_MAX) {
    FailConversion(text, index);
  }
  return static_cast<int32_t>(std::llround(*value));
}

double Table::Impl::AsFloat(std::string_view field) const {
  const size_t index = FieldIndex(field);
  const std::u16string text = AsText(field);
  if (text::AllTrim(text).empty()) return 0;
  const std::optional<double> value =
      DecodeNumber(RawField(CurrentRecord(), index), Context(index));
  if (!value) {
    Fail(path_, "El valor '" + text::Utf16ToUtf8(text) + "' del campo " +
                    header_.fields[index].info.name + " de la tabla %f no es un número.");
  }
  return *value;
}

// --- moving --------------------------------------------------------------------------------

bool Table::Impl::Shows(size_t row) const {
  const std::string_view record = Row(row);
  return record[0] != kDeleted;
}

size_t Table::Impl::NextShown(size_t from) const {
  while (from < RowCount() && !Shows(from)) ++from;
  return from;
}

void Table::Impl::First() {
  CheckOpen();
  StorePending();
  row_ = NextShown(0);
}

void Table::Impl::Next() {
  CheckOpen();
  StorePending();
  if (row_ < RowCount()) row_ = NextShown(row_ + 1);
}

int Table::Impl::RecordCount() const {
  CheckOpen();
  int live = 0;
  for (size_t i = 0; i < RowCount(); ++i) {
    if (Row(i)[0] != kDeleted) ++live;
  }
  return live;
}

bool Table::Impl::Locate(std::string_view fields, const std::vector<std::u16string>& values) {
  CheckOpen();
  std::vector<size_t> indexes;
  for (const std::string& name : SplitFieldList(fields)) indexes.push_back(FieldIndex(name));
  if (indexes.size() != values.size()) {
    Fail(path_, "La búsqueda en la tabla %f da " + std::to_string(values.size()) +
                    " valores para " + std::to_string(indexes.size()) + " campos.");
  }
  StorePending();
  for (size_t row = NextShown(0); row < RowCount(); row = NextShown(row + 1)) {
    bool all = true;
    for (size_t i = 0; i < indexes.size() && all; ++i) {
      all = TextOf(Row(row), indexes[i]) == values[i];
    }
    if (all) {
      row_ = row;
      return true;
    }
  }
  return false;
}

// --- changing ------------------------------------------------------------------------------

void Table::Impl::Append() {
  CheckOpen();
  StorePending();
  if (blank_record_.empty()) {
    blank_record_.assign(1, ' ');
    for (size_t i = 0; i < header_.fields.size(); ++i) blank_record_ += BlankBytes(Context(i));
  }
  buffer_ = blank_record_;
  pending_ = Pending::kAppend;
}

void Table::Impl::Edit() {
  CheckOpen();
  if (pending_ != Pending::kNone) return;
  if (row_ >= RowCount()) Fail(path_, "La tabla %f no tiene fila actual que modificar.");
  buffer_ = std::string(Row(row_));
  edited_row_ = row_;
  pending_ = Pending::kEdit;
}

void Table::Impl::Set(std::string_view field,
                      const std::function<std::string(const FieldContext&)>& encode) {
  const size_t index = FieldIndex(field);
  if (pending_ == Pending::kNone) {
    Fail(path_, "No se puede dar valor al campo " + header_.fields[index].info.name +
                    " de la tabla %f: la fila no está en alta ni en edición.");
  }
  const FieldLayout& layout = header_.fields[index];
  const std::string bytes = encode(Context(index));
  // Every encoder gives exactly the field's width; anything else would shift the fields
  // after it and every row written afterwards.
  if (bytes.size() != static_cast<size_t>(layout.info.width)) {
    Fail(path_, "Error interno al dar valor al campo " + layout.info.name +
                    " de la tabla %f: " + std::to_string(bytes.size()) +
                    " bytes para un campo de " + std::to_string(layout.info.width) + ".");
  }
  buffer_.replace(static_cast<size_t>(layout.offset), bytes.size(), bytes);
}

void Table::Impl::Write(uint64_t offset, std::string_view bytes) {
  if (!file_.writable()) Fail(path_, "No hay permiso para escribir en la tabla %f.");
  if (!file_.WriteAt(offset, bytes)) {
    Fail(path_, "No se puede escribir en la tabla %f: " + SystemReason(file_.last_error()) + ".");
  }
}

// The record and a new end marker first, then the count: the file is a valid table
// before and after.
void Table::Impl::WriteAppended() {
  const uint64_t at = static_cast<uint64_t>(header_.header_length) +
                      static_cast<uint64_t>(RowCount()) * header_.record_length;
  Write(at, buffer_ + kEndOfFile);
  rows_stale_ = true;
  row_ = RowCount();
  ++header_.record_count;
}

void Table::Impl::WriteEdited() {
  Write(static_cast<uint64_t>(header_.header_length) +
            static_cast<uint64_t>(edited_row_) * header_.record_length,
        buffer_);
  rows_.replace(edited_row_ * header_.record_length, buffer_.size(), buffer_);
  row_ = edited_row_;
}

void Table::Impl::WriteStamp() {
  header_.updated = Today();
  Write(1, EncodeStamp(header_.updated, header_.record_count));
}

void Table::Impl::Post() {
  CheckOpen();
  StorePending();
}

void Table::Impl::StorePending() {
  if (pending_ == Pending::kNone) return;
  index_.CheckRebuildable();
  if (pending_ == Pending::kAppend) {
    WriteAppended();
  } else {
    WriteEdited();
  }
  pending_ = Pending::kNone;
  WriteStamp();
  index_stale_ = true;
}

// --- the public face -----------------------------------------------------------------------

Table::Table(std::filesystem::path folder, std::string file_name)
    : impl_(std::make_unique<Impl>(std::move(folder), std::move(file_name))) {}

Table::~Table() {
  try {
    impl_->Close();
  } catch (const std::exception&) {
    // A destructor cannot report; callers who care close the table themselves.
  }
}

void Table::Create(const std::vector<FieldDef>& fields, const std::vector<IndexDef>& indexes,
                   Level level) {
  if (impl_->IsOpen()) impl_->Close();
  impl_->Create(fields, indexes, level);
}

OpenForScope::~OpenForScope() {
  try {
    table_.Close();
  } catch (const std::exception&) {
    // Only a pending row could fail to store here, and the error under way is the one to
    // report; on the way out without one, Close() has already been called.
  }
}

void Table::Open(OpenMode mode) { impl_->Open(mode); }
void Table::Close() { impl_->Close(); }
bool Table::IsOpen() const { return impl_->IsOpen(); }
const std::vector<FieldInfo>& Table::Fields() const { return impl_->Fields(); }
void Table::First() { impl_->First(); }
void Table::Next() { impl_->Next(); }
bool Table::Eof() const { return impl_->Eof(); }
int Table::RecordCount() const { return impl_->RecordCount(); }
void Table::Append() { impl_->Append(); }
void Table::Edit() { impl_->Edit(); }
void Table::Post() { impl_->Post(); }

void Table::SetText(std::string_view field, std::u16string_view value) {
  impl_->Set(field, [&](const FieldContext& c) { return EncodeText(value, c); });
}
void Table::SetInteger(std::string_view field, long long value) {
  impl_->Set(field, [&](const FieldContext& c) { return EncodeInteger(value, c); });
}
void Table::SetFloat(std::string_view field, double value) {
  impl_->Set(field, [&](const FieldContext& c) { return EncodeFloat(value, c); });
}
void Table::SetLogical(std::string_view field, bool value) {
  impl_->Set(field, [&](const FieldContext& c) { return EncodeLogical(value, c); });
}

std::u16string Table::AsText(std::string_view field) const { return impl_->AsText(field); }
int32_t Table::AsInteger(std::string_view field) const { return impl_->AsInteger(field); }
double Table::AsFloat(std::string_view field) const { return impl_->AsFloat(field); }

bool Table::Locate(std::string_view fields, const std::vector<std::u16string>& values) {
  return impl_->Locate(fields, values);
}

}  // namespace zentrova::store
