// What FILE() and DIRECTORY() need of the file system, in Windows paths.
// The caller wires it to the Windows-path resolver; the evaluator does not
// know how drives and short names are found.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/status.h"
#include "platform/runtime/date.h"

namespace qv::xb {

// One DIRECTORY() row.
struct FileEntry {
  std::string name;  // as stored
  uint64_t size = 0;
  rt::Date date;           // last written, local time
  std::string time;        // "hh:mm:ss"
  std::string attributes;  // "" for a plain file, "D" for a folder, "H", "R"...
};

class FileAccess {
 public:
  virtual ~FileAccess() = default;
  // A file matches the path, whose last part may hold * and ? (FILE()).
  virtual bool Exists(std::string_view pattern) = 0;
  // Entries matching the pattern, in a stable order. attributes holds the
  // letters of DIRECTORY()'s second argument: "D" adds folders, "H" and "S"
  // hidden and system entries. A missing folder gives an empty list.
  virtual Result<std::vector<FileEntry>> List(std::string_view pattern,
                                              std::string_view attributes) = 0;
};

}  // namespace qv::xb
