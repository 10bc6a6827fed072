// Windows paths on Linux: resolves the paths the program builds
// ("c:\QUORVA~1\1.co\GLM.DBF", "\EXE", "C:*.*", "D:\\exe\ctl3d.dll") to host
// paths through a DriveMap and does the file operations the program asks of
// Windows through an Env. Names are case-insensitive and case-preserving;
// short names find the entries they abbreviate (short_name.h); listings use
// DOS wildcards (wildcard.h). No path leaves its drive's root: ".." above the
// root and symbolic links that lead off the drive are errors (InvalidArgument);
// links that stay on the drive are followed.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/drive_map.h"
#include "platform/fs/drive_type.h"
#include "platform/fs/env.h"
#include "platform/fs/win_path.h"

namespace qv::fs {

struct DriveInfo {
  char letter;
  DriveType type;
};

// Not thread-safe: one per session, used from the session's thread.
class WinFs {
 public:
  // env must outlive this object. windows_folder as QUORVANTA_WINDIR gives it.
  WinFs(Env& env, DriveMap drives, std::string windows_folder = "C:\\WINDOWS");

  Env& env() const { return env_; }

  // --- Current drive and folders -------------------------------------------
  char CurrentDrive() const { return current_; }
  // NotFound for a letter that names no drive.
  Status ChangeDrive(char letter);
  // The current folder of a drive (0 = the current drive) below its root, as
  // stored on the host: "SETUP", "Quorvanta_Scheduler\1.co"; "" at the root.
  std::string CurrentDir(char letter = 0) const;
  // Makes an existing folder current on its drive and makes that drive
  // current, as Windows does. NotFound when it is missing or not a folder.
  Status ChangeDir(std::string_view path);

  // --- Paths -----------------------------------------------------------------
  // The host path a Windows path names: existing entries by case-insensitive
  // or short name, a missing last entry as written. NotFound for an unmapped
  // drive or a missing folder on the way; InvalidArgument for wildcards, ".."
  // above the root, or a symbolic link leading off the drive.
  Result<std::string> Resolve(std::string_view path);
  // The short form of an existing path: "C:\QUORVA~1\1.co" (each name that
  // is not 8.3 replaced by its short name).
  Result<std::string> ShortPath(std::string_view path);

  // --- Files and folders ---------------------------------------------------
  // Entries matching the last part of pattern ("C:*.*", "1.co\ckj*.dbf",
  // "RES.??") in case-insensitive name order; folders only with with_dirs.
  // A missing folder gives an empty listing. Nothing is hidden; a symbolic
  // link is listed as what it points to, and left out when that is off the
  // drive or missing. A part without wildcards also matches short names.
  Result<std::vector<DirEntry>> List(std::string_view pattern, bool with_dirs = false);
  // Whether a file (not a folder) exists; the last part may hold wildcards.
  bool Exists(std::string_view path_or_pattern);
  bool IsDir(std::string_view path);
  // Copies the bytes of from to to, which is created or replaced and gets the
  // current time. NotFound when from is missing; InvalidArgument when both
  // name the same file; LockBusy when another open file holds a share mode
  // on the target.
  Status Copy(std::string_view from, std::string_view to);
  // Erases one file (a link itself, not what it points to). NotFound when
  // missing; InvalidArgument for a folder.
  Status Erase(std::string_view path);
  // Erases every file matching the last part of pattern ("1.co\RES.??"):
  // the number erased (0 when none match). A file that cannot be erased
  // gives its error after the others are erased.
  Result<int> EraseMatching(std::string_view pattern);
  // Creates one folder level under the name as written: OK, Exists when the
  // entry is there, NotFound when its parent is missing.
  Status MakeDir(std::string_view path);

  // --- Drives --------------------------------------------------------------
  // Bytes free on the drive's file system. NotFound for an unmapped letter.
  Result<uint64_t> FreeSpace(char letter);
  // Mapped drives in letter order with their kinds (from the mount table).
  std::vector<DriveInfo> Drives();
  // The host folder of a drive; "" when the letter is not mapped.
  std::string Root(char letter) const;

  // As QUORVANTA_WINDIR gives it ("C:\WINDOWS").
  const std::string& WindowsFolder() const { return windows_folder_; }
  // The program runs as on the NT family of Windows.
  bool IsNt() const { return true; }

 private:
  // A path taken apart: the drive, the names from its root as found on the
  // host (a missing last entry as written), and where it stands.
  struct Located {
    char drive = 0;
    std::vector<std::string> names;
    std::string host;
    bool exists = false;
    FileInfo info;
  };

  // Parses path; its parts made absolute from the drive's current folder.
  Result<std::pair<char, std::vector<std::string>>> Absolute(const WinPath& path) const;
  // Where a link points, as parts from the drive's root (absolute) or from
  // the link's folder. InvalidArgument when it leads off the drive.
  struct LinkTarget {
    bool absolute = false;
    std::vector<std::string> parts;
  };

  // Walks parts down from the drive's root, following links that stay on
  // the drive (the last part's only with follow_last). A missing last part
  // is allowed: it is a new entry.
  Result<Located> Walk(char drive, const std::vector<std::string>& parts, bool follow_last = true);
  Result<Located> Locate(std::string_view path, bool follow_last = true);
  Result<LinkTarget> ReadLinkInDrive(char drive, const std::string& link, int* hops);
  std::string HostOf(char drive, const std::vector<std::string>& names) const;
  // What the drive's root is; a root given as a link to a folder is a folder.
  Result<FileInfo> RootInfo(const std::string& root);
  // List, also giving the host folder listed ("" when it is missing).
  Result<std::vector<DirEntry>> ListIn(std::string_view pattern, bool with_dirs,
                                       std::string* dir_host);
  // The entry of dir_host that name means: exact, any case, or short name.
  Result<DirEntry> FindEntry(const std::string& dir_host, const std::string& name);

  Env& env_;
  std::map<char, std::string> roots_;
  std::map<char, std::vector<std::string>> current_dirs_;
  char current_;
  std::string windows_folder_;
};

// Gives a drive C that is missing or empty what a Windows drive has: the
// Windows folder (from windows_folder) with "system", "Start Menu\Programs"
// and "Desktop"; "Documents and Settings\All Users" with "Start Menu\Programs"
// and "Desktop"; "Program Files\Accessories"; and one visible file in the
// root. Missing folders above the root are created. A drive C with entries is
// left alone.
Status PrepareDriveC(Env& env, const std::string& c_root, std::string_view windows_folder);

// What a run of the program starts with: the drive map from this process's
// environment and current folder (DriveSettingsFromProcess), drive C
// prepared, and the Windows folder from QUORVANTA_WINDIR. InvalidArgument
// for a bad drive map (the message names the fault).
Result<std::unique_ptr<WinFs>> WinFsFromProcess(Env& env);

}  // namespace qv::fs
