#ifndef ZENTROVA_EXPORT_TIMETABLE_DOCUMENT_H_
#define ZENTROVA_EXPORT_TIMETABLE_DOCUMENT_H_

// The chosen export as the frame of the result: its academic year is read, its content
// thrown away and the envelope of regular timetables written in its place. The top-level
// nodes outside the root (the declaration, comments) stay as they were.

#include <filesystem>
#include <optional>
#include <string>

#include "xml/document.h"

namespace zentrova::timetable_export {

// What every stop of the second direction before its result is saved ends with.
inline constexpr char16_t kNothingWritten[] = u"No se ha escrito ningún archivo.";

// Why a loaded export cannot give the run its academic year: not well formed, no
// /SERVICIO/BLOQUE_DATOS, or one without a first child. A Spanish message naming the file,
// or nothing when the export can be used.
std::optional<std::u16string> CheckChosenExport(const xml::Document& document,
                                                const xml::LoadResult& load,
                                                const std::filesystem::path& file);

// The first four characters of the text of the first child of /SERVICIO/BLOQUE_DATOS (the
// whole text when shorter). The export must have passed CheckChosenExport.
std::u16string AcademicYear(const xml::Document& document);

// Removes /SERVICIO/BLOQUE_DATOS from the root, then the root SERVICIO from the document.
void EmptyDocument(xml::Document& document);

// Appends SERVICIO (modulo="HORARIOS" tipo="I" autor="HORARIOS" fecha=`fecha`) to the
// document, with BLOQUE_DATOS holding the group ANNO_ACADEMICO (dato C_ANNO = `academic_year`)
// and the group HORARIOS_REGULARES (registros = `teachers`). Gives HORARIOS_REGULARES, where
// the teacher groups go.
xml::Node WriteEnvelope(xml::Document& document, const std::u16string& fecha,
                        const std::u16string& academic_year, int teachers);

// Appends to `group` a value of the exchange envelope: <dato nombre_dato="name">value</dato>
// (an empty value leaves the element without text).
void AppendValue(xml::Node& group, std::u16string_view name, std::u16string_view value);

// Where the result of `chosen` is saved: its folder, "ResultadoOrbelin" and its file name
// with extension (C:\Datos\centro.xml gives C:\Datos\ResultadoOrbelincentro.xml).
std::filesystem::path ResultPath(const std::filesystem::path& chosen);

}  // namespace zentrova::timetable_export

#endif  // ZENTROVA_EXPORT_TIMETABLE_DOCUMENT_H_
