#include "platform/gui/script/transcript.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qv::gui {
namespace {

TEST(TranscriptTest, EscapesControlCharactersInsideFields) {
  std::ostringstream out;
  Transcript t(&out);
  t.Write("MESSAGE", {"a\\b", "line1\r\nline2", "tab\there"});
  EXPECT_EQ(out.str(), "MESSAGE\ta\\\\b\tline1\\r\\nline2\ttab\\there\n");
}

TEST(TranscriptTest, ConvertsCodePage1252ToUtf8) {
  EXPECT_EQ(TranscriptField("\x80 caf\xE9"), "\xE2\x82\xAC caf\xC3\xA9");
  EXPECT_EQ(TranscriptField(""), "");
}

TEST(TranscriptTest, EventWithoutFieldsAndANullStream) {
  std::ostringstream out;
  Transcript(&out).Write("BEEP");
  EXPECT_EQ(out.str(), "BEEP\n");
  Transcript(nullptr).Write("BEEP", {"x"});  // writes nowhere, does not crash
}

TEST(TranscriptTest, SecondsDropTrailingZeros) {
  EXPECT_EQ(SecondsText(2), "2");
  EXPECT_EQ(SecondsText(0.2), "0.2");
  EXPECT_EQ(SecondsText(2.35), "2.35");
  EXPECT_EQ(SecondsText(0), "0");
}

}  // namespace
}  // namespace qv::gui
