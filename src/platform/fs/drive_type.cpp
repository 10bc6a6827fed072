#include "platform/fs/drive_type.h"

#include <initializer_list>
#include <sstream>
#include <vector>

namespace qv::fs {
namespace {

// Mount points escape blanks and the like as \040 (octal).
std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '3') {
      out += static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
      i += 3;
    } else {
      out += s[i];
    }
  }
  return out;
}

bool Holds(const std::string& mount_point, const std::string& dir) {
  if (mount_point == "/") return true;
  return dir.compare(0, mount_point.size(), mount_point) == 0 &&
         (dir.size() == mount_point.size() || dir[mount_point.size()] == '/');
}

bool OneOf(const std::string& s, std::initializer_list<std::string_view> list) {
  for (std::string_view item : list) {
    if (s == item) return true;
  }
  return false;
}

}  // namespace

MountOf FindMount(std::string_view mountinfo, const std::string& host_dir) {
  MountOf best;
  size_t best_len = 0;
  std::istringstream in{std::string(mountinfo)};
  std::string line;
  while (std::getline(in, line)) {
    // id parent major:minor root mount-point options [optional...] - type source super
    std::istringstream fields(line);
    std::vector<std::string> f;
    for (std::string word; fields >> word;) f.push_back(word);
    size_t dash = 0;
    while (dash < f.size() && f[dash] != "-") ++dash;
    if (f.size() < 5 || dash + 2 >= f.size()) continue;
    std::string point = Unescape(f[4]);
    // Later lines mount over earlier ones on the same point.
    if (Holds(point, host_dir) && point.size() >= best_len) {
      best_len = point.size();
      best = MountOf{f[dash + 1], Unescape(f[dash + 2])};
    }
  }
  return best;
}

DriveType ClassifyMount(const MountOf& mount,
                        const std::function<bool(const std::string&)>& is_removable) {
  const std::string& type = mount.fs_type;
  if (type.empty()) return DriveType::kUnknown;
  if (OneOf(type, {"iso9660", "udf"})) return DriveType::kCdRom;
  if (OneOf(type, {"tmpfs", "ramfs"})) return DriveType::kRamDisk;
  if (OneOf(type, {"nfs", "nfs4", "cifs", "smb3", "smbfs", "9p", "afs", "ceph", "glusterfs",
                   "davfs", "fuse.sshfs", "sshfs", "fuse.rclone"})) {
    return DriveType::kRemote;
  }
  const std::string kDev = "/dev/";
  if (mount.source.compare(0, kDev.size(), kDev) == 0 && is_removable &&
      is_removable(mount.source.substr(kDev.size()))) {
    return DriveType::kRemovable;
  }
  return DriveType::kFixed;
}

}  // namespace qv::fs
