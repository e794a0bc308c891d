// Opens arbitrary bytes as a dBASE table and reads every field of every row, and reads the
// same bytes as a production index. What must hold: no crash or undefined behaviour; a file
// either opens, or is refused with an error of ours.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "fuzz_host.h"
#include "store/mdx_reader.h"
#include "store/table.h"

namespace {

using zentrova::store::Table;

// Every field as text; as numbers too where the type letter is not C, and in the first row
// whatever the type (a refused conversion throws, and throwing in every row of every text
// field would slow each input tenfold for nothing new).
void ReadEveryField(Table& table) {
  bool first_row = true;
  for (table.First(); !table.Eof(); table.Next(), first_row = false) {
    for (const auto& field : table.Fields()) {
      table.AsText(field.name);
      if (field.type == 'C' && !first_row) continue;
      try {
        table.AsInteger(field.name);
      } catch (const zentrova::Error&) {
      }
      try {
        table.AsFloat(field.name);
      } catch (const zentrova::Error&) {
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::filesystem::path folder = zentrova::fuzz::FreshFolder("dbf");
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  zentrova::fuzz::WriteBytes(folder / "T.DBF", data, size);
  try {
    Table table(folder, "T.DBF");
    table.Open();
    ReadEveryField(table);
    table.Close();
  } catch (const zentrova::Error&) {
    // Refused with a message: what a reader of others' files must do.
  }
  try {
    zentrova::store::ReadMdxTags(bytes, folder / "T.MDX");
  } catch (const zentrova::Error&) {
  }
  return 0;
}
