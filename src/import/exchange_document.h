#ifndef ZENTROVA_IMPORT_EXCHANGE_DOCUMENT_H_
#define ZENTROVA_IMPORT_EXCHANGE_DOCUMENT_H_

// Reading the exchange document: a data group's records, by the group's name, and a record's
// values by position. Names in `nombre_dato` are never consulted: position alone identifies
// a value.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "xml/document.h"

namespace zentrova::import {

// One record of a data group: its `dato` children, in document order, and where it stands
// among the records of its group. It holds only the record's node: values are found when
// they are asked for.
class Record {
 public:
  Record(const xml::Node& record, size_t index) : record_(record), index_(index) {}

  // The record's index among the records of its group, from 0.
  size_t index() const { return index_; }

  size_t ValueCount() const { return record_.ChildElementCount(kValue); }
  // Records with fewer than two values are skipped by the table converters.
  bool HasTwoValues() const { return ValueCount() >= 2; }
  // The text of the value at `position`, untrimmed; empty for a position that does not exist.
  std::u16string Raw(size_t position) const;
  // The value at `position` through AllTrim.
  std::u16string Value(size_t position) const;

 private:
  static constexpr char16_t kValue[] = u"dato";

  xml::Node record_;
  size_t index_;
};

// Where the data groups of an exchange document stand.
inline constexpr char16_t kDataBlockPath[] = u"/SERVICIO/BLOQUE_DATOS";

// Why a loaded file cannot be read as an exchange document: it is not well formed, or it has
// no /SERVICIO/BLOQUE_DATOS. A Spanish sentence naming the file and the cause, or nothing.
std::optional<std::u16string> EnvelopeProblem(const xml::Document& document,
                                              const xml::LoadResult& load,
                                              const std::filesystem::path& file);

// The query that selects a group's records (not the group itself).
std::u16string GroupQuery(std::u16string_view group);

// The records of every data group of that name, in document order.
std::vector<Record> ReadGroup(const xml::Document& document, std::u16string_view group);

// Group names.
inline constexpr char16_t kMaterias[] = u"MATERIAS";
inline constexpr char16_t kActividades[] = u"ACTIVIDADES";
inline constexpr char16_t kEmpleados[] = u"EMPLEADOS";
inline constexpr char16_t kDependencias[] = u"DEPENDENCIAS";
inline constexpr char16_t kCursosDelCentro[] = u"CURSOS_DEL_CENTRO";
inline constexpr char16_t kUnidades[] = u"UNIDADES";
inline constexpr char16_t kJornadasEscolares[] = u"JORNADAS_ESCOLARES";
inline constexpr char16_t kTramosHorarios[] = u"TRAMOS_HORARIOS";

// Where each value stands in a record of each group (Record::Value, Record::Raw).
namespace materias {
inline constexpr size_t kCourse = 0, kKey = 1, kName = 2;
}
namespace actividades {
inline constexpr size_t kCode = 1, kName = 2;
}
namespace empleados {
inline constexpr size_t kEmployee = 0, kTakenOffice = 1, kDepartment = 2, kFirstSurname = 3,
                        kSecondSurname = 4, kGivenName = 5;
}
namespace dependencias {
inline constexpr size_t kCode = 0, kName = 1;
}
namespace cursos_del_centro {
inline constexpr size_t kCode = 0, kName = 1;
}
namespace unidades {
inline constexpr size_t kCode = 0, kName = 1, kCourse = 2;
}
// A time frame: its code, name, first and last day.
namespace jornadas_escolares {
inline constexpr size_t kCode = 0, kName = 1, kStart = 2, kEnd = 3;
}
// A slot: its code, its text, its start and end (minutes of the day) and its frame's code.
namespace tramos_horarios {
inline constexpr size_t kCode = 0, kText = 1, kStart = 2, kEnd = 3, kFrame = 4;
}

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_EXCHANGE_DOCUMENT_H_
