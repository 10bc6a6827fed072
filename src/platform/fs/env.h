// The file system as the engine sees it. Everything above this layer reaches
// files only through an Env, so tests can swap in memory files or inject
// faults and crashes. Paths here are host paths ("/srv/pos/c/QUORVANTA/GLM.DBF");
// Windows paths are resolved to them by WinFs (win_fs.h).
//
// Implementations: NewHostEnv() (POSIX), NewMemEnv() (in memory),
// EnvWrapper (forwards; tests subclass it), FaultEnv (fault_env.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/status.h"

namespace qv::fs {

enum class OpenMode {
  kRead,          // existing file, read only
  kReadWrite,     // existing file
  kCreate,        // create or truncate, read-write
  kCreateNew,     // create; Exists when the file is there
};

// Whole-file share lock emulating Windows share modes (flock on the host).
enum class ShareMode { kNone, kShared, kExclusive };

// An open file. Locks belong to this object (open-file-description
// semantics): two File objects on the same path conflict even inside one
// process, exactly as two programs would.
class File {
 public:
  virtual ~File() = default;

  // Reads up to n bytes at offset into buf; *got is less than n only at the
  // end of the file.
  virtual Status ReadAt(uint64_t offset, size_t n, char* buf, size_t* got) = 0;
  virtual Status WriteAt(uint64_t offset, std::string_view data) = 0;
  virtual Result<uint64_t> Size() = 0;
  virtual Status Truncate(uint64_t size) = 0;
  // Makes written data durable. Data not synced may be lost by a crash.
  virtual Status Sync() = 0;

  // Non-blocking whole-file share lock; LockBusy when another open of the
  // file holds a conflicting one. kNone releases it.
  virtual Status SetShareMode(ShareMode mode) = 0;

  // Byte-range lock [offset, offset + len). With wait false it returns
  // LockBusy at once when another open holds a conflicting range; with wait
  // true it blocks until granted. exclusive false takes a read lock.
  virtual Status LockRange(uint64_t offset, uint64_t len, bool exclusive, bool wait) = 0;
  virtual Status UnlockRange(uint64_t offset, uint64_t len) = 0;

  virtual const std::string& path() const = 0;
};

struct FileInfo {
  bool is_dir = false;
  bool is_symlink = false;  // the entry itself is a link (lstat)
  uint64_t size = 0;
  int64_t mtime = 0;  // seconds since the Unix epoch, UTC
};

struct DirEntry {
  std::string name;  // as stored on the host
  FileInfo info;
};

class Env {
 public:
  virtual ~Env() = default;

  virtual Result<std::unique_ptr<File>> Open(const std::string& path, OpenMode mode) = 0;
  // Renames from over to (replacing to atomically when it exists).
  virtual Status Rename(const std::string& from, const std::string& to) = 0;
  virtual Status Remove(const std::string& path) = 0;
  virtual Status RemoveDir(const std::string& path) = 0;
  // One level: the parent must exist; Exists when the folder is there.
  virtual Status MakeDir(const std::string& path) = 0;
  // Entries of a folder, without "." and "..", in no particular order.
  virtual Result<std::vector<DirEntry>> List(const std::string& dir) = 0;
  // NotFound when nothing is there. Does not follow a final symbolic link.
  virtual Result<FileInfo> Stat(const std::string& path) = 0;
  virtual Status SetMTime(const std::string& path, int64_t mtime) = 0;
  // Bytes available to the user on the file system holding path.
  virtual Result<uint64_t> FreeSpace(const std::string& path) = 0;
  // Makes a rename or creation inside dir durable.
  virtual Status SyncDir(const std::string& dir) = 0;
  // The target of a symbolic link, as stored in it. NotSupported where the
  // file system has no links (the memory Env).
  virtual Result<std::string> ReadLink(const std::string& path) {
    return Status::NotSupported("no symbolic links: " + path);
  }
};

// The host file system (POSIX; OFD byte-range locks and flock share locks).
std::unique_ptr<Env> NewHostEnv();
// Files in memory, with the same lock semantics; for tests and benchmarks.
std::unique_ptr<Env> NewMemEnv();

// Forwards every call to a target Env; subclass it to intercept some calls.
class EnvWrapper : public Env {
 public:
  explicit EnvWrapper(Env* target) : target_(target) {}
  Env* target() const { return target_; }

  Result<std::unique_ptr<File>> Open(const std::string& path, OpenMode mode) override {
    return target_->Open(path, mode);
  }
  Status Rename(const std::string& from, const std::string& to) override {
    return target_->Rename(from, to);
  }
  Status Remove(const std::string& path) override { return target_->Remove(path); }
  Status RemoveDir(const std::string& path) override { return target_->RemoveDir(path); }
  Status MakeDir(const std::string& path) override { return target_->MakeDir(path); }
  Result<std::vector<DirEntry>> List(const std::string& dir) override {
    return target_->List(dir);
  }
  Result<FileInfo> Stat(const std::string& path) override { return target_->Stat(path); }
  Status SetMTime(const std::string& path, int64_t mtime) override {
    return target_->SetMTime(path, mtime);
  }
  Result<uint64_t> FreeSpace(const std::string& path) override {
    return target_->FreeSpace(path);
  }
  Status SyncDir(const std::string& dir) override { return target_->SyncDir(dir); }
  Result<std::string> ReadLink(const std::string& path) override {
    return target_->ReadLink(path);
  }

 private:
  Env* target_;
};

// Helpers over any Env.
Result<std::string> ReadWholeFile(Env& env, const std::string& path);
Status WriteWholeFile(Env& env, const std::string& path, std::string_view data, bool sync);

}  // namespace qv::fs
