#include "platform/xbase/win_file_access.h"

#include <cstdio>
#include <ctime>

namespace qv::xb {

bool WinFileAccess::Exists(std::string_view pattern) { return fs_.Exists(pattern); }

Result<std::vector<FileEntry>> WinFileAccess::List(std::string_view pattern,
                                                   std::string_view attributes) {
  bool with_dirs = attributes.find('D') != std::string_view::npos ||
                   attributes.find('d') != std::string_view::npos;
  QV_ASSIGN_OR_RETURN(std::vector<fs::DirEntry> entries, fs_.List(pattern, with_dirs));
  std::vector<FileEntry> out;
  out.reserve(entries.size());
  for (const fs::DirEntry& e : entries) {
    FileEntry entry;
    entry.name = e.name;
    entry.size = e.info.is_dir ? 0 : e.info.size;
    std::time_t seconds = static_cast<std::time_t>(e.info.mtime);
    std::tm local{};
    if (localtime_r(&seconds, &local) != nullptr) {
      entry.date = rt::Date::FromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
      char buf[16];
      std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
      entry.time = buf;
    }
    entry.attributes = e.info.is_dir ? "D" : "";
    out.push_back(std::move(entry));
  }
  return out;
}

}  // namespace qv::xb
