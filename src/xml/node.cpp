#include <array>
#include <cstdio>
#include <pugixml.hpp>
#include <vector>

#include "text/encoding.h"
#include "xml/character_check.h"
#include "xml/document.h"
#include "xml/xpath_cache.h"

namespace zentrova::xml {
namespace {

pugi::xml_node Pugi(void* handle) {
  return pugi::xml_node(static_cast<pugi::xml_node_struct*>(handle));
}

std::string Utf8(std::u16string_view text) { return text::Utf16ToUtf8(text); }
std::u16string Utf16(const char* text) { return text::Utf8ToUtf16(text); }

// A writing call needs a node: a null one is the caller's fault, reported like any failure.
pugi::xml_node Writable(void* handle, const char* operation) {
  const pugi::xml_node node = Pugi(handle);
  if (!node) throw Error(std::string("No se puede ") + operation + ": el nodo no existe.");
  return node;
}

// The characters XML forbids in a name, enough to keep a saved file well formed.
bool IsElementName(std::u16string_view name) {
  if (name.empty()) return false;
  const char16_t first = name.front();
  if (first == u'-' || first == u'.' || (first >= u'0' && first <= u'9')) return false;
  // Attribute and element names are set for every value written: a table, not a search.
  static constexpr auto kForbidden = [] {
    std::array<bool, 128> forbidden{};
    for (int c = 0; c <= ' '; ++c) forbidden[c] = true;
    for (const char c : std::string_view("<>&'\"=/!?;()[]{}^`|~,")) forbidden[c] = true;
    return forbidden;
  }();
  for (const char16_t c : name) {
    if (c < kForbidden.size() && kForbidden[c]) return false;
  }
  return true;
}

// Whether text[i] starts a character XML 1.0 can carry (no control characters but tab, line
// feed and carriage return, no U+FFFE or U+FFFF, no half of a surrogate pair); `units` is its
// length.
bool StartsXmlCharacter(std::u16string_view text, size_t i, size_t& units) {
  const char16_t c = text[i];
  units = 1;
  if (c >= 0xD800 && c <= 0xDBFF) {
    // A whole pair is a character beyond U+FFFF, which XML allows.
    units = 2;
    return i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
  }
  return IsXmlCharacter(c);  // a lone second half is a surrogate, which it does not
}

// Attribute values shown in a path are cut to this many bytes.
constexpr size_t kShownValueBytes = 40;

// The element (or the element of a text node) as a path from the root, each step with its
// first attribute, which in an export tells a group or a value from its siblings:
// /SERVICIO[@modulo="HORARIOS"]/BLOQUE_DATOS/grupo_datos[@seq="ACTIVIDAD_1"]/dato[...].
// A document is never deeper than kMaxElementDepth, so the path is bounded.
std::string ElementPath(pugi::xml_node node) {
  if (node.type() != pugi::node_element) node = node.parent();
  std::vector<std::string> steps;
  for (; node && node.type() == pugi::node_element; node = node.parent()) {
    std::string step = node.name();
    if (const pugi::xml_attribute first = node.first_attribute()) {
      std::string value = first.value();
      if (value.size() > kShownValueBytes) {
        size_t cut = kShownValueBytes;
        while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
        value = value.substr(0, cut) + "…";
      }
      step += std::string("[@") + first.name() + "=\"" + value + "\"]";
    }
    steps.push_back(std::move(step));
  }
  std::string path;
  for (auto step = steps.rbegin(); step != steps.rend(); ++step) path += "/" + *step;
  return path.empty() ? "/" : path;
}

// A saved document holding any other character would be refused by every reader, so the
// text is refused, naming the first such character and where the text was to go; the text is
// shown with a "?" for each of them.
[[noreturn]] void RefuseText(std::u16string_view text, const std::string& what) {
  std::u16string shown;
  char16_t first_bad = 0;
  bool bad = false;
  for (size_t i = 0, units = 1; i < text.size(); i += units) {
    if (StartsXmlCharacter(text, i, units)) {
      shown += text.substr(i, units);
      continue;
    }
    if (!bad) first_bad = text[i];
    bad = true;
    units = 1;
    shown += u'?';
  }
  char code[8];
  std::snprintf(code, sizeof code, "%04X", static_cast<unsigned>(first_bad));
  throw Error("No se puede " + what + " '" + Utf8(shown) + "': el carácter U+" + code +
              " no es válido en XML.");
}

// `what` gives the description of where the text was to go. It names the element by its
// path, which costs far more than the check, so it is only called for a text refused.
template <typename Description>
void CheckXmlCharacters(std::u16string_view text, const Description& what) {
  for (size_t i = 0, units = 1; i < text.size(); i += units) {
    if (!StartsXmlCharacter(text, i, units)) RefuseText(text, what());
  }
}

// A loaded document keeps the text an element begins with as the element's own value rather
// than as a text node (pugixml's parse_embed_pcdata): a node less for every value of an
// export. Where that text is asked for as a node, it becomes one, first among the children.
void MakeTextANode(pugi::xml_node element) {
  if (element.type() != pugi::node_element || *element.value() == '\0') return;
  const std::string text = element.value();
  element.text().set("");  // an element's own value is what its text() stands for
  element.prepend_child(pugi::node_pcdata).set_value(text.c_str());
}

// How deep an element appended to `node` would stand.
size_t DepthOfChild(pugi::xml_node node) {
  size_t depth = 1;
  for (; node && node.type() != pugi::node_document; node = node.parent()) ++depth;
  return depth;
}

}  // namespace

Node::Node() : handle_(nullptr) {}

Node::Node(const pugi::xml_node& node) : handle_(node.internal_object()) {}

Node::operator bool() const { return handle_ != nullptr; }

std::u16string Node::Name() const { return Utf16(Pugi(handle_).name()); }

std::u16string Node::Text() const {
  const pugi::xml_node node = Pugi(handle_);
  if (!node) return {};
  // A text node, or an element holding its text as its own value (MakeTextANode) and nothing
  // else, as nearly every value of an export does.
  if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata ||
      (node.type() == pugi::node_element && !node.first_child())) {
    return Utf16(node.value());
  }
  std::string text = node.value();
  // Depth first without recursion: deep documents must not exhaust the stack.
  pugi::xml_node current = node.first_child();
  while (current && current != node) {
    const pugi::xml_node_type type = current.type();
    if (type == pugi::node_pcdata || type == pugi::node_cdata || type == pugi::node_element) {
      text += current.value();
    }
    if (current.first_child()) {
      current = current.first_child();
      continue;
    }
    while (current != node && !current.next_sibling()) current = current.parent();
    if (current != node) current = current.next_sibling();
  }
  return text::Utf8ToUtf16(text);
}

std::u16string Node::Attribute(std::u16string_view name) const {
  return Utf16(Pugi(handle_).attribute(Utf8(name).c_str()).value());
}

Node Node::FirstChild() const {
  MakeTextANode(Pugi(handle_));
  return Node(Pugi(handle_).first_child());
}

Node Node::ChildElement(std::u16string_view name, size_t index) const {
  const std::string utf8_name = Utf8(name);
  for (const pugi::xml_node child : Pugi(handle_).children(utf8_name.c_str())) {
    if (child.type() == pugi::node_element && index-- == 0) return Node(child);
  }
  return Node();
}

size_t Node::ChildElementCount(std::u16string_view name) const {
  const std::string utf8_name = Utf8(name);
  size_t count = 0;
  for (const pugi::xml_node child : Pugi(handle_).children(utf8_name.c_str())) {
    if (child.type() == pugi::node_element) ++count;
  }
  return count;
}

NodeList Node::SelectNodes(std::u16string_view xpath) const {
  const pugi::xpath_query& query = CompiledQuery(Utf8(xpath));
  NodeList list;
  const pugi::xml_node node = Pugi(handle_);
  if (!node) return list;
  pugi::xpath_node_set found;
  try {
    found = query.evaluate_node_set(node);
  } catch (const pugi::xpath_exception&) {
    throw Error("La consulta XPath '" + Utf8(xpath) + "' no da un conjunto de nodos.");
  }
  found.sort();
  list.nodes_.reserve(found.size());
  for (const pugi::xpath_node& item : found) {
    if (!item.node()) {
      throw Error("La consulta XPath '" + Utf8(xpath) +
                  "' da atributos; solo se admiten consultas de nodos.");
    }
    list.nodes_.push_back(Node(item.node()));
  }
  return list;
}

Node Node::SelectSingleNode(std::u16string_view xpath) const { return SelectNodes(xpath).Item(0); }

Node Node::AppendElement(std::u16string_view name) {
  pugi::xml_node node = Writable(handle_, "añadir un elemento");
  if (!IsElementName(name)) {
    throw Error("No se puede añadir el elemento '" + Utf8(name) + "': el nombre no es válido.");
  }
  if (node.type() == pugi::node_document &&
      node.find_child([](pugi::xml_node n) { return n.type() == pugi::node_element; })) {
    throw Error("No se puede añadir el elemento '" + Utf8(name) +
                "': el documento ya tiene un elemento raíz.");
  }
  if (DepthOfChild(node) > kMaxElementDepth) {
    throw Error("No se puede añadir el elemento '" + Utf8(name) + "': quedaría anidado a más de " +
                std::to_string(kMaxElementDepth) + " niveles, el máximo que se admite.");
  }
  pugi::xml_node child = node.append_child(pugi::node_element);
  if (!child) {
    throw Error("No se puede añadir el elemento '" + Utf8(name) + "' a un nodo de este tipo.");
  }
  child.set_name(Utf8(name).c_str());
  return Node(child);
}

void Node::RemoveChild(const Node& child) {
  pugi::xml_node node = Writable(handle_, "quitar un nodo");
  if (!child || !node.remove_child(Pugi(child.handle_))) {
    throw Error("No se puede quitar el nodo: no es hijo de '" + Utf8(Name()) + "'.");
  }
}

void Node::SetAttribute(std::u16string_view name, std::u16string_view value) {
  pugi::xml_node node = Writable(handle_, "dar valor a un atributo");
  const std::string utf8_name = Utf8(name);
  if (!IsElementName(name)) {
    throw Error("No se puede dar valor al atributo '" + utf8_name + "': el nombre no es válido.");
  }
  CheckXmlCharacters(value, [&] {
    return "dar al atributo '" + utf8_name + "' del elemento " + ElementPath(node) + " el valor";
  });
  pugi::xml_attribute attribute = node.attribute(utf8_name.c_str());
  if (!attribute) attribute = node.append_attribute(utf8_name.c_str());
  if (!attribute) {
    throw Error("No se puede dar valor al atributo '" + utf8_name + "': el nodo '" + Utf8(Name()) +
                "' no es un elemento.");
  }
  attribute.set_value(Utf8(value).c_str());
}

void Node::SetText(std::u16string_view text) {
  pugi::xml_node node = Writable(handle_, "cambiar el texto");
  CheckXmlCharacters(text,
                     [&] { return "guardar en el elemento " + ElementPath(node) + " el texto"; });
  switch (node.type()) {
    case pugi::node_element:
      MakeTextANode(node);
      node.remove_children();
      if (!text.empty()) node.append_child(pugi::node_pcdata).set_value(Utf8(text).c_str());
      return;
    case pugi::node_pcdata:
    case pugi::node_cdata:
      node.set_value(Utf8(text).c_str());
      return;
    default:
      throw Error("No se puede cambiar el texto de un nodo que no es un elemento.");
  }
}

}  // namespace zentrova::xml
