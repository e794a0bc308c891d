#ifndef ZENTROVA_STORE_TABLE_H_
#define ZENTROVA_STORE_TABLE_H_

// A dBASE table reached through our own engine: created as dBASE IV (cp1252, optional
// production MDX), read from dBASE III/IV/7, FoxPro and Visual FoxPro files. One Table object
// names one file (folder + file name, matched without regard to letter case) and works like a
// cursor over its live rows in record order; deleted rows are never shown.
//
// Every failure raises store::Error with a Spanish message naming the file and the cause.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "error.h"

namespace zentrova::store {

class Error : public zentrova::Error {
 public:
  using zentrova::Error::Error;
};

// Logical field types of a definition and how they are written:
// text(n) -> C n; whole number -> N 11.0; floating point -> N 20.4; logical -> L 1.
enum class FieldKind { kText, kWholeNumber, kFloat, kLogical };

struct FieldDef {
  std::string name;  // upper-case ASCII, at most 10 characters
  FieldKind kind = FieldKind::kText;
  int width = 0;  // text only, 1..254
};

// One tag of the production index: ascending, duplicates allowed, key = one field.
struct IndexDef {
  std::string name;
  std::string field;
};

// A field as the file describes it.
struct FieldInfo {
  std::string name;
  char type = 'C';  // the type letter: C N F L D I O + @ M ...
  int width = 0;
  int decimals = 0;
};

enum class OpenMode { kShared, kExclusive };

// The level a table is created at. dBASE 7 allows field names up to 31 characters and writes
// a whole number as a 4-byte I field; it takes no index.
enum class Level { kDbase4, kDbase7 };

class Table {
 public:
  // `file_name` as the callers give it ("ASIGNOMT.DBF"); the file is found without regard to
  // letter case.
  Table(std::filesystem::path folder, std::string file_name);
  ~Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  // Makes an empty dBASE IV table with exactly these fields, replacing a table of the same
  // name (and its MDX). With indexes, writes the production MDX beside it. The table stays
  // closed. Fails when the folder is missing, the file is held by another program, ...
  void Create(const std::vector<FieldDef>& fields, const std::vector<IndexDef>& indexes = {},
              Level level = Level::kDbase4);

  // Opens with an operating-system lock: shared, or exclusive (then no other process can
  // open it). Opening an open table changes nothing. Stands on the first row.
  void Open(OpenMode mode = OpenMode::kShared);
  // Stores a pending edit or append, brings the production index up to date, then releases
  // the file. Closing a closed table is fine.
  void Close();
  bool IsOpen() const;

  // Field layout as stored in the file (open tables only).
  const std::vector<FieldInfo>& Fields() const;

  // Cursor over the live rows (those not deleted), in record order.
  void First();
  void Next();  // stores a pending edit first
  bool Eof() const;
  // Live rows of the table.
  int RecordCount() const;

  // A new blank row, pending until Post: fields not set stay empty (an empty numeric field is
  // no value, not zero).
  void Append();
  // The current row becomes pending; Post or Next stores it.
  void Edit();
  // Stores the pending row and rewrites the header's record count, so the .DBF is a valid
  // table at every moment. The production index of an indexed table is rebuilt once, when
  // the table is closed.
  void Post();

  // Setting fields of the pending row, by name (case-insensitive). Text is stored in cp1252
  // ('?' for what it lacks) and cut to the width; a whole number on a text field is stored
  // as its decimal text.
  void SetText(std::string_view field, std::u16string_view value);
  void SetInteger(std::string_view field, long long value);
  void SetFloat(std::string_view field, double value);
  void SetLogical(std::string_view field, bool value);

  // Reading the current row. Text: trailing blanks removed; a numeric field gives its number
  // without padding ("4" for 4.0000). Whole number: empty gives 0; a text that is not a whole
  // decimal number raises text::ConversionError, whose second line names the table, the
  // record number and the field. Floating point: empty gives 0.
  std::u16string AsText(std::string_view field) const;
  int32_t AsInteger(std::string_view field) const;
  double AsFloat(std::string_view field) const;

  // Stands on the first row in record order whose fields (names joined by ';') read as
  // exactly the given texts, one per field; false, and the position unchanged, when none.
  bool Locate(std::string_view fields, const std::vector<std::u16string>& values);

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

// A table that someone else owns (a main-window component), open for a scope. Close() closes
// it and reports what closing raises; when the scope is left without it (an error is under
// way), the table is closed quietly and that error is the one reported.
class OpenForScope {
 public:
  OpenForScope(Table& table, OpenMode mode) : table_(table) { table_.Open(mode); }
  ~OpenForScope();
  OpenForScope(const OpenForScope&) = delete;
  OpenForScope& operator=(const OpenForScope&) = delete;

  void Close() { table_.Close(); }

 private:
  Table& table_;
};

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_TABLE_H_
