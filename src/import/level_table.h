#ifndef ZENTROVA_IMPORT_LEVEL_TABLE_H_
#define ZENTROVA_IMPORT_LEVEL_TABLE_H_

// The level table NIVELEX.DBF that ships beside the executables: for each course offer of
// the platform its level abbreviation and study name. It is a dBASE level-7 table, because
// its field names are longer than ten characters.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zentrova::import {

// What a conversion says when the level table is not where it looks for it.
inline constexpr char16_t kLevelTableMissingMessage[] =
    u"ATENCIÓN - NIVELEX.DBF No encontrado - Reinstale ZENTROVA";

// What a conversion says before it starts when the level table `file` cannot be used:
// kLevelTableMissingMessage when nothing is there; the same with a second line naming the
// path and the cause when what is there is not a regular file or cannot be opened; nothing
// when it can be read.
std::optional<std::u16string> LevelTableProblem(const std::filesystem::path& file);

inline constexpr char kLevelCodeField[] = "X_OFERTAMATRIG";
inline constexpr char kLevelAbbreviationField[] = "NIVEL_ABREV";
inline constexpr char kLevelStudyField[] = "ESTUDIO";
inline constexpr int kLevelAbbreviationWidth = 10;
inline constexpr int kLevelStudyWidth = 80;

struct LevelRow {
  int32_t code = 0;
  std::u16string abbreviation;
  std::u16string study;
};

// Creates `file`, replacing a table of that name whole, with `rows` in their order. Texts
// longer than their field are cut. Throws zentrova::Error naming the file or its folder.
void WriteLevelTable(const std::filesystem::path& file, const std::vector<LevelRow>& rows);

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_LEVEL_TABLE_H_
