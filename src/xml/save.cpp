#include <algorithm>
#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "text/encoding.h"
#include "xml/document.h"
#include "xml/file_io.h"
#include "xml/transcoding.h"

namespace zentrova::xml {
namespace {

class StringWriter : public pugi::xml_writer {
 public:
  void write(const void* data, size_t size) override {
    text_.append(static_cast<const char*>(data), size);
  }
  std::string& text() { return text_; }

 private:
  std::string text_;
};

// pugixml writes a carriage return in text as it is, and a reader turns it into a line feed,
// so a text holding one would not read back the same; in attribute values it already writes
// "&#13;". `element` is one element as pugixml wrote it: its comments, processing
// instructions and CDATA sections are left alone, and so are its tags, outside of which a
// raw carriage return can only be text.
std::string EscapeTextCarriageReturns(const std::string& element) {
  if (element.find('\r') == std::string::npos) return element;
  std::string escaped;
  escaped.reserve(element.size() + 16);
  size_t i = 0;
  const auto copy_through = [&](std::string_view end) {
    const size_t found = element.find(end, i);
    const size_t stop = found == std::string::npos ? element.size() : found + end.size();
    escaped.append(element, i, stop - i);
    i = stop;
  };
  while (i < element.size()) {
    const std::string_view rest(element.data() + i, element.size() - i);
    if (rest.starts_with("<!--")) {
      copy_through("-->");
    } else if (rest.starts_with("<![CDATA[")) {
      copy_through("]]>");
    } else if (rest.starts_with("<?")) {
      copy_through("?>");
    } else if (rest.front() == '<') {
      // A tag: attribute values are in double quotes, with '"' written as "&quot;".
      bool quoted = false;
      size_t end = i + 1;
      while (end < element.size() && (quoted || element[end] != '>')) {
        if (element[end] == '"') quoted = !quoted;
        ++end;
      }
      const size_t stop = std::min(end + 1, element.size());
      escaped.append(element, i, stop - i);
      i = stop;
    } else if (rest.front() == '\r') {
      escaped += "&#13;";
      ++i;
    } else {
      escaped += rest.front();
      ++i;
    }
  }
  return escaped;
}

}  // namespace

void Document::Save(const std::filesystem::path& path) const {
  WriteReplacing(path, SavedBytes(path));
}

std::string Document::SavedBytes(const std::filesystem::path& path) const {
  // The declaration node, when there is one, is written as it stands; pugixml must not add
  // one of its own.
  std::string text;
  for (const pugi::xml_node node : document_->children()) {
    StringWriter writer;
    node.print(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    text += node.type() == pugi::node_element ? EscapeTextCarriageReturns(writer.text())
                                              : writer.text();
  }
  // pugixml writes the declaration from its pseudo-attributes, in double quotes; the loaded
  // file's own spelling of it is put back in its place.
  if (!declaration_.empty() && document_->first_child().type() == pugi::node_declaration) {
    const size_t end = text.find("?>");
    if (text.compare(0, 5, "<?xml") == 0 && end != std::string::npos) {
      text.replace(0, end + 2, declaration_);
    }
  }
  std::string encoding = text::Utf16ToUtf8(DeclaredEncoding());
  if (encoding.empty()) encoding = "UTF-8";
  return EncodeFromUtf8(std::move(text), encoding, path);
}

}  // namespace zentrova::xml
