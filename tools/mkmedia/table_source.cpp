#include "table_source.h"

#include <cctype>

#include "cell_value.h"
#include "platform/rdd/dbf_format.h"
#include "source_text.h"

namespace qv::media {

int TableSource::FieldIndex(std::string_view name) const {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (rdd::SameFieldName(fields[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

std::string TableSource::BaseName() const {
  size_t dot = file_name.rfind('.');
  return dot == std::string::npos ? file_name : file_name.substr(0, dot);
}

namespace {

bool ParseInt(std::string_view s, int* out) {
  if (s.empty() || s.size() > 5) return false;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  *out = v;
  return true;
}

// "*", "@N" or "*@N".
bool IsRowMark(std::string_view cell) {
  if (cell == "*") return true;
  if (!cell.empty() && cell[0] == '*') cell.remove_prefix(1);
  if (cell.size() < 2 || cell[0] != '@') return false;
  for (char c : cell.substr(1)) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Line-by-line state of one parse.
class Parser {
 public:
  Parser(std::string_view source, TableSource* table, const SourceLoader& loader)
      : source_(source), table_(table), loader_(loader) {}

  Status Line(std::string_view raw, int number) {
    number_ = number;
    QV_ASSIGN_OR_RETURN(std::string line, ToCp1252(raw, Where()));
    if (in_rows_) return RowLine(line);
    std::string_view text = TrimSpace(line);
    if (text.empty() || text[0] == '#') return Status::OK();
    auto [word, rest] = FirstWord(text);
    if (word == "file") return Single(&table_->file_name, rest);
    if (word == "same") return Single(&table_->same_as, rest);
    if (word == "field") return Field(rest);
    if (word == "structure") return Structure(rest);
    if (word == "bag") return Single(&bag_, rest, /*allow_repeat=*/true);
    if (word == "tag") return Tag(rest);
    if (word == "for" || word == "unique" || word == "descending") return TagOption(word, rest);
    if (word == "rows") return Rows(rest);
    if (word == "soon") return Soon(rest);
    return Fail("unknown directive \"" + std::string(word) + "\"");
  }

  Status Finish() {
    if (!table_->same_as.empty()) {
      if (!table_->fields.empty() || !table_->tags.empty() || in_rows_) {
        return Status::InvalidArgument(std::string(source_) + ": \"same\" stands alone");
      }
      return Status::OK();
    }
    if (table_->fields.empty()) {
      return Status::InvalidArgument(std::string(source_) + ": no fields");
    }
    return Status::OK();
  }

 private:
  std::string Where() const { return std::string(source_) + ":" + std::to_string(number_); }
  Status Fail(const std::string& what) const {
    return Status::InvalidArgument(Where() + ": " + what);
  }

  Status Single(std::string* slot, std::string_view value, bool allow_repeat = false) {
    if (value.empty() || value.find_first_of(" \t") != std::string_view::npos) {
      return Fail("expects one word");
    }
    if (!slot->empty() && !allow_repeat) return Fail("given twice");
    *slot = std::string(value);
    return Status::OK();
  }

  // structure PATH: the fields and tags of another source, rows of this one
  Status Structure(std::string_view path) {
    if (!table_->fields.empty() || !table_->tags.empty()) return Fail("structure comes first");
    if (!loader_) return Fail("structure needs the sources around this one");
    Result<TableSource> other = loader_(path);
    if (!other.ok()) return Fail(other.status().message());
    table_->fields = other.value().fields;
    table_->tags = other.value().tags;
    return Status::OK();
  }

  // field NAME TYPE LENGTH [DECIMALS] [| heading [| description]]
  Status Field(std::string_view rest) {
    std::string_view words = rest;
    std::string_view notes;
    if (size_t bar = rest.find('|'); bar != std::string_view::npos) {
      words = TrimSpace(rest.substr(0, bar));
      notes = rest.substr(bar + 1);
    }
    FieldDef f;
    auto [name, r1] = FirstWord(words);
    auto [type, r2] = FirstWord(r1);
    auto [len, r3] = FirstWord(r2);
    auto [dec, r4] = FirstWord(r3);
    if (!r4.empty()) return Fail("field: too many words before \"|\"");
    f.name = UpperCase(name);
    if (type.size() != 1) return Fail("field " + f.name + ": type is one letter");
    f.type = static_cast<char>(std::toupper(static_cast<unsigned char>(type[0])));
    int fixed = f.type == 'D' ? 8 : f.type == 'L' ? 1 : f.type == 'M' ? 10 : 0;
    if (fixed != 0) {
      // D, L and M have fixed widths: the length may be left out.
      int given = fixed;
      if (!len.empty() && (!ParseInt(len, &given) || given != fixed)) {
        return Fail("field " + f.name + ": type " + std::string(1, f.type) + " is " +
                    std::to_string(fixed) + " wide");
      }
      f.length = fixed;
    } else if (!ParseInt(len, &f.length)) {
      return Fail("field " + f.name + ": length missing");
    }
    if (!dec.empty() && !ParseInt(dec, &f.decimals))
      return Fail("field " + f.name + ": bad decimals");
    if (Status s = CheckFieldDef(f); !s.ok()) return Fail(s.message());
    if (table_->FieldIndex(f.name) >= 0) return Fail("field " + f.name + " given twice");
    if (!notes.empty()) {
      size_t bar = notes.find('|');
      f.heading = std::string(TrimSpace(notes.substr(0, bar)));
      if (bar != std::string_view::npos)
        f.description = std::string(TrimSpace(notes.substr(bar + 1)));
    }
    table_->fields.push_back(std::move(f));
    return Status::OK();
  }

  // tag NAME KEY-EXPRESSION (the key is the rest of the line)
  Status Tag(std::string_view rest) {
    auto [name, key] = FirstWord(rest);
    if (name.empty() || key.empty()) return Fail("tag needs a name and a key");
    if (name.size() > 10) return Fail("tag name longer than 10");
    TagDef t;
    t.bag = bag_;
    t.name = UpperCase(name);
    t.key = std::string(key);
    table_->tags.push_back(std::move(t));
    return Status::OK();
  }

  Status TagOption(std::string_view word, std::string_view rest) {
    if (table_->tags.empty()) return Fail(std::string(word) + " before any tag");
    TagDef& t = table_->tags.back();
    if (word == "for") {
      if (rest.empty()) return Fail("for needs a condition");
      t.for_cond = std::string(rest);
    } else if (!rest.empty()) {
      return Fail(std::string(word) + " takes nothing");
    } else if (word == "unique") {
      t.unique = true;
    } else {
      t.descending = true;
    }
    return Status::OK();
  }

  // soon NAME... : commands whose menu rows say they are coming
  Status Soon(std::string_view names) {
    if (names.empty()) return Fail("soon needs command names");
    while (!names.empty()) {
      auto [name, rest] = FirstWord(names);
      table_->soon.push_back(UpperCase(name));
      names = rest;
    }
    return Status::OK();
  }

  // rows SEP | rows generated datadict
  Status Rows(std::string_view rest) {
    if (!table_->same_as.empty()) return Fail("\"same\" stands alone");
    auto [first, what] = FirstWord(rest);
    if (first == "generated") {
      if (what != "datadict") return Fail("rows generated datadict");
      table_->row_source = RowSource::kFieldDictionary;
      generated_ = true;
      return Status::OK();
    }
    if (generated_ || in_rows_) return Fail("rows given twice");
    if (rest.size() != 1 || std::isalnum(static_cast<unsigned char>(rest[0])) || rest[0] == '\\') {
      return Fail("rows needs one separator character (not a letter, digit or backslash)");
    }
    sep_ = rest[0];
    in_rows_ = true;
    return Status::OK();
  }

  Status RowLine(std::string_view line) {
    if (line.empty() || line[0] == '#') return Status::OK();
    QV_ASSIGN_OR_RETURN(SplitRow split, SplitCells(line, sep_, Where()));
    Row row;
    row.line = number_;
    row.cells = std::move(split.cells);
    // Row marks in a plain first cell: "*" deleted, "@N" record number N
    // (blank records fill the gap), "*@N" both.
    std::string mark = split.first_plain && row.cells.size() > 1 ? row.cells[0] : std::string();
    if (!IsRowMark(mark)) mark.clear();
    if (!mark.empty() && mark[0] == '*') {
      row.deleted = true;
      mark.erase(0, 1);
      row.cells.erase(row.cells.begin());
      if (!mark.empty()) row.cells.insert(row.cells.begin(), mark);
    }
    if (!mark.empty() && mark[0] == '@') {
      int recno = 0;
      if (!ParseInt(std::string_view(mark).substr(1), &recno) ||
          static_cast<size_t>(recno) <= table_->rows.size()) {
        return Fail("record mark " + mark + " must be a number beyond the rows so far");
      }
      while (table_->rows.size() + 1 < static_cast<size_t>(recno)) table_->rows.push_back(Row());
      row.cells.erase(row.cells.begin());
    }
    if (row.cells.size() > table_->fields.size()) {
      return Fail(std::to_string(row.cells.size()) + " cells for " +
                  std::to_string(table_->fields.size()) + " fields");
    }
    for (size_t i = 0; i < row.cells.size(); ++i) {
      if (Status s = CheckCell(table_->fields[i], row.cells[i]); !s.ok()) {
        return Fail(table_->fields[i].name + ": " + s.message());
      }
    }
    table_->rows.push_back(std::move(row));
    return Status::OK();
  }

  std::string_view source_;
  TableSource* table_;
  const SourceLoader& loader_;
  int number_ = 0;
  std::string bag_;
  bool in_rows_ = false;
  bool generated_ = false;
  char sep_ = '|';
};

}  // namespace

Result<TableSource> ParseTableSource(std::string_view text, std::string_view source,
                                     const SourceLoader& loader) {
  TableSource table;
  table.source = std::string(source);
  Parser parser(source, &table, loader);
  int number = 0;
  for (std::string_view line : SplitLines(text)) QV_RETURN_IF_ERROR(parser.Line(line, ++number));
  QV_RETURN_IF_ERROR(parser.Finish());
  if (table.file_name.empty()) {
    std::string_view base = source.substr(source.find_last_of("/\\") + 1);
    if (size_t dot = base.rfind('.'); dot != std::string_view::npos) base = base.substr(0, dot);
    table.file_name = std::string(base) + ".dbf";
  }
  return table;
}

}  // namespace qv::media
