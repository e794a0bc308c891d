#include "xml/streaming_save.h"

#include <pugixml.hpp>
#include <vector>

#include "files/file_error.h"
#include "xml/saved_text.h"

namespace zentrova::xml {
namespace {

// The bytes are handed to the file in pieces of about this size.
constexpr size_t kPieceBytes = 1 << 16;

// Whether nothing of the document follows `node` but the end tags of its ancestors.
bool EndsTheDocument(pugi::xml_node node) {
  for (; node && node.type() != pugi::node_document; node = node.parent()) {
    if (node.next_sibling()) return false;
  }
  return true;
}

[[noreturn]] void FailInternal(const files::FileReplacement& file, const std::string& cause) {
  throw Error("Error interno al guardar el archivo " + files::PathForMessage(file.target()) + ": " +
              cause + ".");
}

}  // namespace

StreamingSave::StreamingSave(Document& document, Node open, files::FileReplacement& file)
    : document_(document), open_(open), file_(file) {
  const pugi::xml_node element(static_cast<pugi::xml_node_struct*>(open_.handle_));
  if (element.type() != pugi::node_element || element.first_child() ||
      element.root() != *document_.document_ || !EndsTheDocument(element)) {
    FailInternal(file_, "el elemento abierto no es el último del documento");
  }
  // From the top-level element down to the open one.
  std::vector<pugi::xml_node> chain;
  for (pugi::xml_node node = element; node.type() != pugi::node_document; node = node.parent()) {
    chain.insert(chain.begin(), node);
  }
  text_ = document_.StartSavedText(file.target());
  for (pugi::xml_node top = document_.document_->first_child(); top != chain.front();
       top = top.next_sibling()) {
    text_->AddNode(top);
  }
  for (size_t i = 0; i + 1 < chain.size(); ++i) {
    text_->AddStartTag(chain[i]);
    for (pugi::xml_node child = chain[i].first_child(); child != chain[i + 1];
         child = child.next_sibling()) {
      text_->AddNode(child);
    }
  }
  WriteOut();
}

StreamingSave::~StreamingSave() = default;

void StreamingSave::Write(Node child) {
  pugi::xml_node element(static_cast<pugi::xml_node_struct*>(open_.handle_));
  const pugi::xml_node written(static_cast<pugi::xml_node_struct*>(child.handle_));
  if (!written || element.first_child() != written || written.next_sibling()) {
    FailInternal(file_, "el nodo no es el único hijo del elemento abierto");
  }
  if (!open_started_) text_->AddStartTag(element);
  open_started_ = true;
  text_->AddNode(written);
  element.remove_child(written);
  if (text_->bytes().size() >= kPieceBytes) WriteOut();
}

void StreamingSave::Finish() {
  const pugi::xml_node element(static_cast<pugi::xml_node_struct*>(open_.handle_));
  if (!EndsTheDocument(element)) {
    FailInternal(file_, "se añadió algo después del elemento abierto");
  }
  if (!open_started_) {
    text_->AddNode(element);  // with no child written, "<name .../>" as Save writes it
  } else {
    for (const pugi::xml_node child : element.children()) text_->AddNode(child);
    text_->AddEndTag(element);
  }
  for (pugi::xml_node node = element; node.type() != pugi::node_document;) {
    node = node.parent();
    if (node.type() == pugi::node_element) text_->AddEndTag(node);
  }
  text_->Finish();
  WriteOut();
  file_.Commit();
}

void StreamingSave::WriteOut() {
  file_.Append(text_->bytes());
  text_->bytes().clear();
}

}  // namespace zentrova::xml
