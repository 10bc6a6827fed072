// The numbered work areas of one session: opening tables into areas under
// aliases, selecting by number or alias, the default path for bare names,
// and the settings areas share. One Workspace per session (no globals), so
// a test can run two workspaces on the same files to exercise locks.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/env.h"
#include "platform/rdd/order.h"
#include "platform/rdd/work_area.h"

namespace qv::rdd {

// Maps a file name as the program writes it (a Windows path such as
// "c:\QUORVA~1\1.co\GLM.DBF") to a host path. The owner of the drive
// mapping supplies it; the default takes names as host paths.
using PathResolver = std::function<Result<std::string>(std::string_view name)>;

struct UseArgs {
  std::string file;       // with or without folder and extension (".dbf" is added)
  std::string alias;      // "" : the base name in upper case
  bool new_area = false;  // open in the lowest free area instead of the current one
  bool shared = true;     // false: exclusive use
  bool read_only = false;
};

class Workspace {
 public:
  static constexpr int kMaxAreas = 65534;

  explicit Workspace(fs::Env& env);
  ~Workspace();  // closes every area
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  fs::Env& env() { return *env_; }
  EngineSettings& settings() { return settings_; }
  void SetResolver(PathResolver resolver) { resolver_ = std::move(resolver); }
  // Folder for names without one (SET DEFAULT); "" is the current folder.
  void SetDefaultPath(std::string path) { default_path_ = std::move(path); }
  const std::string& default_path() const { return default_path_; }
  // CDX bags by default; an empty opener leaves structural bags closed.
  void SetBagOpener(BagOpener opener) { bag_opener_ = std::move(opener); }
  // Date stamped into headers of tables written; empty: the host's date.
  void SetToday(rt::Date today) { today_ = today; }
  rt::Date today() const { return today_; }

  // The host path of a table or side file named as the program names it:
  // default path for a bare name, ext added when the name has none.
  Result<std::string> Resolve(std::string_view name, std::string_view ext = ".dbf") const;
  // The same name before resolving, as the program names the file (for
  // reports): "1.co\COMPANY.dbf".
  Result<std::string> FileName(std::string_view name, std::string_view ext = ".dbf") const;
  // Open options matching this workspace's settings.
  TableOpenOptions OpenOptions(bool exclusive, bool read_only) const;

  // DBUSEAREA. The target area (current, or the lowest free one, which
  // becomes current) is emptied first. LockBusy: a sharing violation, the
  // area stays empty and the caller reports nothing; any other failure is
  // for the run-time error handler. InvalidArgument: alias in use.
  Status Use(const UseArgs& args);
  Status CloseArea();  // the current one
  Status CloseAll();
  Status CommitAll();

  // Area numbers start at 1. SelectArea(0) selects the lowest free area.
  Status SelectArea(int number);
  // SELECT("alias"): the area's number, 0 when no area has that alias.
  int AreaOf(std::string_view alias) const;
  int current() const { return current_; }
  int LowestFree() const;
  // ALIAS(n): "" for an empty area; n 0 is the current area.
  std::string Alias(int number = 0) const;
  bool Used() const { return Area() != nullptr; }
  // The area's table view; null when empty. number 0 is the current area.
  WorkArea* Area(int number = 0) const;
  // Changes whenever an area is opened, closed or selected.
  uint64_t layout_stamp() const { return layout_stamp_; }

 private:
  fs::Env* env_;
  EngineSettings settings_;
  PathResolver resolver_;
  std::string default_path_;
  BagOpener bag_opener_;
  rt::Date today_;
  std::vector<std::unique_ptr<WorkArea>> areas_;  // index = area number
  int current_ = 1;
  uint64_t layout_stamp_ = 0;
};

}  // namespace qv::rdd
