#include "import/code_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentrova::import {
namespace {

// Each step asks for a unique form of `code`; `add` says whether the caller then keeps it.
struct Step {
  std::u16string code;
  bool add;
  std::u16string expected;
};

struct SuffixCase {
  const char* name;
  CodeList::Comparison comparison;
  std::vector<std::u16string> taken;
  std::vector<Step> steps;
};

TEST(CodeListTest, MakeUniqueGivesTheSmallestFreeSuffix) {
  using Comparison = CodeList::Comparison;
  const std::vector<SuffixCase> cases = {
      {"a free code is its own", Comparison::kExact, {u"MAT"}, {{u"LEN", true, u"LEN"}}},
      {"suffixes count up as codes are kept",
       Comparison::kExact,
       {u"MAT"},
       {{u"MAT", true, u"MAT1"}, {u"MAT", true, u"MAT2"}, {u"MAT", true, u"MAT3"}}},
      {"a suffixed code taken before is skipped",
       Comparison::kExact,
       {u"MAT", u"MAT2"},
       {{u"MAT", true, u"MAT1"}, {u"MAT", true, u"MAT3"}}},
      {"a suffixed code taken in between is skipped",
       Comparison::kExact,
       {u"A"},
       {{u"A", true, u"A1"}, {u"A3", true, u"A3"}, {u"A", true, u"A2"}, {u"A", true, u"A4"}}},
      {"a suffix the caller does not keep is offered again",
       Comparison::kExact,
       {u"A"},
       {{u"A", false, u"A1"}, {u"A", false, u"A1"}, {u"A", true, u"A1"}, {u"A", true, u"A2"}}},
      {"letter case counts in an exact list",
       Comparison::kExact,
       {u"mat"},
       {{u"MAT", true, u"MAT"}, {u"mat", true, u"mat1"}}},
      {"without regard to case, accents included",
       Comparison::kIgnoringCase,
       {u"ángel", u"ÁNGEL1"},
       {{u"Ángel", true, u"Ángel2"}, {u"áNGEL", true, u"áNGEL3"}}},
  };
  for (const SuffixCase& c : cases) {
    SCOPED_TRACE(c.name);
    CodeList list(c.comparison);
    for (const std::u16string& code : c.taken) list.Add(code);
    for (const Step& step : c.steps) {
      const std::u16string unique = list.MakeUnique(step.code);
      EXPECT_EQ(unique, step.expected);
      if (step.add) list.Add(unique);
    }
  }
}

TEST(CodeListTest, ClearForgetsCodesAndSuffixes) {
  CodeList list(CodeList::Comparison::kExact);
  list.Add(u"A");
  list.Add(list.MakeUnique(u"A"));
  list.Clear();
  EXPECT_FALSE(list.Contains(u"A1"));
  list.Add(u"A");
  EXPECT_EQ(list.MakeUnique(u"A"), u"A1");
}

}  // namespace
}  // namespace zentrova::import
