// FileAccess over the Windows-path resolver: FILE() and DIRECTORY() see the
// mapped drives, short names and DOS wildcards that the program's paths use.
// Dates and times of entries are the host's local time.
#pragma once

#include <string_view>
#include <vector>

#include "platform/fs/win_fs.h"
#include "platform/xbase/file_access.h"

namespace qv::xb {

class WinFileAccess : public FileAccess {
 public:
  // REQUIRES: fs outlives this object.
  explicit WinFileAccess(fs::WinFs& fs) : fs_(fs) {}

  bool Exists(std::string_view pattern) override;
  // Folders (attribute "D") only when attributes holds "D".
  Result<std::vector<FileEntry>> List(std::string_view pattern,
                                      std::string_view attributes) override;

 private:
  fs::WinFs& fs_;
};

}  // namespace qv::xb
