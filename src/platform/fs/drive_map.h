// Which host folder each drive letter stands for, and where the program
// starts. The map comes from QUORVANTA_DRIVES ("C=/srv/pos/c;D=/media/cd");
// without it drive C is a folder under the XDG data directory. A start
// folder under no mapped drive becomes the root of the first free letter
// from D on, so the installation media is "the CD in drive D".
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "platform/fs/status.h"

namespace qv::fs {

struct DriveMap {
  std::map<char, std::string> roots;  // 'C' -> "/srv/pos/c": absolute, no trailing slash
  char current = 'C';                 // the start drive
  std::string current_dir;            // start folder below its root, '/'-separated; "" = root
};

// Parses "C=/srv/pos/c;D=media" (relative folders are taken from host_cwd).
// InvalidArgument, with a message naming the entry, for a bad entry, a
// letter given twice, or one drive's folder inside another's (nested drives).
Result<DriveMap> ParseDriveMap(std::string_view text, const std::string& host_cwd);

// What the drive map is made from: the process environment, as plain values.
struct DriveSettings {
  bool drives_set = false;  // QUORVANTA_DRIVES present
  std::string drives;       // its value
  std::string xdg_data_home;
  std::string home;
  std::string start_dir;  // the host folder the program starts in (absolute)
  // Turns an existing folder into its canonical form (symbolic links
  // resolved), so that the start folder is found under a linked root.
  std::function<std::string(const std::string&)> canonical;
};

// The whole rule: the parsed map (drive C under $XDG_DATA_HOME, else
// $HOME/.local/share, in "quorvanta/c" when no C is mapped), then the start
// folder: on the drive holding it, or on the first free letter from D.
Result<DriveMap> MakeDriveMap(const DriveSettings& settings);

// DriveSettings from the environment and the current folder of this process.
DriveSettings DriveSettingsFromProcess();
// QUORVANTA_WINDIR, default "C:\WINDOWS".
std::string WindowsFolderFromProcess();

}  // namespace qv::fs
