#include "xml/markup_check.h"

#include <array>
#include <vector>

#include "xml/character_check.h"
#include "xml/document.h"

// Why the raw text and not pugixml's tree: pugixml leaves an unknown reference in a value as
// the characters "&name;", where it can no longer be told from the same characters written as
// "&amp;name;" or inside a CDATA section, and the tree does not keep where a value stood in
// the file. The raw text tells them apart, gives the line and column, and is checked before
// pugixml builds anything.

namespace zentrova::xml {
namespace {

constexpr std::string_view kPredefinedEntities[] = {"amp", "lt", "gt", "quot", "apos"};

// Names in messages are cut to this many bytes: a hostile file may hold names of any length.
constexpr size_t kShownNameBytes = 60;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The ASCII letters, '_' and ':' of XML's NameStartChar, and every byte of a character beyond
// ASCII: close enough to tell a reference from a stray ampersand.
bool IsNameStartByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte == '_' ||
         byte == ':' || byte >= 0x80;
}

bool IsNameByte(char c) {
  return IsNameStartByte(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// The name that starts at `start`, as a message shows it.
std::string NameAt(std::string_view utf8, size_t start) {
  size_t end = start;
  while (end < utf8.size() && end - start < kShownNameBytes && IsNameByte(utf8[end])) ++end;
  // Not inside a character: back off continuation bytes of one cut short.
  if (end < utf8.size() && IsNameByte(utf8[end])) {
    while (end > start && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
  }
  return std::string(utf8.substr(start, end - start));
}

bool StartsWith(std::string_view text, size_t at, std::string_view prefix) {
  return text.compare(at, prefix.size(), prefix) == 0;
}

// The bytes that mean nothing to the scan wherever they stand: no markup, no ampersand, and
// no byte a character XML forbids can begin with (tab, line feed and carriage return it
// allows). Most of a document is made of them, and they are passed over in one go.
constexpr std::array<bool, 256> kPlainBytes = [] {
  std::array<bool, 256> plain{};
  for (int byte = 0x20; byte < 256; ++byte) plain[byte] = !MayBeginForbiddenCharacter(byte);
  for (const char c : {'\t', '\n', '\r'}) plain[static_cast<unsigned char>(c)] = true;
  for (const char c : {'<', '>', '&', '"', '\''}) plain[static_cast<unsigned char>(c)] = false;
  return plain;
}();

class MarkupScanner {
 public:
  explicit MarkupScanner(std::string_view utf8) : text_(utf8) {}

  std::optional<MarkupFault> Scan() {
    while (i_ < text_.size()) {
      if (!open_.empty() && SkipPlainBytes()) continue;  // text of an element
      if (text_[i_] != '<' && open_.empty() && !IsSpace(text_[i_])) {
        // A character XML forbids is the more precise fault.
        const size_t at = i_;
        if (auto fault = Step(Context::kContent)) return fault;
        return MarkupFault{at, "hay texto fuera del elemento raíz del documento"};
      }
      auto fault = text_[i_] == '<' ? Markup() : Step(Context::kContent);
      if (fault) return fault;
    }
    return std::nullopt;
  }

 private:
  // What an ampersand may begin where the scan stands.
  enum class Context {
    kContent,    // text and attribute values: entity and character references
    kMarkup,     // tags and the document type: character references, which the parser judges
    kPlainText,  // comments, CDATA sections, processing instructions: nothing
  };

  // Moves past the plain bytes from i_ on; whether there were any.
  bool SkipPlainBytes() {
    // On locals, which the compiler keeps in registers: this loop is most of the scan.
    const char* const text = text_.data();
    const size_t size = text_.size();
    size_t i = i_;
    while (i < size && kPlainBytes[static_cast<unsigned char>(text[i])]) ++i;
    const bool moved = i != i_;
    i_ = i;
    return moved;
  }

  // Checks the byte at i_ as part of `context` and moves past it.
  std::optional<MarkupFault> Step(Context context) {
    const auto byte = static_cast<unsigned char>(text_[i_]);
    if (MayBeginForbiddenCharacter(byte)) {
      if (auto found = ForbiddenCharacterAt(text_, i_)) {
        return Fault(i_, found->subject, found->remark);
      }
    } else if (byte == '&' && context != Context::kPlainText) {
      if (StartsWith(text_, i_, "&#")) {
        if (auto found = ForbiddenReferenceAt(text_, i_)) {
          return Fault(i_, found->subject, found->remark);
        }
      } else if (context == Context::kContent) {
        if (auto fault = EntityReferenceFault()) return fault;
      }
    }
    ++i_;
    return std::nullopt;
  }

  // At a '<'.
  std::optional<MarkupFault> Markup() {
    const char next = i_ + 1 < text_.size() ? text_[i_ + 1] : '\0';
    if (next == '/') return EndTag();
    if (next == '!') {
      if (StartsWith(text_, i_, "<!--")) return PlainText("<!--", "-->");
      if (StartsWith(text_, i_, "<![CDATA[")) return PlainText("<![CDATA[", "]]>");
      if (StartsWith(text_, i_, "<!DOCTYPE")) return DocumentType();
    } else if (next == '?') {
      return PlainText("<?", "?>");
    } else if (IsNameStartByte(next)) {
      return StartTag();
    }
    return Step(Context::kContent);  // a stray '<': the parser reports it
  }

  // From `open`, which stands at i_, up to and with `close`, or to the end of the text.
  std::optional<MarkupFault> PlainText(std::string_view open, std::string_view close) {
    const size_t found = text_.find(close, i_ + open.size());
    const size_t end = found == std::string_view::npos ? text_.size() : found + close.size();
    while (i_ < end) {
      if (auto fault = Step(Context::kPlainText)) return fault;
    }
    return std::nullopt;
  }

  // Up to the closing quote, or to the end of the text; the context says what the literal is.
  std::optional<MarkupFault> Quoted(Context context) {
    const char quote = text_[i_++];
    while (i_ < text_.size() && text_[i_] != quote) {
      if (SkipPlainBytes()) continue;
      if (auto fault = Step(context)) return fault;
    }
    if (i_ < text_.size()) ++i_;
    return std::nullopt;
  }

  // "<!DOCTYPE" up to the '>' that closes it, found as pugixml finds it (brackets are not
  // what ends it): each "<!" opens a declaration that a '>' closes, quoted literals,
  // comments and processing instructions are skipped whole, and "<![" begins a conditional
  // section up to its "]]>". References there stand in entity values and defaults, which
  // pugixml never uses: only a reference in the content is one that would be read.
  std::optional<MarkupFault> DocumentType() {
    size_t open_declarations = 0;
    i_ += 2;  // "<!"
    while (i_ < text_.size()) {
      const char c = text_[i_];
      std::optional<MarkupFault> fault;
      if (StartsWith(text_, i_, "<!--")) {
        fault = PlainText("<!--", "-->");
      } else if (StartsWith(text_, i_, "<?")) {
        fault = PlainText("<?", "?>");
      } else if (StartsWith(text_, i_, "<![")) {
        fault = ConditionalSection();
      } else if (StartsWith(text_, i_, "<!")) {
        ++open_declarations;
        i_ += 2;
      } else if (c == '"' || c == '\'') {
        fault = Quoted(Context::kMarkup);
      } else if (c == '>' && open_declarations == 0) {
        ++i_;
        return std::nullopt;
      } else {
        if (c == '>') --open_declarations;
        fault = Step(Context::kMarkup);
      }
      if (fault) return fault;
    }
    return std::nullopt;
  }

  // "<![" up to its "]]>", sections inside it included.
  std::optional<MarkupFault> ConditionalSection() {
    size_t depth = 0;
    i_ += 3;
    while (i_ < text_.size()) {
      if (StartsWith(text_, i_, "<![")) {
        ++depth;
        i_ += 3;
      } else if (StartsWith(text_, i_, "]]>")) {
        i_ += 3;
        if (depth-- == 0) return std::nullopt;
      } else if (auto fault = Step(Context::kMarkup)) {
        return fault;
      }
    }
    return std::nullopt;
  }

  std::optional<MarkupFault> EndTag() {
    while (i_ < text_.size() && text_[i_] != '>') {
      if (SkipPlainBytes()) continue;
      if (auto fault = Step(Context::kMarkup)) return fault;
    }
    if (i_ < text_.size()) ++i_;
    if (!open_.empty()) open_.pop_back();
    return std::nullopt;
  }

  std::optional<MarkupFault> StartTag() {
    const size_t start = i_;
    // pugixml would read a second root too, and the queries would find both.
    if (open_.empty() && root_seen_) {
      return MarkupFault{start, "el documento tiene más de un elemento raíz: '" +
                                    NameAt(text_, start + 1) + "' sigue al primero"};
    }
    tag_ = start + 1;
    ++i_;
    char last = '<';  // the last byte outside attribute values
    while (i_ < text_.size() && text_[i_] != '>') {
      if (SkipPlainBytes()) {
        last = text_[i_ - 1];
        continue;
      }
      const char c = text_[i_];
      if (c == '<') break;  // the tag is not closed: the parser reports it
      std::optional<MarkupFault> fault;
      if (c == '"' || c == '\'') {
        quote_ = i_;
        fault = Quoted(Context::kContent);
        quote_.reset();
      } else {
        fault = Step(Context::kMarkup);
      }
      if (fault) return fault;
      last = c;
    }
    tag_.reset();
    if (i_ >= text_.size() || text_[i_] != '>') return std::nullopt;
    ++i_;
    if (open_.size() == kMaxElementDepth) {
      return MarkupFault{start, "los elementos están anidados a más de " +
                                    std::to_string(kMaxElementDepth) +
                                    " niveles, el máximo que se admite"};
    }
    if (last != '/') open_.push_back(start + 1);  // an empty element closes itself
    root_seen_ = true;
    return std::nullopt;
  }

  // The start of the name before the '=' before the quote at `quote`, when there is one.
  std::optional<size_t> AttributeNameBefore(size_t quote) const {
    size_t i = quote;
    while (i > *tag_ && IsSpace(text_[i - 1])) --i;
    if (i == *tag_ || text_[i - 1] != '=') return std::nullopt;
    --i;
    while (i > *tag_ && IsSpace(text_[i - 1])) --i;
    const size_t end = i;
    while (i > *tag_ && IsNameByte(text_[i - 1])) --i;
    if (i == end) return std::nullopt;
    return i;
  }

  // At an '&' in content that does not begin a character reference.
  std::optional<MarkupFault> EntityReferenceFault() const {
    size_t end = i_ + 1;
    if (end >= text_.size() || !IsNameStartByte(text_[end])) return std::nullopt;
    while (end < text_.size() && IsNameByte(text_[end])) ++end;
    if (end >= text_.size() || text_[end] != ';') return std::nullopt;  // a stray ampersand
    const std::string_view name = text_.substr(i_ + 1, end - i_ - 1);
    for (const std::string_view predefined : kPredefinedEntities) {
      if (name == predefined) return std::nullopt;
    }
    const std::string shown = NameAt(text_, i_ + 1);
    return Fault(
        i_, "la referencia a la entidad '" + shown + (shown.size() < name.size() ? "…" : "") + "'",
        " no se admite: solo se leen &amp;, &lt;, &gt;, &quot;, &apos; y las "
        "referencias numéricas a caracteres");
  }

  // The fault, with the attribute and the element it stands in between the two parts of its
  // description, so that a secretary can find it.
  MarkupFault Fault(size_t offset, const std::string& subject, const std::string& remark) const {
    std::string where;
    const std::optional<size_t> attribute = quote_ ? AttributeNameBefore(*quote_) : std::nullopt;
    if (attribute) where = " en el atributo '" + NameAt(text_, *attribute) + "' del elemento";
    std::optional<size_t> element = tag_;
    if (!element && !open_.empty()) element = open_.back();
    if (element) {
      where = (where.empty() ? " en el elemento" : where) + " '" + NameAt(text_, *element) + "'";
    }
    return {offset, subject + where + remark};
  }

  std::string_view text_;
  size_t i_ = 0;
  // Where the name of each open element starts; never more than kMaxElementDepth.
  std::vector<size_t> open_;
  std::optional<size_t> tag_;    // where the name of the start tag being read starts
  std::optional<size_t> quote_;  // where the value of the attribute being read opens
  bool root_seen_ = false;
};

}  // namespace

std::optional<MarkupFault> FindUnreadableMarkup(std::string_view utf8) {
  return MarkupScanner(utf8).Scan();
}

}  // namespace zentrova::xml
