#include "platform/runtime/json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qv::json {

Json Json::Bool(bool b) {
  Json j;
  j.kind_ = Kind::kBool;
  j.bool_ = b;
  return j;
}

Json Json::Number(double d, std::string text) {
  Json j;
  j.kind_ = Kind::kNumber;
  j.number_ = d;
  j.text_ = std::move(text);
  return j;
}

Json Json::String(std::string s) {
  Json j;
  j.kind_ = Kind::kString;
  j.text_ = std::move(s);
  return j;
}

Json Json::Array() {
  Json j;
  j.kind_ = Kind::kArray;
  return j;
}

Json Json::Object() {
  Json j;
  j.kind_ = Kind::kObject;
  return j;
}

const Json& Json::operator[](std::string_view key) const {
  static const Json kNull;
  for (const auto& [k, v] : members_) {
    if (k == key) return v;
  }
  return kNull;
}

bool Json::Has(std::string_view key) const {
  for (const auto& member : members_) {
    if (member.first == key) return true;
  }
  return false;
}

void Json::Set(std::string key, Json value) {
  for (auto& member : members_) {
    if (member.first == key) {
      member.second = std::move(value);
      return;
    }
  }
  members_.emplace_back(std::move(key), std::move(value));
}

namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  Result<Json> ParseDocument() {
    Json value;
    QV_RETURN_IF_ERROR(ParseValue(&value, 0));
    SkipBlanks();
    if (pos_ != text_.size()) return Fail("text after the value");
    return value;
  }

 private:
  static constexpr int kMaxDepth = 200;

  Status Fail(const char* what) const {
    return Status::InvalidArgument("JSON at offset " + std::to_string(pos_) + ": " + what);
  }

  void SkipBlanks() {
    while (pos_ < text_.size() &&
           (text_[pos_] == ' ' || text_[pos_] == '\n' || text_[pos_] == '\r' ||
            text_[pos_] == '\t')) {
      ++pos_;
    }
  }

  bool Consume(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  Status ParseValue(Json* out, int depth) {
    if (depth > kMaxDepth) return Fail("nested too deeply");
    SkipBlanks();
    if (pos_ >= text_.size()) return Fail("unexpected end");
    char c = text_[pos_];
    if (c == '{') return ParseObject(out, depth);
    if (c == '[') return ParseArray(out, depth);
    if (c == '"') {
      std::string s;
      QV_RETURN_IF_ERROR(ParseString(&s));
      *out = Json::String(std::move(s));
      return Status::OK();
    }
    if (Consume("true")) {
      *out = Json::Bool(true);
      return Status::OK();
    }
    if (Consume("false")) {
      *out = Json::Bool(false);
      return Status::OK();
    }
    if (Consume("null")) {
      *out = Json();
      return Status::OK();
    }
    return ParseNumber(out);
  }

  Status ParseNumber(Json* out) {
    size_t start = pos_;
    if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
    while (pos_ < text_.size() &&
           ((text_[pos_] >= '0' && text_[pos_] <= '9') || text_[pos_] == '.' ||
            text_[pos_] == 'e' || text_[pos_] == 'E' || text_[pos_] == '+' ||
            text_[pos_] == '-')) {
      ++pos_;
    }
    std::string number(text_.substr(start, pos_ - start));
    if (number.empty() || number == "-") return Fail("expected a value");
    char* end = nullptr;
    double d = std::strtod(number.c_str(), &end);
    if (end != number.c_str() + number.size()) return Fail("bad number");
    *out = Json::Number(d, number);
    return Status::OK();
  }

  Status ParseHex4(unsigned* code) {
    if (pos_ + 4 > text_.size()) return Fail("short \\u escape");
    unsigned v = 0;
    for (int i = 0; i < 4; ++i) {
      char h = text_[pos_++];
      v <<= 4;
      if (h >= '0' && h <= '9') v |= static_cast<unsigned>(h - '0');
      else if (h >= 'a' && h <= 'f') v |= static_cast<unsigned>(h - 'a' + 10);
      else if (h >= 'A' && h <= 'F') v |= static_cast<unsigned>(h - 'A' + 10);
      else return Fail("bad \\u escape");
    }
    *code = v;
    return Status::OK();
  }

  // Raw UTF-8 in the source is decoded to its code point, which must fit a byte.
  Status ParseUtf8(std::string* out) {
    auto lead = static_cast<unsigned char>(text_[pos_]);
    if ((lead & 0xE0) == 0xC0 && pos_ + 1 < text_.size()) {
      unsigned cp = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(text_[pos_ + 1]) & 0x3Fu);
      if (cp > 0xFF) return Fail("character beyond U+00FF");
      out->push_back(static_cast<char>(cp));
      pos_ += 2;
      return Status::OK();
    }
    return Fail("character beyond U+00FF");
  }

  Status ParseString(std::string* out) {
    ++pos_;  // opening quote
    while (true) {
      if (pos_ >= text_.size()) return Fail("unterminated string");
      char c = text_[pos_];
      if (c == '"') {
        ++pos_;
        return Status::OK();
      }
      if (static_cast<unsigned char>(c) >= 0x80) {
        QV_RETURN_IF_ERROR(ParseUtf8(out));
        continue;
      }
      ++pos_;
      if (c != '\\') {
        out->push_back(c);
        continue;
      }
      if (pos_ >= text_.size()) return Fail("unterminated escape");
      char e = text_[pos_++];
      switch (e) {
        case '"': out->push_back('"'); break;
        case '\\': out->push_back('\\'); break;
        case '/': out->push_back('/'); break;
        case 'b': out->push_back('\b'); break;
        case 'f': out->push_back('\f'); break;
        case 'n': out->push_back('\n'); break;
        case 'r': out->push_back('\r'); break;
        case 't': out->push_back('\t'); break;
        case 'u': {
          unsigned code = 0;
          QV_RETURN_IF_ERROR(ParseHex4(&code));
          if (code > 0xFF) return Fail("character beyond U+00FF");
          out->push_back(static_cast<char>(code));
          break;
        }
        default: return Fail("bad escape");
      }
    }
  }

  Status ParseArray(Json* out, int depth) {
    ++pos_;
    *out = Json::Array();
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == ']') {
      ++pos_;
      return Status::OK();
    }
    while (true) {
      Json item;
      QV_RETURN_IF_ERROR(ParseValue(&item, depth + 1));
      out->Push(std::move(item));
      SkipBlanks();
      if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (pos_ < text_.size() && text_[pos_] == ']') {
        ++pos_;
        return Status::OK();
      }
      return Fail("expected , or ]");
    }
  }

  Status ParseObject(Json* out, int depth) {
    ++pos_;
    *out = Json::Object();
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == '}') {
      ++pos_;
      return Status::OK();
    }
    while (true) {
      SkipBlanks();
      if (pos_ >= text_.size() || text_[pos_] != '"') return Fail("expected a member name");
      std::string key;
      QV_RETURN_IF_ERROR(ParseString(&key));
      SkipBlanks();
      if (pos_ >= text_.size() || text_[pos_] != ':') return Fail("expected :");
      ++pos_;
      Json value;
      QV_RETURN_IF_ERROR(ParseValue(&value, depth + 1));
      out->Set(std::move(key), std::move(value));
      SkipBlanks();
      if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (pos_ < text_.size() && text_[pos_] == '}') {
        ++pos_;
        return Status::OK();
      }
      return Fail("expected , or }");
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
};

void WriteTo(std::string* out, const Json& value) {
  switch (value.kind()) {
    case Json::Kind::kNull: *out += "null"; break;
    case Json::Kind::kBool: *out += value.boolean() ? "true" : "false"; break;
    case Json::Kind::kNumber: {
      if (!value.number_text().empty()) {
        *out += value.number_text();
      } else {
        char buf[32];
        double d = value.number();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15) {
          std::snprintf(buf, sizeof buf, "%.0f", d);
        } else {
          std::snprintf(buf, sizeof buf, "%.17g", d);
        }
        *out += buf;
      }
      break;
    }
    case Json::Kind::kString: AppendString(out, value.str()); break;
    case Json::Kind::kArray: {
      *out += '[';
      bool first = true;
      for (const Json& item : value.items()) {
        if (!first) *out += ',';
        first = false;
        WriteTo(out, item);
      }
      *out += ']';
      break;
    }
    case Json::Kind::kObject: {
      *out += '{';
      bool first = true;
      for (const auto& [key, member] : value.members()) {
        if (!first) *out += ',';
        first = false;
        AppendString(out, key);
        *out += ':';
        WriteTo(out, member);
      }
      *out += '}';
      break;
    }
  }
}

}  // namespace

Result<Json> Parse(std::string_view text) { return Parser(text).ParseDocument(); }

void AppendString(std::string* out, std::string_view bytes) {
  static const char kHex[] = "0123456789abcdef";
  *out += '"';
  for (char ch : bytes) {
    auto b = static_cast<unsigned char>(ch);
    if (b == '"' || b == '\\') {
      *out += '\\';
      *out += ch;
    } else if (b >= 0x20 && b < 0x7F) {
      *out += ch;
    } else {
      *out += "\\u00";
      *out += kHex[b >> 4];
      *out += kHex[b & 15];
    }
  }
  *out += '"';
}

std::string Write(const Json& value) {
  std::string out;
  WriteTo(&out, value);
  return out;
}

}  // namespace qv::json
