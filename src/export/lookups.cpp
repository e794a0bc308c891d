#include "export/lookups.h"

#include <functional>

namespace zentrova::timetable_export {
namespace {

template <typename Map>
auto Find(const Map& map, const typename Map::key_type& key) -> const typename Map::mapped_type* {
  const auto found = map.find(key);
  return found == map.end() ? nullptr : &found->second;
}

// One pass over `table` in record order. The callers add with try_emplace, which leaves a
// key's entry alone once it has one, so the first record of every key is the one kept.
template <typename Add>
void ForEachRecord(store::Table& table, Add add) {
  for (table.First(); !table.Eof(); table.Next()) add();
}

}  // namespace

size_t TextPairHash::operator()(const TextPair& key) const {
  const std::hash<std::u16string> hash;
  const size_t first = hash(key.first);
  return first ^ (hash(key.second) + 0x9e3779b97f4a7c15ULL + (first << 6) + (first >> 2));
}

Lookups::Lookups(store::Table& asigt, store::Table& asignomt, store::Table& diashorast,
                 store::Table& grupost)
    : asigt_(asigt), asignomt_(asignomt), diashorast_(diashorast), grupost_(grupost) {}

const AssignmentCodes* Lookups::Assignment(const std::u16string& subject,
                                           const std::u16string& group) {
  if (!assignments_) {
    auto& index = assignments_.emplace();
    ForEachRecord(asigt_, [&] {
      index.try_emplace(TextPair{asigt_.AsText("CASIG"), asigt_.AsText("CGRUP")},
                        AssignmentCodes{asigt_.AsText("CLAVE"), asigt_.AsText("CLAVECURSO")});
    });
  }
  return Find(*assignments_, TextPair{subject, group});
}

const std::u16string* Lookups::ActivityCode(const std::u16string& subject) {
  if (!activity_codes_) {
    auto& index = activity_codes_.emplace();
    ForEachRecord(asignomt_, [&] {
      index.try_emplace(asignomt_.AsText("COD"), asignomt_.AsText("CODTAREA"));
    });
  }
  return Find(*activity_codes_, subject);
}

const SlotValues* Lookups::Slot(const std::u16string& slot_key, const std::u16string& frame_mark) {
  if (!slots_) {
    auto& index = slots_.emplace();
    ForEachRecord(diashorast_, [&] {
      index.try_emplace(
          TextPair{diashorast_.AsText("DIHO"), diashorast_.AsText("MARCO")},
          SlotValues{diashorast_.AsText("DIA"), diashorast_.AsText("CODDIHO"),
                     diashorast_.AsText("HORADESDE"), diashorast_.AsText("HORAHASTA")});
    });
  }
  return Find(*slots_, TextPair{slot_key, frame_mark});
}

const std::u16string* Lookups::Unit(const std::u16string& group) {
  if (!units_) {
    auto& index = units_.emplace();
    ForEachRecord(grupost_,
                  [&] { index.try_emplace(grupost_.AsText("ABREV"), grupost_.AsText("CLAVE")); });
  }
  return Find(*units_, group);
}

}  // namespace zentrova::timetable_export
