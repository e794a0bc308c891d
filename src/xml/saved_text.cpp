#include "xml/saved_text.h"

#include <algorithm>
#include <string_view>

namespace zentrova::xml {
namespace {

class StringWriter : public pugi::xml_writer {
 public:
  explicit StringWriter(std::string& text) : text_(text) {}
  void write(const void* data, size_t size) override {
    text_.append(static_cast<const char*>(data), size);
  }

 private:
  std::string& text_;
};

constexpr unsigned kFormat = pugi::format_raw | pugi::format_no_declaration;

// pugixml writes a carriage return in text as it is, and a reader turns it into a line feed,
// so a text holding one would not read back the same; in attribute values it already writes
// "&#13;". `element` is one element as pugixml wrote it, or some of its tags and children:
// its comments, processing instructions and CDATA sections are left alone, and so are its
// tags, outside of which a raw carriage return can only be text.
std::string EscapeTextCarriageReturns(std::string_view element) {
  std::string escaped;
  escaped.reserve(element.size() + 16);
  size_t i = 0;
  const auto copy_through = [&](std::string_view end) {
    const size_t found = element.find(end, i);
    const size_t stop = found == std::string_view::npos ? element.size() : found + end.size();
    escaped.append(element, i, stop - i);
    i = stop;
  };
  while (i < element.size()) {
    const std::string_view rest = element.substr(i);
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

SavedText::SavedText(std::string declaration, const std::string& encoding,
                     const std::filesystem::path& file)
    : declaration_(std::move(declaration)), encoder_(encoding, file) {}

void SavedText::Add(std::string_view utf8, bool last) {
  if (utf8.find('\r') == std::string_view::npos) {
    encoder_.Encode(utf8, last, bytes_);
  } else {
    encoder_.Encode(EscapeTextCarriageReturns(utf8), last, bytes_);
  }
}

void SavedText::AddNode(pugi::xml_node node) {
  // pugixml writes the declaration from its pseudo-attributes, in double quotes; the loaded
  // file's own spelling of it is written in its place.
  if (node.type() == pugi::node_declaration && !declaration_.empty() &&
      node == node.parent().first_child()) {
    encoder_.Encode(declaration_, false, bytes_);
    return;
  }
  printed_.clear();
  StringWriter writer(printed_);
  node.print(writer, "", kFormat, pugi::encoding_utf8);
  if (node.type() == pugi::node_element) {
    Add(printed_);
  } else {
    encoder_.Encode(printed_, false, bytes_);
  }
}

void SavedText::AddStartTag(pugi::xml_node element) {
  // pugixml's own writing of the element without its children, "<name a="v"/>", so that the
  // attributes are escaped as in the rest of the document; the tag then stays open.
  pugi::xml_document scratch;
  pugi::xml_node copy = scratch.append_child(element.name());
  for (const pugi::xml_attribute attribute : element.attributes()) {
    copy.append_attribute(attribute.name()).set_value(attribute.value());
  }
  printed_.clear();
  StringWriter writer(printed_);
  copy.print(writer, "", kFormat, pugi::encoding_utf8);
  printed_.replace(printed_.size() - 2, 2, ">");
  Add(printed_);
}

void SavedText::AddEndTag(pugi::xml_node element) {
  printed_.assign("</").append(element.name()).append(">");
  Add(printed_);
}

void SavedText::Finish() { encoder_.Encode({}, true, bytes_); }

}  // namespace zentrova::xml
