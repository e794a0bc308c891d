#include "import/vetrana_to_orbelin_fixture.h"

namespace zentrova::testing {

std::string BuildExport(const std::vector<GroupData>& groups) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SERVICIO><BLOQUE_DATOS>";
  for (const auto& group : groups) {
    xml += "<grupo_datos seq=\"" + group.seq + "\">";
    for (const auto& record : group.records) {
      xml += "<grupo_datos>";
      for (const auto& value : record) xml += "<dato nombre_dato=\"X\">" + value + "</dato>";
      xml += "</grupo_datos>";
    }
    xml += "</grupo_datos>";
  }
  return xml + "</BLOQUE_DATOS></SERVICIO>";
}

Rows ReadRows(const std::filesystem::path& folder, const std::string& table,
              const std::vector<std::string>& fields) {
  store::Table reader(folder, table);
  reader.Open();
  Rows rows;
  for (reader.First(); !reader.Eof(); reader.Next()) {
    std::vector<std::u16string> row;
    for (const auto& field : fields) row.push_back(reader.AsText(field));
    rows.push_back(row);
  }
  return rows;
}

const xml::Document& ConverterTest::Load(const std::vector<GroupData>& groups) {
  WriteFile(export_file(), BuildExport(groups));
  document_ = std::make_unique<xml::Document>();
  EXPECT_TRUE(document_->Load(export_file()).well_formed);
  return *document_;
}

}  // namespace zentrova::testing
