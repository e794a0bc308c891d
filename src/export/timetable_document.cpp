#include "export/timetable_document.h"

#include "import/exchange_document.h"
#include "text/clipper.h"
#include "text/encoding.h"
#include "text/integer.h"

namespace zentrova::timetable_export {
namespace {

using import::kDataBlockPath;

}  // namespace

std::optional<std::u16string> CheckChosenExport(const xml::Document& document,
                                                const xml::LoadResult& load,
                                                const std::filesystem::path& file) {
  if (auto problem = import::EnvelopeProblem(document, load, file)) {
    return *problem + u" " + kNothingWritten;
  }
  if (!document.SelectSingleNode(kDataBlockPath).FirstChild()) {
    return u"El archivo " + text::PathText(file) +
           u" no trae el año académico: su elemento SERVICIO/BLOQUE_DATOS está vacío. " +
           kNothingWritten;
  }
  return std::nullopt;
}

std::u16string AcademicYear(const xml::Document& document) {
  std::u16string year =
      text::LeftChars(document.SelectSingleNode(kDataBlockPath).FirstChild().Text(), 4);
  // Four UTF-16 units; a character outside the Basic Multilingual Plane that the cut splits
  // is left out whole rather than saved as half a surrogate pair.
  if (!year.empty() && year.back() >= 0xD800 && year.back() <= 0xDBFF) year.pop_back();
  return year;
}

void EmptyDocument(xml::Document& document) {
  xml::Node root = document.DocumentElement();
  root.RemoveChild(root.SelectSingleNode(kDataBlockPath));
  document.Root().RemoveChild(document.SelectSingleNode(u"/SERVICIO"));
}

xml::Node WriteEnvelope(xml::Document& document, const std::u16string& fecha,
                        const std::u16string& academic_year, int teachers) {
  xml::Node servicio = document.Root().AppendElement(u"SERVICIO");
  servicio.SetAttribute(u"modulo", u"HORARIOS");
  servicio.SetAttribute(u"tipo", u"I");
  servicio.SetAttribute(u"autor", u"HORARIOS");
  servicio.SetAttribute(u"fecha", fecha);
  xml::Node block = servicio.AppendElement(u"BLOQUE_DATOS");

  xml::Node year_group = block.AppendElement(u"grupo_datos");
  year_group.SetAttribute(u"seq", u"ANNO_ACADEMICO");
  AppendValue(year_group, u"C_ANNO", academic_year);

  xml::Node timetables = block.AppendElement(u"grupo_datos");
  timetables.SetAttribute(u"seq", u"HORARIOS_REGULARES");
  timetables.SetAttribute(u"registros", text::IntegerText(teachers));
  return timetables;
}

void AppendValue(xml::Node& group, std::u16string_view name, std::u16string_view value) {
  xml::Node dato = group.AppendElement(u"dato");
  dato.SetAttribute(u"nombre_dato", name);
  dato.SetText(value);
}

std::filesystem::path ResultPath(const std::filesystem::path& chosen) {
  std::filesystem::path name(u"ResultadoOrbelin");
  name += chosen.filename();
  return chosen.parent_path() / name;
}

}  // namespace zentrova::timetable_export
