#include "import/exchange_document.h"

#include <gtest/gtest.h>

#include "import/vetrana_to_orbelin_fixture.h"

namespace zentrova::import {
namespace {

class ExchangeDocumentTest : public testing::ConverterTest {};

TEST_F(ExchangeDocumentTest, RecordsOfEveryGroupOfTheNameInDocumentOrder) {
  const auto& document = Load({{"MATERIAS", {{"a", " b "}}},
                               {"UNIDADES", {{"u", "v"}}},
                               {"MATERIAS", {{"c"}, {"d", "e", "f"}}}});
  const std::vector<Record> records = ReadGroup(document, kMaterias);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].Raw(1), u" b ");
  EXPECT_EQ(records[0].Value(1), u"b");
  EXPECT_TRUE(records[0].HasTwoValues());
  EXPECT_FALSE(records[1].HasTwoValues());
  EXPECT_EQ(records[2].Value(2), u"f");
  EXPECT_EQ(records[2].Value(7), u"");
  EXPECT_TRUE(ReadGroup(document, kEmpleados).empty());
}

}  // namespace
}  // namespace zentrova::import
