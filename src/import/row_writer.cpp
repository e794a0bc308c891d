#include "import/row_writer.h"

#include <algorithm>

#include "text/clipper.h"
#include "text/letter_case.h"

namespace zentrova::import {
namespace {

// The text split into characters as a one-byte code page counts them: a surrogate pair is one.
std::vector<std::u16string_view> Characters(std::u16string_view text) {
  std::vector<std::u16string_view> characters;
  for (size_t i = 0; i < text.size();) {
    const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF &&
                      text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    const size_t length = pair ? 2 : 1;
    characters.push_back(text.substr(i, length));
    i += length;
  }
  return characters;
}

}  // namespace

std::optional<AlteredValue> CompareStored(std::u16string_view given, const std::u16string& stored) {
  const std::u16string kept = text::RTrim(std::u16string(given));
  if (kept == stored) return std::nullopt;
  AlteredValue altered;
  altered.given = std::u16string(given);
  altered.stored = stored;
  // The table holds one character for each character set, up to its width.
  const std::vector<std::u16string_view> characters = Characters(kept);
  altered.cut = characters.size() > stored.size();
  for (size_t i = 0; i < characters.size() && i < stored.size(); ++i) {
    const std::u16string_view character = characters[i];
    if (character.size() == 1 && character[0] == stored[i]) continue;
    if (std::find(altered.replaced.begin(), altered.replaced.end(), character) ==
        altered.replaced.end()) {
      altered.replaced.emplace_back(character);
    }
  }
  return altered;
}

int RowWriter::FieldWidth(std::string_view field) const {
  for (const store::FieldInfo& info : table_.Fields()) {
    if (text::EqualsIgnoringCaseAZ(info.name, field)) return info.width;
  }
  return 0;
}

void RowWriter::Append(const Record& record) {
  table_.Append();
  record_ = &record;
  observer_.RowAppended(record);
}

void RowWriter::SetText(std::string_view field, std::u16string_view value) {
  table_.SetText(field, value);
  if (!reading_back_) return;
  if (auto altered = CompareStored(value, table_.AsText(field))) {
    altered->width = FieldWidth(field);
    observer_.ValueAltered(*record_, field, *altered);
  }
}

void RowWriter::SetCode(std::string_view field, const std::u16string& code, const CodeList& codes) {
  SetText(field, code);
  if (!reading_back_) return;
  const std::u16string stored = table_.AsText(field);
  const auto [earlier, first] = stored_codes_.try_emplace(codes.Key(stored), record_->index());
  if (!first) observer_.CodeRepeated(*record_, field, stored, earlier->second);
}

}  // namespace zentrova::import
