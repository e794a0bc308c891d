// zentrova-cli tabla: shows a dBASE table's fields and rows, as text or as JSON.

#include <cstdio>
#include <iostream>
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

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  for (const char ch : utf8) {
    const auto byte = static_cast<unsigned char>(ch);
    if (ch == '"' || ch == '\\') {
      out += '\\';
      out += ch;
    } else if (ch == '\n') {
      out += "\\n";
    } else if (ch == '\r') {
      out += "\\r";
    } else if (ch == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

std::string AsJson(const Contents& contents) {
  std::string out = "{\"fields\": [";
  for (size_t i = 0; i < contents.fields.size(); ++i) {
    const store::FieldInfo& f = contents.fields[i];
    out += std::string(i > 0 ? ", " : "") + "{\"name\": " + JsonString(f.name) +
           ", \"type\": " + JsonString(std::string(1, f.type)) +
           ", \"width\": " + std::to_string(f.width) +
           ", \"decimals\": " + std::to_string(f.decimals) + "}";
  }
  out += "], \"rows\": [";
  for (size_t r = 0; r < contents.rows.size(); ++r) {
    out += r > 0 ? ",\n  [" : "\n  [";
    for (size_t i = 0; i < contents.rows[r].size(); ++i) {
      out += std::string(i > 0 ? ", " : "") + JsonString(text::Utf16ToUtf8(contents.rows[r][i]));
    }
    out += "]";
  }
  return out + (contents.rows.empty() ? "]}" : "\n]}");
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
