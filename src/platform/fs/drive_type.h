// The kind of a drive, judged from the host's mount table: the file system
// that holds the drive's folder tells a CD from a network share or a RAM disk.
// The numbers are those Windows reports, which the drive listing shows.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace qv::fs {

enum class DriveType {
  kUnknown = 0,
  kNoRoot = 1,  // the drive's folder does not exist
  kRemovable = 2,
  kFixed = 3,
  kRemote = 4,
  kCdRom = 5,
  kRamDisk = 6,
};

// The mount that holds host_dir in mountinfo (the text of
// /proc/self/mountinfo): its file-system type and source device.
struct MountOf {
  std::string fs_type;  // "" when no mount line matched
  std::string source;
};
MountOf FindMount(std::string_view mountinfo, const std::string& host_dir);

// Classifies a mount. is_removable(device name, e.g. "sdb1") says whether
// the block device is removable.
DriveType ClassifyMount(const MountOf& mount,
                        const std::function<bool(const std::string&)>& is_removable);

}  // namespace qv::fs
