#include "xml/document.h"

#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "text/encoding.h"
#include "xml/file_io.h"
#include "xml/markup_check.h"
#include "xml/parse_status.h"
#include "xml/transcoding.h"

namespace zentrova::xml {
namespace {

// Whitespace-only text is dropped (no parse_ws_pcdata); the declaration, the document type,
// comments and processing instructions are kept so that a saved document keeps them. pugixml
// never reads external entities, and a reference to any entity it does not know is refused
// before it parses. The text an element begins with is kept as the element's value, which
// saves a node for each value of an export (see MakeTextANode).
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration |
                                   pugi::parse_doctype | pugi::parse_comments | pugi::parse_pi |
                                   pugi::parse_embed_pcdata;

// The declaration as the file spells it ("<?xml" to the first "?>"), or nothing when the
// text does not begin with one.
std::string DeclarationText(std::string_view utf8) {
  constexpr std::string_view kStart = "<?xml";
  if (utf8.compare(0, kStart.size(), kStart) != 0 || utf8.size() <= kStart.size()) return {};
  const char after = utf8[kStart.size()];
  if (after != ' ' && after != '\t' && after != '\r' && after != '\n') return {};
  const size_t end = utf8.find("?>");
  return end == std::string_view::npos ? std::string() : std::string(utf8.substr(0, end + 2));
}

// Bytes that do not fit the encoding make the file unreadable like any other fault of form.
LoadResult InvalidBytesResult(const InvalidBytes& invalid) {
  LoadResult result;
  result.message = "contiene bytes que no son válidos en la codificación '" + invalid.encoding +
                   "' (byte " + std::to_string(invalid.file_offset + 1) + " del archivo)";
  result.line = invalid.position.line;
  result.column = invalid.position.column;
  return result;
}

}  // namespace

Document::Document() : document_(std::make_unique<pugi::xml_document>()) {}

Document::~Document() = default;

LoadResult Document::Load(const std::filesystem::path& path) {
  document_->reset();
  declaration_.clear();
  text_ = std::string();
  loaded_from_.reset();
  // Taken before the file is read: a change while it is read shows as a change afterwards.
  std::optional<FileStamp> stamp = StampOf(path);
  DecodedText decoded = DecodeToUtf8(ReadWholeFile(path), path);
  if (decoded.invalid) return InvalidBytesResult(*decoded.invalid);
  // pugixml takes a NUL for the end of the text, lets other characters XML forbids through,
  // and keeps references to entities it does not know as literal text.
  if (const auto fault = FindUnreadableMarkup(decoded.utf8)) {
    return FaultAt(fault->message, decoded.utf8, fault->offset);
  }
  std::string declaration = DeclarationText(decoded.utf8);
  // Parsed where it stands, not copied: the tree's names and values point into the text,
  // which the document keeps while it holds them.
  text_ = std::move(decoded.utf8);
  const pugi::xml_parse_result parsed = document_->load_buffer_inplace(
      text_.data(), text_.size(), kParseOptions, pugi::encoding_utf8);
  if (parsed.status != pugi::status_ok) {
    document_->reset();
    text_ = std::string();
    // Parsing in place changed the text before the fault, so its line and column are
    // counted in the file read again.
    return DescribeParse(parsed, DecodeToUtf8(ReadWholeFile(path), path).utf8);
  }
  // A byte-order mark decides how the file is read, but the declaration decides how it is
  // saved: a name ICU does not know would only fail later, at the save.
  const std::string declared = text::Utf16ToUtf8(DeclaredEncoding());
  if (!declared.empty() && !IsKnownEncoding(declared)) {
    document_->reset();
    text_ = std::string();
    ThrowUnknownEncoding(path, declared);
  }
  const pugi::xml_node first = document_->first_child();
  if (first.type() == pugi::node_declaration) declaration_ = std::move(declaration);
  loaded_from_ = std::move(stamp);
  return DescribeParse(parsed, {});
}

std::optional<Document::FileStamp> Document::StampOf(const std::filesystem::path& path) {
  std::error_code error;
  FileStamp stamp{path, std::filesystem::file_size(path, error), {}};
  if (error) return std::nullopt;
  stamp.modified = std::filesystem::last_write_time(path, error);
  if (error) return std::nullopt;
  return stamp;
}

bool Document::HoldsFile(const std::filesystem::path& path) const {
  if (!loaded_from_ || loaded_from_->path != path) return false;
  const std::optional<FileStamp> now = StampOf(path);
  return now && now->size == loaded_from_->size && now->modified == loaded_from_->modified;
}

Node Document::Root() const { return Node(*document_); }

Node Document::DocumentElement() const { return Node(document_->document_element()); }

std::u16string Document::DeclaredEncoding() const {
  for (const pugi::xml_node node : document_->children()) {
    if (node.type() == pugi::node_declaration) {
      return text::Utf8ToUtf16(node.attribute("encoding").value());
    }
  }
  return {};
}

}  // namespace zentrova::xml
