#include "import/exchange_document.h"

#include "text/clipper.h"

namespace zentrova::import {

Record::Record(const xml::Node& record) : values_(record.SelectNodes(u"dato")) {}

std::u16string Record::Raw(size_t position) const {
  const xml::Node value = values_.Item(position);
  return value ? value.Text() : std::u16string();
}

std::u16string Record::Value(size_t position) const { return text::AllTrim(Raw(position)); }

std::u16string GroupQuery(std::u16string_view group) {
  return u"/SERVICIO/BLOQUE_DATOS/grupo_datos[@seq=\"" + std::u16string(group) + u"\"]/grupo_datos";
}

std::vector<Record> ReadGroup(const xml::Document& document, std::u16string_view group) {
  const xml::NodeList nodes = document.SelectNodes(GroupQuery(group));
  std::vector<Record> records;
  records.reserve(nodes.Length());
  for (size_t i = 0; i < nodes.Length(); ++i) records.emplace_back(nodes.Item(i));
  return records;
}

}  // namespace zentrova::import
