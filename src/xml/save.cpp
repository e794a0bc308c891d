#include <pugixml.hpp>
#include <string>

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

}  // namespace

void Document::Save(const std::filesystem::path& path) const {
  // The declaration node, when there is one, is written as it stands; pugixml must not add
  // one of its own.
  StringWriter writer;
  document_->save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  std::string& text = writer.text();
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
  WriteReplacing(path, EncodeFromUtf8(std::move(text), encoding, path));
}

}  // namespace zentrova::xml
