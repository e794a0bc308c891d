#include "import/level_table.h"

#include "files/folder_update.h"
#include "files/input_file.h"
#include "files/native_file.h"
#include "store/table.h"
#include "text/encoding.h"

namespace zentrova::import {

std::optional<std::u16string> LevelTableProblem(const std::filesystem::path& file) {
  const files::EntryKind kind = files::KindOfTarget(file);
  if (kind == files::EntryKind::kMissing || kind == files::EntryKind::kLink) {
    return kLevelTableMissingMessage;
  }
  const std::string cause = files::WhyUnreadable(file);
  if (cause.empty()) return std::nullopt;
  return std::u16string(kLevelTableMissingMessage) + u"\n" + text::PathText(file) + u": " +
         text::Utf8ToUtf16(cause) + u".";
}

// The table is written aside and moved in whole, so that a program reading the old one
// never sees half of the new one.
void WriteLevelTable(const std::filesystem::path& file, const std::vector<LevelRow>& rows) {
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  const std::string name = text::PathUtf8(file.filename());
  files::FolderUpdate update(folder, {name}, "la carpeta");
  store::Table table(update.staging(), name);
  table.Create({{kLevelCodeField, store::FieldKind::kWholeNumber},
                {kLevelAbbreviationField, store::FieldKind::kText, kLevelAbbreviationWidth},
                {kLevelStudyField, store::FieldKind::kText, kLevelStudyWidth}},
               {}, store::Level::kDbase7);
  table.Open(store::OpenMode::kExclusive);
  for (const LevelRow& row : rows) {
    table.Append();
    table.SetInteger(kLevelCodeField, row.code);
    table.SetText(kLevelAbbreviationField, row.abbreviation);
    table.SetText(kLevelStudyField, row.study);
    table.Post();
  }
  table.Close();
  update.Commit({name}, {});
}

}  // namespace zentrova::import
