#include "xml/parse_status.h"

#include "xml/text_position.h"

namespace zentrova::xml {
namespace {

const char* Describe(pugi::xml_parse_status status) {
  switch (status) {
    case pugi::status_ok:
      return "";
    case pugi::status_file_not_found:
      return "no se encuentra el archivo";
    case pugi::status_io_error:
      return "error de lectura";
    case pugi::status_out_of_memory:
      return "no hay memoria suficiente";
    case pugi::status_internal_error:
      return "error interno del analizador";
    case pugi::status_unrecognized_tag:
      return "etiqueta no reconocida";
    case pugi::status_bad_pi:
      return "instrucción de procesamiento o declaración XML mal formada";
    case pugi::status_bad_comment:
      return "comentario mal formado";
    case pugi::status_bad_cdata:
      return "sección CDATA mal formada";
    case pugi::status_bad_doctype:
      return "declaración de tipo de documento mal formada";
    case pugi::status_bad_pcdata:
      return "texto mal formado";
    case pugi::status_bad_start_element:
      return "etiqueta de apertura mal formada";
    case pugi::status_bad_attribute:
      return "atributo mal formado";
    case pugi::status_bad_end_element:
      return "etiqueta de cierre mal formada";
    case pugi::status_end_element_mismatch:
      return "la etiqueta de cierre no corresponde a la abierta, o falta cerrar un elemento";
    case pugi::status_append_invalid_root:
      return "nodo raíz no válido";
    case pugi::status_no_document_element:
      return "no hay elemento raíz";
  }
  return "error de formato";
}

}  // namespace

LoadResult FaultAt(std::string message, std::string_view utf8, size_t offset) {
  const TextPosition position = PositionIn(utf8, offset);
  LoadResult result;
  result.message = std::move(message);
  result.line = position.line;
  result.column = position.column;
  return result;
}

LoadResult DescribeParse(const pugi::xml_parse_result& result, std::string_view utf8) {
  if (result.status == pugi::status_ok) {
    LoadResult ok;
    ok.well_formed = true;
    return ok;
  }
  return FaultAt(Describe(result.status), utf8, static_cast<size_t>(result.offset));
}

}  // namespace zentrova::xml
