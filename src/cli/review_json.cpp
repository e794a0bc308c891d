// The review's report for programs. Records are counted from 1, as in the text report and the
// conversion's messages; reasons and kinds are fixed English words.

#include <nlohmann/json.hpp>

#include "cli/review.h"
#include "text/encoding.h"

namespace zentrova::cli {
namespace {

using Json = nlohmann::ordered_json;

std::string Utf8(const std::u16string& text) { return text::Utf16ToUtf8(text); }

Json Texts(const std::vector<std::u16string>& texts) {
  Json array = Json::array();
  for (const auto& text : texts) array.push_back(Utf8(text));
  return array;
}

size_t RecordNumber(size_t index) { return index + 1; }

const char* ReasonName(import::SkipReason reason) {
  using import::SkipReason;
  switch (reason) {
    case SkipReason::kFewerThanTwoValues:
      return "fewer_than_two_values";
    case SkipReason::kSubjectNameRepeated:
      return "subject_name_repeated";
    case SkipReason::kSubjectNotFound:
      return "subject_not_found";
    case SkipReason::kSubjectWithoutCode:
      return "subject_without_code";
    case SkipReason::kCourseWithoutGroups:
      return "course_without_groups";
    case SkipReason::kFrameNotChosen:
      return "frame_not_chosen";
    case SkipReason::kFrameCodeTooLong:
      return "frame_code_too_long";
  }
  return "";
}

Json GroupJson(const import::GroupReport& group) {
  Json json = {{"group", Utf8(group.group)},
               {"records", group.records},
               {"records_with_rows", group.records_with_rows},
               {"skipped", Json::array()},
               {"notices", Json::array()},
               {"changed_codes", Json::array()},
               {"changed_values", Json::array()},
               {"repeated_codes", Json::array()}};
  for (const auto& skip : group.skipped) {
    json["skipped"].push_back({{"record", RecordNumber(skip.record)},
                               {"reason", ReasonName(skip.reason)},
                               {"values", Texts(skip.values)}});
  }
  for (const auto& notice : group.notices) {
    const bool level = notice.kind == import::NoticeKind::kCourseNotInLevelTable;
    json["notices"].push_back(
        {{"record", RecordNumber(notice.record)},
         {"kind", level ? "course_not_in_level_table" : "group_course_missing"},
         {"values", Texts(notice.values)}});
  }
  for (const auto& code : group.changed_codes) {
    const bool suffixed = code.change == import::CodeChange::kSuffixed;
    json["changed_codes"].push_back({{"record", RecordNumber(code.record)},
                                     {"field", code.field},
                                     {"change", suffixed ? "suffixed" : "shortened"},
                                     {"before", Utf8(code.before)},
                                     {"after", Utf8(code.after)}});
  }
  for (const auto& repeat : group.repeated_codes) {
    json["repeated_codes"].push_back({{"record", RecordNumber(repeat.record)},
                                      {"field", repeat.field},
                                      {"code", Utf8(repeat.code)},
                                      {"earlier_record", RecordNumber(repeat.earlier_record)}});
  }
  for (const auto& change : group.changed_values) {
    const import::AlteredValue& value = change.value;
    json["changed_values"].push_back({{"record", RecordNumber(change.record)},
                                      {"field", change.field},
                                      {"width", value.width},
                                      {"given", Utf8(value.given)},
                                      {"stored", Utf8(value.stored)},
                                      {"cut", value.cut},
                                      {"replaced", Texts(value.replaced)}});
  }
  return json;
}

Json TablesJson(const std::vector<import::GroupReport>& groups) {
  Json tables = Json::array();
  for (const auto& group : groups) {
    if (tables.empty() || tables.back()["table"] != group.table) {
      tables.push_back({{"table", group.table}, {"groups", Json::array()}});
    }
    tables.back()["groups"].push_back(GroupJson(group));
  }
  return tables;
}

Json FramesJson(const Review& review) {
  Json frames = Json::array();
  for (const FrameSummary& frame : review.frames) {
    frames.push_back({{"code", Utf8(frame.code)},
                      {"name", Utf8(frame.name)},
                      {"start", Utf8(frame.start)},
                      {"end", Utf8(frame.end)},
                      {"slots", Texts(frame.slots)},
                      {"marcos", frame.marcos ? Json(Utf8(*frame.marcos)) : Json()}});
  }
  return frames;
}

}  // namespace

std::string ReviewJson(const Review& review) {
  Json chosen = Json::array();
  if (review.chosen) {
    chosen.push_back(Utf8(review.chosen->a));
    if (!review.chosen->b.empty()) chosen.push_back(Utf8(review.chosen->b));
  }
  const Json json = {{"file", text::PathUtf8(review.file)},
                     {"converts", !review.stop},
                     {"stop", review.stop ? Json(Utf8(*review.stop)) : Json()},
                     {"frames", FramesJson(review)},
                     {"chosen_frames", chosen},
                     {"tables", TablesJson(review.groups)}};
  // Texts are valid UTF-8; a path that is not is shown with the replacement character.
  return json.dump(2, ' ', false, Json::error_handler_t::replace);
}

}  // namespace zentrova::cli
