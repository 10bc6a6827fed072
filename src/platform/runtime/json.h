// A small JSON reader and writer for the tools' dumps and the fixtures' truth
// files. Strings hold bytes: "\u00XX" escapes and code points below 256 map to
// one byte each, so text of any code page survives a round trip.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/status.h"

namespace qv::json {

class Json {
 public:
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };

  Json() = default;
  static Json Bool(bool b);
  static Json Number(double d, std::string text = {});
  static Json String(std::string s);
  static Json Array();
  static Json Object();

  Kind kind() const { return kind_; }
  bool is_null() const { return kind_ == Kind::kNull; }
  bool boolean() const { return bool_; }
  double number() const { return number_; }
  // The number as written in the source text (e.g. "2.00"); "" when built.
  const std::string& number_text() const { return text_; }
  const std::string& str() const { return text_; }
  const std::vector<Json>& items() const { return items_; }
  std::vector<Json>& items() { return items_; }
  // Object members in source order.
  const std::vector<std::pair<std::string, Json>>& members() const { return members_; }

  // Member lookup; a null Json when absent or not an object.
  const Json& operator[](std::string_view key) const;
  const Json& operator[](size_t index) const { return items_[index]; }
  size_t size() const { return kind_ == Kind::kObject ? members_.size() : items_.size(); }
  bool Has(std::string_view key) const;

  void Push(Json item) { items_.push_back(std::move(item)); }
  void Set(std::string key, Json value);

 private:
  Kind kind_ = Kind::kNull;
  bool bool_ = false;
  double number_ = 0;
  std::string text_;
  std::vector<Json> items_;
  std::vector<std::pair<std::string, Json>> members_;
};

// Parses text; code points above 255 in strings are an error (InvalidArgument).
Result<Json> Parse(std::string_view text);

// Writes a string literal: printable ASCII as itself, every other byte b as
// the character U+00bb written "\u00bb" (lossless; pure ASCII output).
void AppendString(std::string* out, std::string_view bytes);
// Compact serialisation (one line), members in insertion order.
std::string Write(const Json& value);

}  // namespace qv::json
