#include "import/level_table.h"

#include "store/table.h"

namespace zentrova::import {

void WriteLevelTable(const std::filesystem::path& file, const std::vector<LevelRow>& rows) {
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  store::Table table(folder, file.filename().string());
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
}

}  // namespace zentrova::import
