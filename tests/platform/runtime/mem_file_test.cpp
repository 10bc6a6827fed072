#include "platform/runtime/mem_file.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "platform/runtime/json.h"
#include "platform/runtime/number.h"
#include "platform/runtime/procedures.h"
#include "platform/runtime/session.h"
#include "testing/testing.h"

namespace qv::rt {
namespace {

Session MakeSessionAt2026() { return Session(Clock::Frozen(Date::FromYmd(2026, 1, 2), 0)); }

// Checks the decoded variables against the truth file, as a set.
void ExpectMatchesTruth(const std::vector<MemVariable>& vars, const json::Json& truth) {
  std::map<std::string, const MemVariable*> by_name;
  for (const MemVariable& v : vars) by_name[v.name] = &v;
  ASSERT_EQ(by_name.size(), vars.size()) << "duplicate names";
  ASSERT_EQ(vars.size(), truth["vars"].size());
  for (const json::Json& t : truth["vars"].items()) {
    const std::string& name = t["name"].str();
    SCOPED_TRACE(name);
    ASSERT_EQ(by_name.count(name), 1u);
    const Value& value = by_name[name]->value;
    ASSERT_EQ(std::string(1, TypeLetter(value.type())), t["type"].str());
    switch (value.type()) {
      case Type::kString:
        EXPECT_EQ(value.str(), t["value"].str());
        EXPECT_EQ(value.str().size(), static_cast<size_t>(t["len"].number()));
        break;
      case Type::kNumber:
        EXPECT_NEAR(value.num(), t["value"].number(), 1e-9);
        EXPECT_EQ(Str(value.number()), t["str"].str());
        break;
      case Type::kDate:
        EXPECT_EQ(value.date().empty() ? "" : value.date().Dtos(), t["value"].str());
        break;
      case Type::kLogical:
        EXPECT_EQ(value.logical(), t["value"].boolean());
        break;
      default:
        ADD_FAILURE() << "unexpected type";
    }
  }
}

class MemFileTest : public ::testing::Test {
 protected:
  std::string Fixture(const std::string& name) {
    return testing::CopyFixture("xbase/" + name, dir.path());
  }
  json::Json Truth(const std::string& name) {
    auto parsed = json::Parse(testing::ReadHostFile(Fixture(name + ".json")));
    EXPECT_TRUE(parsed.ok()) << parsed.status().ToString();
    return parsed.ok() ? parsed.value() : json::Json();
  }

  testing::TempDir dir;
  std::unique_ptr<fs::Env> env = fs::NewHostEnv();
  Session session = MakeSessionAt2026();
};

TEST_F(MemFileTest, ReadsTheFixturesAsTheirTruthFilesSay) {
  QV_REQUIRE_SHARED();
  for (const char* name : {"vars.mem", "novars.mem"}) {
    SCOPED_TRACE(name);
    std::string bytes = testing::ReadHostFile(Fixture(name));
    auto vars = DecodeMem(bytes, name);
    ASSERT_TRUE(vars.ok()) << vars.status().ToString();
    ExpectMatchesTruth(vars.value(), Truth(name));
    // What we write from what we read is the file again, byte for byte.
    EXPECT_EQ(EncodeMem(vars.value()), bytes);
  }
}

TEST_F(MemFileTest, SavingTheFixturesVariablesGivesItsBytes) {
  QV_REQUIRE_SHARED();
  // The variables as the program that wrote vars.mem created them.
  Session& s = session;
  s.DeclarePrivate("cName", Value("Hello, World"));
  s.DeclarePrivate("cEmpty", Value(""));
  s.DeclarePrivate("cHigh", Value("Gr\xFC\xDF"
                                  "e \x80\xFF"));
  s.DeclarePrivate("cSpaces", Value("  padded  "));
  std::string long_text;
  for (int i = 0; i < 500; ++i) long_text.push_back(static_cast<char>('0' + i % 10));
  s.DeclarePrivate("cLong", Value(long_text));
  s.DeclarePrivate("nInt", Value(LiteralNumber("42")));
  s.DeclarePrivate("nNeg", Value(Negate(LiteralNumber("17"))));
  s.DeclarePrivate("nZero", Value(LiteralNumber("0")));
  s.DeclarePrivate("nDec", Value(LiteralNumber("3.14159")));
  s.DeclarePrivate("nNegDec", Value(Negate(LiteralNumber("0.5"))));
  s.DeclarePrivate("nBig", Value(LiteralNumber("1234567890123")));
  s.DeclarePrivate("nMoney", Value(LiteralNumber("1234.56")));
  s.DeclarePrivate("nCalc",
                   Value(Divide(LiteralNumber("10"), LiteralNumber("3"), kDefaultDecimals)));
  s.DeclarePrivate("lTrue", Value(true));
  s.DeclarePrivate("lFalse", Value(false));
  s.DeclarePrivate("dDate", Value(Date::FromYmd(2024, 2, 29)));
  s.DeclarePrivate("dEmpty", Value(Date()));
  s.DeclarePrivate("LongVariableName", Value("name longer than 10 chars"));
  // Not storable: skipped.
  s.DeclarePrivate("aList", Value::Array({Value::Int(1)}));
  s.DeclarePrivate("uNil", Value());

  std::string out = dir.Sub("out.mem");
  ASSERT_TRUE(SaveMem(*env, out, s).ok());
  EXPECT_EQ(testing::ReadHostFile(out), testing::ReadHostFile(Fixture("vars.mem")));

  ASSERT_TRUE(SaveMem(*env, out, s, "nomatch*").ok());
  EXPECT_EQ(testing::ReadHostFile(out), testing::ReadHostFile(Fixture("novars.mem")));
}

TEST_F(MemFileTest, RestoreAssignsExistingVariablesAndMakesTheRestPrivate) {
  std::unique_ptr<fs::Env> mem = fs::NewMemEnv();
  session.DeclarePublic("SAVEFILTER");
  session.DeclarePrivate("savefilter", Value("CODE = 'A'"));
  session.DeclarePrivate("RENTRATE", Value(LiteralNumber("12.5")));
  session.DeclarePrivate("RENTDAYS", Value::Int(7));
  ASSERT_TRUE(SaveMem(*mem, "/savflt1.mem", session, "savefilter").ok());
  ASSERT_TRUE(SaveMem(*mem, "/rental.mem", session, "savefilter", /*except=*/true).ok());

  session.procedures().Register("CMRESTFILTER", [&](Session& s, std::span<Value>) {
    EXPECT_TRUE(RestoreMem(*mem, "/rental.mem", s, /*additive=*/true).ok());
    EXPECT_TRUE(RestoreMem(*mem, "/savflt1.mem", s, /*additive=*/true).ok());
    return Value(s.vars().depth() == 2 && s.Find("RENTRATE") != nullptr);
  });
  session.Release("RENTRATE");
  session.Release("savefilter");  // the public shows again, still false
  *session.Find("RENTDAYS") = Value::Int(0);
  EXPECT_TRUE(Call(session, "CMRESTFILTER", {}).logical());
  // SAVEFILTER and RENTDAYS existed: assigned. RENTRATE did not: a private of
  // the routine, gone with it.
  EXPECT_EQ(session.Find("SAVEFILTER")->str(), "CODE = 'A'");
  EXPECT_EQ(session.Find("RENTDAYS")->num(), 7);
  EXPECT_EQ(session.Find("RENTRATE"), nullptr);
}

TEST_F(MemFileTest, RoundTripKeepsValuesWidthsAndBytes) {
  std::unique_ptr<fs::Env> mem = fs::NewMemEnv();
  std::string every_byte;
  for (int b = 0; b < 256; ++b) every_byte.push_back(static_cast<char>(b));
  std::vector<MemVariable> vars = {
      {"S", Value(every_byte)},
      {"EMPTY", Value("")},
      {"BIG", Value(std::string(70000, 'x'))},
      {"N", Value(Number{-12.345, 9, 3})},
      {"D1", Value(Date::FromYmd(1, 1, 1))},
      {"D2", Value(Date::FromYmd(9999, 12, 31))},
      {"T", Value(true)},
  };
  auto back = DecodeMem(EncodeMem(vars), "x.mem");
  ASSERT_TRUE(back.ok()) << back.status().ToString();
  std::map<std::string, Value> got;
  for (auto& v : back.value()) got[v.name] = v.value;
  EXPECT_EQ(got["S"].str(), every_byte);
  EXPECT_EQ(got["EMPTY"].str(), "");
  EXPECT_EQ(got["BIG"].str().size(), 65534u);  // the 16-bit length holds no more
  EXPECT_EQ(got["N"].num(), -12.345);
  EXPECT_EQ(Str(got["N"].number()), "  -12.345");
  EXPECT_EQ(got["D1"].date(), Date::FromYmd(1, 1, 1));
  EXPECT_EQ(got["D2"].date(), Date::FromYmd(9999, 12, 31));
  EXPECT_TRUE(got["T"].logical());
  EXPECT_EQ(EncodeMem(back.value()), EncodeMem(vars));
}

TEST_F(MemFileTest, NamesCutToTenKeepOneVariable) {
  std::vector<MemVariable> vars = {{"LONGVARIABLE1", Value("one")},
                                   {"LONGVARIABLE2", Value("two")}};
  auto back = DecodeMem(EncodeMem(vars), "x.mem");
  ASSERT_TRUE(back.ok());
  ASSERT_EQ(back.value().size(), 1u);
  EXPECT_EQ(back.value()[0].name, "LONGVARIAB");
}

TEST_F(MemFileTest, DamagedFilesAreCorruption) {
  std::string good = EncodeMem({{"A", Value("text")}, {"B", Value::Int(5)}});
  std::string bad_type = good;
  bad_type[11] = static_cast<char>(0xC1);  // 'A' | 0x80
  // B (a number: header + 8 bytes) comes first, then A's header.
  std::string long_string = good;
  long_string[40 + 16] = static_cast<char>(0xFF);
  const std::string cases[] = {
      good.substr(0, good.size() - 1),  // no end mark
      good.substr(0, 20),               // cut header
      good.substr(0, 40),               // cut value
      bad_type,
      long_string,
      "",
  };
  for (const std::string& bytes : cases) {
    auto vars = DecodeMem(bytes, "x.mem");
    ASSERT_FALSE(vars.ok()) << bytes.size();
    EXPECT_TRUE(vars.status().IsCorruption()) << vars.status().ToString();
  }
  // Type letters without bit 7 (as other writers store them) read the same.
  std::string plain = good;
  plain[11] = 'N';  // the first record is B (descending order)
  EXPECT_TRUE(DecodeMem(plain, "x.mem").ok());
}

// Damaged copies of the fixture either decode or are Corruption; never more.
TEST_F(MemFileTest, FlippedBytesNeverCrashTheReader) {
  QV_REQUIRE_SHARED();
  const std::string good = testing::ReadHostFile(Fixture("vars.mem"));
  std::mt19937 random(20261211);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes = good;
    for (int flips = 1 + round % 4; flips > 0; --flips) {
      bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
    }
    if (round % 3 == 0) bytes.resize(random() % bytes.size());
    auto vars = DecodeMem(bytes, "vars.mem");
    EXPECT_TRUE(vars.ok() || vars.status().IsCorruption()) << vars.status().ToString();
  }
}

TEST_F(MemFileTest, RestoreOfAMissingFileIsNotFound) {
  std::unique_ptr<fs::Env> mem = fs::NewMemEnv();
  EXPECT_TRUE(RestoreMem(*mem, "/none.mem", session, true).IsNotFound());
}

}  // namespace
}  // namespace qv::rt
