#include "platform/gui/script/transcript.h"

#include <cmath>
#include <cstdio>

#include "platform/runtime/text.h"

namespace qv::gui {

std::string TranscriptField(std::string_view cp1252) {
  const std::string utf8 = rt::Cp1252ToUtf8(cp1252);
  std::string out;
  out.reserve(utf8.size());
  for (char c : utf8) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

std::string SecondsText(double seconds) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", std::round(seconds * 100) / 100);
  std::string text = buf;
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

void Transcript::Write(std::string_view event, std::initializer_list<std::string_view> fields) {
  WriteLine(event, fields);
}

void Transcript::Write(std::string_view event, const std::vector<std::string>& fields) {
  WriteLine(event, fields);
}

template <typename Fields>
void Transcript::WriteLine(std::string_view event, const Fields& fields) {
  if (out_ == nullptr) return;
  std::string line(event);
  for (const auto& f : fields) {
    line.push_back('\t');
    line += TranscriptField(f);
  }
  line.push_back('\n');
  *out_ << line;
  out_->flush();
}

}  // namespace qv::gui
