#include "import/exchange_document.h"

#include "text/clipper.h"
#include "text/encoding.h"
#include "text/integer.h"

namespace zentrova::import {

std::u16string Record::Raw(size_t position) const {
  const xml::Node value = record_.ChildElement(kValue, position);
  return value ? value.Text() : std::u16string();
}

std::u16string Record::Value(size_t position) const { return text::AllTrim(Raw(position)); }

std::optional<std::u16string> EnvelopeProblem(const xml::Document& document,
                                              const xml::LoadResult& load,
                                              const std::filesystem::path& file) {
  if (!load.well_formed) {
    return u"El archivo " + text::PathText(file) + u" no es un XML válido (línea " +
           text::IntegerText(static_cast<long long>(load.line)) + u", columna " +
           text::IntegerText(static_cast<long long>(load.column)) + u"): " +
           text::Utf8ToUtf16(load.message) + u".";
  }
  if (!document.SelectSingleNode(kDataBlockPath)) {
    return u"El archivo " + text::PathText(file) +
           u" no es una exportación de Vetrana: le falta el elemento SERVICIO/BLOQUE_DATOS.";
  }
  return std::nullopt;
}

std::u16string GroupQuery(std::u16string_view group) {
  return u"/SERVICIO/BLOQUE_DATOS/grupo_datos[@seq=\"" + std::u16string(group) + u"\"]/grupo_datos";
}

std::vector<Record> ReadGroup(const xml::Document& document, std::u16string_view group) {
  const xml::NodeList nodes = document.SelectNodes(GroupQuery(group));
  std::vector<Record> records;
  records.reserve(nodes.Length());
  for (size_t i = 0; i < nodes.Length(); ++i) records.emplace_back(nodes.Item(i), i);
  return records;
}

}  // namespace zentrova::import
