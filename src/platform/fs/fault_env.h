// An Env that injects faults and crashes for the *_fault_test and
// *_crash_test families. It forwards to a target Env (host or memory) and can
// fail the Nth write or sync with IOError, or simulate a crash: every file
// written through it goes back to what it held at its last sync.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/fs/env.h"

namespace qv::fs {

class FaultFile;

// Not thread-safe: a fault or crash test drives it from one thread.
class FaultEnv : public EnvWrapper {
 public:
  explicit FaultEnv(Env* target) : EnvWrapper(target) {}
  // REQUIRES: every File opened through this Env is destroyed.
  ~FaultEnv() override;

  // The nth File::WriteAt from now on (1 = the next one) fails with IOError
  // and writes nothing; with sticky, every later write fails too. 0 disarms.
  void FailWrite(int nth, bool sticky = false);
  // The same for File::Sync and SyncDir; a failed sync keeps nothing durable.
  void FailSync(int nth, bool sticky = false);
  // Writes and syncs seen since construction, failed ones included.
  int writes() const { return writes_; }
  int syncs() const { return syncs_; }

  // FreeSpace answers this many bytes instead of asking the target.
  void SetFreeSpace(uint64_t bytes) { free_space_ = bytes; }

  // Simulates a crash: each file written through this Env since its last
  // sync gets back the content of that sync; a file created and never synced
  // disappears. Folder operations (rename, remove, make folder) count as
  // durable at once. Files opened before the crash lose their locks and fail
  // every later call with IOError, as the process that held them is gone.
  Status Crash();

  Result<std::unique_ptr<File>> Open(const std::string& path, OpenMode mode) override;
  Status Rename(const std::string& from, const std::string& to) override;
  Status Remove(const std::string& path) override;
  Result<uint64_t> FreeSpace(const std::string& path) override;
  Status SyncDir(const std::string& dir) override;

 private:
  friend class FaultFile;

  struct Counter {
    int countdown = 0;  // fires when it reaches 0 after a decrement
    bool sticky = false;
    bool fired = false;
    bool Hit();
  };

  // What a crash leaves of a file: the bytes at its last sync, or nothing.
  struct Durable {
    std::optional<std::string> content;
  };

  void Track(const std::string& path);  // remembers what a crash leaves of path
  Status BeforeWrite(const std::string& path);
  Status BeforeSync();

  Counter write_fault_;
  Counter sync_fault_;
  int writes_ = 0;
  int syncs_ = 0;
  std::optional<uint64_t> free_space_;
  std::map<std::string, Durable> unsynced_;  // files written since their last sync
  std::set<FaultFile*> open_files_;
};

}  // namespace qv::fs
