// Every expression of fixtures/expr/cases.tsv gives the answer the reference
// runtime gave: the type letter, and the value (numbers compared by value).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "testing/testing.h"
#include "xbase_testing.h"

namespace qv::xb {
namespace {

struct Case {
  int line = 0;
  std::string text;
  char type = 0;
  std::string value;
};

std::vector<Case> ReadCases(const std::string& path) {
  std::vector<Case> cases;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  for (int n = 1; std::getline(in, line); ++n) {
    size_t tab1 = line.find('\t');
    size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == std::string::npos || tab2 != tab1 + 2) continue;
    cases.push_back({n, line.substr(0, tab1), line[tab1 + 1], line.substr(tab2 + 1)});
  }
  return cases;
}

TEST(ExprCasesTest, EveryCaseGivesTheReferenceAnswer) {
  QV_REQUIRE_SHARED();
  qv::testing::TempDir dir;
  std::vector<Case> cases = ReadCases(qv::testing::CopyFixture("expr/cases.tsv", dir.path()));
  ASSERT_GE(cases.size(), 90u) << "cases.tsv was not read";

  rt::Session session;
  testing::ApplyReferenceSettings(session);
  Host host{session};
  for (const Case& c : cases) {
    SCOPED_TRACE("cases.tsv line " + std::to_string(c.line) + ": " + c.text);
    std::string shown = testing::Show(host, c.text);
    ASSERT_GE(shown.size(), 2u) << shown;
    EXPECT_EQ(shown[0], c.type) << shown;
    std::string value = shown.substr(2);
    if (c.type == 'N') {
      EXPECT_DOUBLE_EQ(std::strtod(value.c_str(), nullptr), std::strtod(c.value.c_str(), nullptr));
    } else {
      EXPECT_EQ(value, c.value);
    }
  }
}

}  // namespace
}  // namespace qv::xb
