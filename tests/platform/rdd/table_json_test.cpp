// The dump form of xbtool: fields, then records keyed by field name, every
// byte of text kept; create --from reads the same form back.
#include <gtest/gtest.h>

#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

std::string Dump(Table& table, bool cp1252 = false) {
  std::string out;
  DumpOptions options;
  options.cp1252 = cp1252;
  EXPECT_TRUE(DumpJson(table, options, [&](std::string_view piece) {
                out.append(piece);
                return Status::OK();
              }).ok());
  return out;
}

TEST(TableJsonTest, DumpAndCreateRoundTrip) {
  auto env = fs::NewMemEnv();
  const std::string source = R"({"fields":[
    {"name":"CODE","type":"C","len":4,"dec":0},{"name":"AMOUNT","type":"N","len":8,"dec":2},
    {"name":"WHEN","type":"D","len":8,"dec":0},{"name":"OK","type":"L","len":1,"dec":0},
    {"name":"TEXT","type":"M","len":10,"dec":0}],
   "records":[
    {"recno":1,"deleted":false,"values":{"CODE":"\u0080\u00fc\u0000x","AMOUNT":"   -1.50",
      "WHEN":"20240229","OK":true,"TEXT":"line\r\n\u008d\n"}},
    {"recno":2,"deleted":true,"values":{"CODE":"b","AMOUNT":3.25,"WHEN":"","OK":false,"TEXT":""}}]})";
  auto doc = json::Parse(source);
  ASSERT_TRUE(doc.ok());
  ASSERT_TRUE(CreateFromJson(*env, "/j.dbf", *doc, testutil::kToday).ok());
  auto table = Table::Open(*env, "/j.dbf", testutil::Shared());
  ASSERT_TRUE(table.ok());
  const std::string dump = Dump(**table);
  auto back = json::Parse(dump);
  ASSERT_TRUE(back.ok()) << dump;
  const json::Json& r1 = (*back)["records"][0];
  EXPECT_EQ(r1["values"]["CODE"].str(), std::string("\x80\xfc\0x", 4));
  EXPECT_EQ(r1["values"]["AMOUNT"].str(), "   -1.50");
  EXPECT_EQ(r1["values"]["WHEN"].str(), "20240229");
  EXPECT_TRUE(r1["values"]["OK"].boolean());
  EXPECT_EQ(r1["values"]["TEXT"].str(), "line\r\n\x8d\n");
  const json::Json& r2 = (*back)["records"][1];
  EXPECT_TRUE(r2["deleted"].boolean());
  EXPECT_EQ(r2["values"]["CODE"].str(), "b   ");
  EXPECT_EQ(r2["values"]["AMOUNT"].str(), "    3.25");
  EXPECT_EQ(r2["values"]["WHEN"].str(), "");
  // Dumping what we dumped gives the same text again.
  ASSERT_TRUE(CreateFromJson(*env, "/k.dbf", *back, testutil::kToday).ok());
  auto again = Table::Open(*env, "/k.dbf", testutil::Shared());
  EXPECT_EQ(Dump(**again), dump);
  // The code page 1252 view shows the euro sign as itself.
  EXPECT_NE(Dump(**again, true).find("\\u20ac"), std::string::npos);
}

TEST(TableJsonTest, CreateRefusesMalformedInput) {
  auto env = fs::NewMemEnv();
  const std::vector<std::string> bad = {
      R"({"records":[]})",
      R"({"fields":[{"name":"A","type":"CC","len":1,"dec":0}],"records":[]})",
      R"({"fields":[{"name":"A","type":"L","len":1,"dec":0}],"records":[{"values":{"A":"T"}}]})",
      R"({"fields":[{"name":"A","type":"D","len":8,"dec":0}],"records":[{"values":{"A":"20241301"}}]})",
  };
  for (const std::string& text : bad) {
    auto doc = json::Parse(text);
    ASSERT_TRUE(doc.ok());
    EXPECT_TRUE(CreateFromJson(*env, "/bad.dbf", *doc).IsInvalidArgument()) << text;
  }
}

}  // namespace
}  // namespace qv::rdd
