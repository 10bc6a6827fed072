#include "mem_source.h"

#include <algorithm>
#include <vector>

#include "cell_value.h"
#include "platform/runtime/mem_file.h"
#include "source_text.h"

namespace qv::media {

Result<std::string> BuildMemFile(std::string_view text, std::string_view source) {
  std::vector<rt::MemVariable> vars;
  int number = 0;
  for (std::string_view raw : SplitLines(text)) {
    ++number;
    std::string where = std::string(source) + ":" + std::to_string(number);
    QV_ASSIGN_OR_RETURN(std::string line, ToCp1252(raw, where));
    if (TrimSpace(line).empty() || TrimSpace(line)[0] == '#') continue;
    auto [name, rest] = FirstWord(line);
    auto [type, value] = FirstWord(rest);
    FieldDef f{std::string(name), type.size() == 1 ? type[0] : '?', 0, 0, {}, {}};
    if (f.type == 'C') {
      // The value keeps its blanks: everything after the type and one blank.
      size_t after = static_cast<size_t>(type.data() - line.data()) + type.size();
      value = std::string_view(line).substr(std::min(after + 1, line.size()));
      QV_ASSIGN_OR_RETURN(SplitRow split, SplitCells(value, '\0', where));
      vars.push_back({f.name, rt::Value(split.cells[0])});
      continue;
    }
    f.length = f.type == 'N' ? 20 : f.type == 'D' ? 8 : 1;
    f.decimals = f.type == 'N' ? 6 : 0;
    if (Status s = CheckFieldDef(f); !s.ok() || f.type == 'M' || value.empty()) {
      return Status::InvalidArgument(where + ": NAME C|N|L|D VALUE");
    }
    if (Status s = CheckCell(f, value); !s.ok()) {
      return Status::InvalidArgument(where + ": " + s.message());
    }
    rt::Value v = CellValue(f, value);
    if (f.type == 'N') {
      // The stored width and decimals are those of the number as written.
      size_t point = value.find('.');
      int dec = point == std::string_view::npos ? 0 : static_cast<int>(value.size() - point - 1);
      v = rt::Value::Num(v.num(), dec > 0 ? 10 + dec + 1 : 10, dec);
    }
    vars.push_back({f.name, std::move(v)});
  }
  return rt::EncodeMem(vars);
}

}  // namespace qv::media
