#ifndef ZENTROVA_XML_SAVED_TEXT_H_
#define ZENTROVA_XML_SAVED_TEXT_H_

// The bytes of a saved document, made a node or a tag at a time in document order: each node
// as pugixml writes it without added whitespace, a carriage return in text as "&#13;", the
// declaration as the loaded file spelled it, and all of it in the declared encoding. Pieces
// added one after another give the bytes of the whole document written at once.

#include <filesystem>
#include <pugixml.hpp>
#include <string>

#include "xml/transcoding.h"

namespace zentrova::xml {

class SavedText {
 public:
  // `declaration`: the loaded file's declaration as it spelled it, empty when there is none;
  // `encoding`: the declared one, or UTF-8; `file`: the file the bytes are for, which the
  // errors name. Raises xml::Error for an encoding that is not supported.
  SavedText(std::string declaration, const std::string& encoding,
            const std::filesystem::path& file);

  // A node with everything in it.
  void AddNode(pugi::xml_node node);
  // The tags of an element whose children are added between them.
  void AddStartTag(pugi::xml_node element);
  void AddEndTag(pugi::xml_node element);
  // After the last piece; nothing may be added then.
  void Finish();

  // The encoded bytes of the pieces added so far; the caller may take them away.
  std::string& bytes() { return bytes_; }

 private:
  void Add(std::string_view utf8, bool last = false);

  std::string declaration_;
  Encoder encoder_;
  std::string printed_;  // one piece as pugixml wrote it, kept to reuse its buffer
  std::string bytes_;
};

}  // namespace zentrova::xml

#endif  // ZENTROVA_XML_SAVED_TEXT_H_
