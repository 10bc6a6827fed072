// The headless front end's transcript: one event per line,
// EVENT<TAB>field<TAB>field..., in UTF-8. Fields arrive as the program holds
// text (code page 1252) and are converted; a backslash, carriage return, line
// feed or tab inside a field is written as \\, \r, \n or \t.
#pragma once

#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace qv::gui {

// A field as written: code page 1252 to UTF-8, then the escapes above.
std::string TranscriptField(std::string_view cp1252);

// A number of seconds as a transcript shows it: "2", "0.2", "2.35".
std::string SecondsText(double seconds);

class Transcript {
 public:
  // Writes to out, which must outlive the transcript; nullptr writes nothing.
  explicit Transcript(std::ostream* out) : out_(out) {}

  // One event line; flushed, so a run that ends abruptly keeps what it did.
  void Write(std::string_view event, std::initializer_list<std::string_view> fields = {});
  void Write(std::string_view event, const std::vector<std::string>& fields);

 private:
  template <typename Fields>
  void WriteLine(std::string_view event, const Fields& fields);

  std::ostream* out_;
};

}  // namespace qv::gui
