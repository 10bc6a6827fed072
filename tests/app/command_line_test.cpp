// The command line's forms and faults.
#include "app/command_line.h"

#include <gtest/gtest.h>

namespace qv::app {
namespace {

struct Case {
  std::vector<std::string> args;
  bool ok;
  bool headless = false;
  std::string script;
  std::string transcript;
};

TEST(CommandLine, FormsAndFaults) {
  const Case cases[] = {
      {{}, true, false, "", ""},
      {{"--headless"}, true, true, "", ""},
      {{"--script", "s.txt"}, true, true, "s.txt", ""},
      {{"--script=s.txt", "--transcript", "t.txt"}, true, true, "s.txt", "t.txt"},
      {{"--transcript", "t.txt", "--headless"}, true, true, "", "t.txt"},
      {{"--bogus"}, false, false, "", ""},
      {{"menuset.dbf"}, false, false, "", ""},
      {{"--script"}, false, false, "", ""},
      {{"--script="}, false, false, "", ""},
      {{"--script", "a", "--script", "b"}, false, false, "", ""},
      {{"--transcript", "t.txt"}, false, false, "", ""},  // a transcript needs a headless form
  };
  for (const Case& c : cases) {
    std::string joined;
    for (const std::string& a : c.args) joined += a + " ";
    Result<CommandLine> line = ParseCommandLine(c.args);
    ASSERT_EQ(line.ok(), c.ok) << joined;
    if (!c.ok) continue;
    EXPECT_EQ(line->headless, c.headless) << joined;
    EXPECT_EQ(line->script_file, c.script) << joined;
    EXPECT_EQ(line->transcript_file, c.transcript) << joined;
    EXPECT_FALSE(line->help);
  }
}

TEST(CommandLine, HelpWinsAndTellsTheForms) {
  Result<CommandLine> line = ParseCommandLine({"--transcript", "t", "--help"});
  ASSERT_TRUE(line.ok());
  EXPECT_TRUE(line->help);
  const std::string usage = UsageText();
  for (const char* part : {"--headless", "--script FILE", "--transcript FILE", "choose CAPTION",
                           "press cancel after N", "QUORVANTA_DRIVES", "  3 "}) {
    EXPECT_NE(usage.find(part), std::string::npos) << part;
  }
}

}  // namespace
}  // namespace qv::app
