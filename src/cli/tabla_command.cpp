// zentrova-cli tabla: shows a dBASE table's fields and rows, as text or as JSON.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/console_host.h"
#include "store/table.h"
#include "text/encoding.h"

namespace zentrova::cli {
namespace {

struct TablaOptions {
  std::string file;
  bool json = false;
};

struct Contents {
  std::vector<store::FieldInfo> fields;
  std::vector<std::vector<std::u16string>> rows;
};

Contents ReadContents(const std::filesystem::path& file) {
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  store::Table table(folder, text::PathUtf8(file.filename()));
  table.Open(store::OpenMode::kShared);
  Contents contents{table.Fields(), {}};
  for (table.First(); !table.Eof(); table.Next()) {
    contents.rows.emplace_back();
    for (const auto& field : contents.fields) {
      contents.rows.back().push_back(table.AsText(field.name));
    }
  }
  table.Close();
  return contents;
}

// {"fields": [{"name", "type", "width", "decimals"}...], "rows": [[text...]...]}
std::string AsJson(const Contents& contents) {
  nlohmann::ordered_json json = {{"fields", nlohmann::ordered_json::array()},
                                 {"rows", nlohmann::ordered_json::array()}};
  for (const store::FieldInfo& field : contents.fields) {
    json["fields"].push_back({{"name", field.name},
                              {"type", std::string(1, field.type)},
                              {"width", field.width},
                              {"decimals", field.decimals}});
  }
  for (const auto& row : contents.rows) {
    nlohmann::ordered_json values = nlohmann::ordered_json::array();
    for (const std::u16string& value : row) values.push_back(text::Utf16ToUtf8(value));
    json["rows"].push_back(std::move(values));
  }
  // Names and values are valid UTF-8 (decoded from the table's code page); a field name that
  // is not is shown with the replacement character rather than stopping the output.
  return json.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

// The fields one per line (name, type letter, width, decimals), then the rows with their
// values separated by tabs under a line of field names.
void PrintPlain(const std::filesystem::path& file, const Contents& contents) {
  PrintLine(text::PathText(file) + u": " +
            text::Utf8ToUtf16(std::to_string(contents.fields.size())) + u" campos, " +
            text::Utf8ToUtf16(std::to_string(contents.rows.size())) + u" filas");
  std::u16string names;
  for (const auto& f : contents.fields) {
    PrintLine(text::Utf8ToUtf16(f.name + " " + f.type + " " + std::to_string(f.width) + " " +
                                std::to_string(f.decimals)));
    names += (names.empty() ? u"" : u"\t") + text::Utf8ToUtf16(f.name);
  }
  PrintLine(u"");
  PrintLine(names);
  for (const auto& row : contents.rows) {
    std::u16string line;
    for (size_t i = 0; i < row.size(); ++i) line += (i > 0 ? u"\t" : u"") + row[i];
    PrintLine(line);
  }
}

int RunTabla(const TablaOptions& options) {
  return RunReporting([&] {
    const std::filesystem::path file = text::PathFromUtf8(options.file);
    const Contents contents = ReadContents(file);
    if (options.json) {
      PrintLine(text::Utf8ToUtf16(AsJson(contents)));
    } else {
      PrintPlain(file, contents);
    }
    return kExitDone;
  });
}

}  // namespace

void AddTablaCommand(CLI::App& app, int& exit_status) {
  auto options = std::make_shared<TablaOptions>();
  CLI::App* command =
      app.add_subcommand("tabla", "Muestra los campos y las filas de una tabla dBASE");
  command->add_option("TABLA.DBF", options->file, "Tabla que se muestra")->required();
  command->add_flag("--json", options->json,
                    "Salida en JSON (UTF-8): {\"fields\": [...], \"rows\": [[...]]}");
  command->callback([options, &exit_status] { exit_status = RunTabla(*options); });
}

}  // namespace zentrova::cli
