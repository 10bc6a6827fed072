// Tables as JSON, for `xbtool dump` and `xbtool create --from`:
//   {"fields":[{"name","type","len","dec"}...],
//    "records":[{"recno","deleted","values":{FIELD: value, ...}}...]}
// C and N are the exact stored text, L true/false, D "YYYYMMDD" or "", M the
// memo text. Every byte b of a text is the character U+00bb, so a dump is
// lossless and pure ASCII.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/fs/env.h"
#include "platform/rdd/table.h"
#include "platform/runtime/json.h"

namespace qv::rdd {

struct DumpOptions {
  // Show bytes 0x80..0x9F as the code page 1252 characters they stand for
  // (not lossless; for reading only).
  bool cp1252 = false;
};

// Writes table's JSON to sink in pieces. Stops at the first failure.
Status DumpJson(Table& table, const DumpOptions& options,
                const std::function<Status(std::string_view)>& sink);

// Creates the table at path (and its memo file) from JSON in the dump form.
// A record's "values" may also be an array in field order (the fixtures'
// truth files). InvalidArgument naming what is wrong in the JSON.
Status CreateFromJson(fs::Env& env, const std::string& path, const json::Json& doc,
                      rt::Date today = rt::Date());

}  // namespace qv::rdd
