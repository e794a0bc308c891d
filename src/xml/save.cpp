#include <pugixml.hpp>
#include <string>

#include "text/encoding.h"
#include "xml/document.h"
#include "xml/file_io.h"
#include "xml/saved_text.h"

namespace zentrova::xml {

void Document::Save(const std::filesystem::path& path) const {
  WriteReplacing(path, SavedBytes(path));
}

std::string Document::SavedBytes(const std::filesystem::path& path) const {
  const std::unique_ptr<SavedText> text = StartSavedText(path);
  for (const pugi::xml_node node : document_->children()) text->AddNode(node);
  text->Finish();
  return std::move(text->bytes());
}

std::unique_ptr<SavedText> Document::StartSavedText(const std::filesystem::path& path) const {
  std::string encoding = text::Utf16ToUtf8(DeclaredEncoding());
  if (encoding.empty()) encoding = "UTF-8";
  return std::make_unique<SavedText>(declaration_, encoding, path);
}

}  // namespace zentrova::xml
