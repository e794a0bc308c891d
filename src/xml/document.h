#ifndef ZENTROVA_XML_DOCUMENT_H_
#define ZENTROVA_XML_DOCUMENT_H_

// An in-memory XML document over pugixml, with the operations the two directions use.
// Texts cross this interface as UTF-16; nodes are value handles owned by their Document
// (a handle is valid while its node is in the document). A null handle is false.
//
// A null Node reads as nothing: Name, Text and Attribute give "", the navigation calls and
// queries give a null node or an empty list. The changing calls (AppendElement, RemoveChild,
// SetAttribute, SetText) raise xml::Error for a null node, a name XML does not allow, text
// with a character XML cannot carry (a control character, an unpaired surrogate) and, for
// AppendElement, nesting deeper than kMaxElementDepth; the document is then unchanged.
//
// Failures raise xml::Error with a Spanish message naming the file and the cause.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "error.h"

namespace pugi {
class xml_node;
class xml_document;
}  // namespace pugi

namespace zentrova::xml {

class Error : public zentrova::Error {
 public:
  using zentrova::Error::Error;
};

class NodeList;
class SavedText;
class StreamingSave;

class Node {
 public:
  Node();
  explicit operator bool() const;

  std::u16string Name() const;
  // The concatenated text of every descendant text and CDATA node, untrimmed.
  std::u16string Text() const;
  std::u16string Attribute(std::u16string_view name) const;

  Node FirstChild() const;
  // The child elements named `name`, counted in document order from 0: what the query `name`
  // selects from this node, found without one. A null node past the last.
  Node ChildElement(std::u16string_view name, size_t index) const;
  size_t ChildElementCount(std::u16string_view name) const;
  // XPath 1.0 from this node; results in document order. In a loaded document the text an
  // element begins with is held by the element itself: a query sees it in that element's
  // string value, but not as a text() node nor in the string value of the element's
  // ancestors. Queries on elements and attributes, all that the system uses, are not touched.
  NodeList SelectNodes(std::u16string_view xpath) const;
  // First match, or a null node.
  Node SelectSingleNode(std::u16string_view xpath) const;

  // Creates an element without namespace and appends it as the last child; not deeper than
  // kMaxElementDepth. Requires: this node is an element or the document node.
  Node AppendElement(std::u16string_view name);
  // Requires: `child` is a child of this node.
  void RemoveChild(const Node& child);
  // Requires: this node is an element.
  void SetAttribute(std::u16string_view name, std::u16string_view value);
  // Replaces the children by one text node (none for an empty text); a text node takes the
  // text as its own. Requires: this node is an element or a text node.
  void SetText(std::u16string_view text);

 private:
  friend class Document;
  friend class NodeList;
  friend class StreamingSave;
  explicit Node(const pugi::xml_node& node);
  void* handle_;  // pugi::xml_node_struct*
};

class NodeList {
 public:
  NodeList() = default;
  size_t Length() const { return nodes_.size(); }
  // A null node for an index at or past the length.
  Node Item(size_t index) const { return index < nodes_.size() ? nodes_[index] : Node(); }

 private:
  friend class Node;
  std::vector<Node> nodes_;
};

// The deepest nesting of elements a document may hold, the root element counted as 1. Real
// exports are five levels deep; the limit keeps the recursion of pugixml's routines (node
// destruction recurses once per level) far from the end of the stack. Load refuses a deeper
// file and AppendElement a deeper element.
inline constexpr size_t kMaxElementDepth = 256;

// What a load found about the file's form.
struct LoadResult {
  bool well_formed = false;
  std::string message;  // the parser's description, Spanish, empty when well formed
  size_t line = 0;      // 1-based position of the fault
  size_t column = 0;
};

class Document {
 public:
  Document();
  ~Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // Parses the whole file. The encoding comes from the byte-order mark or the declaration
  // (UTF-8, UTF-16, ISO-8859-1, ISO-8859-15, Windows-1252 and whatever else ICU knows).
  // Whitespace-only text between elements is dropped; the declaration, comments and
  // processing instructions outside the root are kept in order. An ill-formed file, or one
  // whose bytes do not fit its encoding, leaves the document empty and says why and where in
  // the result. Raises xml::Error when the file cannot be read or names an encoding that is
  // not supported.
  LoadResult Load(const std::filesystem::path& path);

  // The document node: top-level nodes are its children.
  Node Root() const;
  Node DocumentElement() const;
  NodeList SelectNodes(std::u16string_view xpath) const { return Root().SelectNodes(xpath); }
  Node SelectSingleNode(std::u16string_view xpath) const { return Root().SelectSingleNode(xpath); }

  // Whether the document holds what Load read from `path` (named as it was then) and the
  // file still has the size and modification time it had when it was read: loading it again
  // would give the same document. Changes made to the document since are not seen.
  bool HoldsFile(const std::filesystem::path& path) const;

  // The encoding named by the XML declaration, empty when there is none.
  std::u16string DeclaredEncoding() const;

  // Writes the whole document without added whitespace, in the declared encoding (UTF-8 when
  // none), characters that encoding lacks as numeric character references. A declaration
  // that came with the loaded file is written as the file spelled it (its quotes, blanks and
  // pseudo-attributes unchanged). Written to a temporary file beside the target and renamed
  // over it: a failure leaves no half-written file.
  void Save(const std::filesystem::path& path) const;
  // The bytes Save writes, for a caller that replaces the file itself; `path` is the file
  // they are meant for, named by the error raised when they cannot be encoded.
  std::string SavedBytes(const std::filesystem::path& path) const;

 private:
  friend class StreamingSave;
  // The writer of this document's bytes for `path`, in its declared encoding.
  std::unique_ptr<SavedText> StartSavedText(const std::filesystem::path& path) const;

  // The loaded file's text, which pugixml parsed in place: the tree points into it.
  std::string text_;
  std::unique_ptr<pugi::xml_document> document_;
  std::string declaration_;  // the loaded file's declaration, as written there
  // The file the document was loaded from, as it stood just before it was read.
  struct FileStamp {
    std::filesystem::path path;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified;
  };
  std::optional<FileStamp> loaded_from_;
  // Nothing when the file's size or time cannot be read.
  static std::optional<FileStamp> StampOf(const std::filesystem::path& path);
};

}  // namespace zentrova::xml

#endif  // ZENTROVA_XML_DOCUMENT_H_
