#include "platform/fs/drive_map.h"

#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <vector>

#include "platform/fs/detail/host_path.h"

namespace qv::fs {
namespace {

using detail::IsWithin;
using detail::NormalizeHostPath;

std::string Trim(std::string_view s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string_view::npos) return "";
  size_t e = s.find_last_not_of(" \t");
  return std::string(s.substr(b, e - b + 1));
}

Status CheckNesting(const DriveMap& map) {
  for (const auto& [a, root_a] : map.roots) {
    for (const auto& [b, root_b] : map.roots) {
      if (a != b && IsWithin(root_b, root_a)) {
        return Status::InvalidArgument(std::string("drive map: ") + b + "=" + root_b +
                                       " lies inside " + a + "=" + root_a +
                                       "; nested drives are refused");
      }
    }
  }
  return Status::OK();
}

}  // namespace

Result<DriveMap> ParseDriveMap(std::string_view text, const std::string& host_cwd) {
  DriveMap map;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find(';', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string entry = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (entry.empty()) continue;
    size_t eq = entry.find('=');
    std::string letter = eq == std::string::npos ? entry : Trim(entry.substr(0, eq));
    if (letter.size() == 2 && letter[1] == ':') letter.pop_back();
    char drive = letter.size() == 1
                     ? static_cast<char>(std::toupper(static_cast<unsigned char>(letter[0])))
                     : '\0';
    std::string folder = eq == std::string::npos ? "" : Trim(entry.substr(eq + 1));
    if (drive < 'A' || drive > 'Z' || folder.empty()) {
      return Status::InvalidArgument("drive map: \"" + entry +
                                     "\" is not LETTER=FOLDER (for example C=/srv/pos/c)");
    }
    if (map.roots.count(drive)) {
      return Status::InvalidArgument(std::string("drive map: drive ") + drive + " is given twice");
    }
    map.roots[drive] = NormalizeHostPath(folder, host_cwd);
  }
  QV_RETURN_IF_ERROR(CheckNesting(map));
  return map;
}

Result<DriveMap> MakeDriveMap(const DriveSettings& settings) {
  DriveMap map;
  if (settings.drives_set) {
    QV_ASSIGN_OR_RETURN(map, ParseDriveMap(settings.drives, settings.start_dir));
  }
  if (!map.roots.count('C')) {
    std::string data = !settings.xdg_data_home.empty() && settings.xdg_data_home[0] == '/'
                           ? settings.xdg_data_home
                           : settings.home + "/.local/share";
    if (data[0] != '/') {
      return Status::InvalidArgument(
          "drive map: neither XDG_DATA_HOME nor HOME is set for drive C");
    }
    map.roots['C'] = NormalizeHostPath(data + "/quorvanta/c", "/");
  }
  if (settings.canonical) {
    for (auto& entry : map.roots) entry.second = settings.canonical(entry.second);
  }
  QV_RETURN_IF_ERROR(CheckNesting(map));

  std::string start = NormalizeHostPath(settings.start_dir, "/");
  if (settings.canonical) start = settings.canonical(start);
  for (const auto& [letter, root] : map.roots) {
    if (!IsWithin(start, root)) continue;
    map.current = letter;
    map.current_dir =
        start.size() > root.size() ? start.substr(root == "/" ? 1 : root.size() + 1) : "";
    return map;
  }
  for (char letter = 'D'; letter <= 'Z'; ++letter) {
    if (map.roots.count(letter)) continue;
    for (const auto& [other, root] : map.roots) {
      if (IsWithin(root, start)) {
        return Status::InvalidArgument(
            std::string("drive map: the start folder ") + start + " would become drive " + letter +
            " but holds drive " + other + " (" + root +
            "); nested drives are refused. Start in another folder or set QUORVANTA_DRIVES");
      }
    }
    map.roots[letter] = start;
    map.current = letter;
    map.current_dir = "";
    return map;
  }
  return Status::InvalidArgument("drive map: no free drive letter for the start folder " + start);
}

DriveSettings DriveSettingsFromProcess() {
  DriveSettings s;
  if (const char* v = std::getenv("QUORVANTA_DRIVES")) {
    s.drives_set = true;
    s.drives = v;
  }
  if (const char* v = std::getenv("XDG_DATA_HOME")) s.xdg_data_home = v;
  if (const char* v = std::getenv("HOME")) s.home = v;
  char buf[PATH_MAX];
  if (::getcwd(buf, sizeof buf) != nullptr) s.start_dir = buf;
  s.canonical = [](const std::string& path) {
    char real[PATH_MAX];
    return ::realpath(path.c_str(), real) != nullptr ? std::string(real) : path;
  };
  return s;
}

std::string WindowsFolderFromProcess() {
  const char* v = std::getenv("QUORVANTA_WINDIR");
  return v != nullptr && *v != '\0' ? std::string(v) : std::string("C:\\WINDOWS");
}

}  // namespace qv::fs
