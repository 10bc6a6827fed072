// The Env in memory: a map of absolute paths to files and a set of folders,
// with the lock semantics of the host Env (locks belong to the File object and
// go when it is destroyed). All state sits behind one mutex; a File keeps the
// state alive, so it may outlive its Env.
#include <condition_variable>
#include <ctime>
#include <map>
#include <mutex>

#include "platform/fs/detail/host_path.h"
#include "platform/fs/detail/lock_table.h"
#include "platform/fs/env.h"

namespace qv::fs {
namespace {

constexpr uint64_t kMemCapacity = uint64_t{1} << 40;

int64_t Now() { return static_cast<int64_t>(std::time(nullptr)); }

struct Node {
  std::string data;
  int64_t mtime = 0;
  detail::LockTable locks;
};

struct MemState {
  std::mutex mu;
  std::condition_variable lock_released;
  std::map<std::string, std::shared_ptr<Node>> files;
  std::map<std::string, int64_t> dirs{{"/", 0}};
};

// The key of a path: absolute and lexically normal; "" for a relative path.
std::string Normalize(const std::string& path) {
  if (path.empty() || path[0] != '/') return "";
  return detail::NormalizeHostPath(path, "/");
}

std::string Parent(const std::string& norm) {
  size_t slash = norm.rfind('/');
  return slash == 0 ? "/" : norm.substr(0, slash);
}

// True when norm lies strictly inside dir.
bool Inside(const std::string& norm, const std::string& dir) {
  std::string prefix = dir == "/" ? "/" : dir + "/";
  return norm.size() > prefix.size() && norm.compare(0, prefix.size(), prefix) == 0;
}

class MemFile : public File {
 public:
  MemFile(std::shared_ptr<MemState> state, std::shared_ptr<Node> node, std::string path,
          bool writable)
      : state_(std::move(state)),
        node_(std::move(node)),
        path_(std::move(path)),
        writable_(writable) {}

  ~MemFile() override {
    std::lock_guard<std::mutex> lock(state_->mu);
    node_->locks.Release(this);
    state_->lock_released.notify_all();
  }

  Status ReadAt(uint64_t offset, size_t n, char* buf, size_t* got) override {
    std::lock_guard<std::mutex> lock(state_->mu);
    const std::string& data = node_->data;
    *got = offset >= data.size() ? 0 : std::min<uint64_t>(n, data.size() - offset);
    if (*got > 0) data.copy(buf, *got, offset);
    return Status::OK();
  }

  Status WriteAt(uint64_t offset, std::string_view bytes) override {
    if (!writable_) return Status::IOError("write: " + path_ + " is open read-only");
    std::lock_guard<std::mutex> lock(state_->mu);
    std::string& data = node_->data;
    if (data.size() < offset + bytes.size()) data.resize(offset + bytes.size(), '\0');
    data.replace(offset, bytes.size(), bytes);
    node_->mtime = Now();
    return Status::OK();
  }

  Result<uint64_t> Size() override {
    std::lock_guard<std::mutex> lock(state_->mu);
    return static_cast<uint64_t>(node_->data.size());
  }

  Status Truncate(uint64_t size) override {
    if (!writable_) return Status::IOError("truncate: " + path_ + " is open read-only");
    std::lock_guard<std::mutex> lock(state_->mu);
    node_->data.resize(size, '\0');
    node_->mtime = Now();
    return Status::OK();
  }

  Status Sync() override { return Status::OK(); }

  Status SetShareMode(ShareMode mode) override {
    std::lock_guard<std::mutex> lock(state_->mu);
    if (!node_->locks.ShareFree(this, mode)) return Status::LockBusy("file in use: " + path_);
    node_->locks.SetShare(this, mode);
    state_->lock_released.notify_all();
    return Status::OK();
  }

  Status LockRange(uint64_t offset, uint64_t len, bool exclusive, bool wait) override {
    QV_RETURN_IF_ERROR(detail::CheckLockRange(offset, len, path_));
    std::unique_lock<std::mutex> lock(state_->mu);
    detail::LockTable& locks = node_->locks;
    while (!locks.RangeFree(this, offset, offset + len, exclusive)) {
      if (!wait) {
        return Status::LockBusy("range locked: " + path_ + " at " + std::to_string(offset));
      }
      state_->lock_released.wait(lock);
    }
    locks.AddRange(this, offset, offset + len, exclusive);
    state_->lock_released.notify_all();  // a downgrade may free waiters
    return Status::OK();
  }

  Status UnlockRange(uint64_t offset, uint64_t len) override {
    QV_RETURN_IF_ERROR(detail::CheckLockRange(offset, len, path_));
    std::lock_guard<std::mutex> lock(state_->mu);
    node_->locks.RemoveRange(this, offset, offset + len);
    state_->lock_released.notify_all();
    return Status::OK();
  }

  const std::string& path() const override { return path_; }

 private:
  std::shared_ptr<MemState> state_;
  std::shared_ptr<Node> node_;
  std::string path_;
  bool writable_;
};

class MemEnv : public Env {
 public:
  Result<std::unique_ptr<File>> Open(const std::string& path, OpenMode mode) override {
    std::string norm = Normalize(path);
    if (norm.empty()) return Status::InvalidArgument("open: not an absolute path: " + path);
    std::lock_guard<std::mutex> lock(state_->mu);
    if (state_->dirs.count(norm)) return Status::InvalidArgument("open: " + path + " is a folder");
    auto it = state_->files.find(norm);
    std::shared_ptr<Node> node;
    if (it != state_->files.end()) {
      if (mode == OpenMode::kCreateNew) return Status::Exists("open: " + path + " exists");
      node = it->second;
      if (mode == OpenMode::kCreate) {
        node->data.clear();
        node->mtime = Now();
      }
    } else {
      if (mode == OpenMode::kRead || mode == OpenMode::kReadWrite) {
        return Status::NotFound("open: no file " + path);
      }
      if (!state_->dirs.count(Parent(norm))) return Status::NotFound("open: no folder for " + path);
      node = std::make_shared<Node>();
      node->mtime = Now();
      state_->files[norm] = node;
    }
    return std::unique_ptr<File>(
        new MemFile(state_, std::move(node), path, mode != OpenMode::kRead));
  }

  Status Rename(const std::string& from, const std::string& to) override {
    std::string src = Normalize(from), dst = Normalize(to);
    std::lock_guard<std::mutex> lock(state_->mu);
    if (!state_->dirs.count(Parent(dst))) return Status::NotFound("rename: no folder for " + to);
    auto it = state_->files.find(src);
    if (it != state_->files.end()) {
      if (state_->dirs.count(dst)) return Status::InvalidArgument("rename: " + to + " is a folder");
      std::shared_ptr<Node> node = it->second;
      state_->files.erase(it);
      state_->files[dst] = std::move(node);
      return Status::OK();
    }
    if (!state_->dirs.count(src)) return Status::NotFound("rename: no " + from);
    if (src == dst) return Status::OK();
    if (Inside(dst, src)) return Status::InvalidArgument("rename: " + to + " lies inside " + from);
    if (state_->files.count(dst) || HasChildren(dst)) return Status::Exists("rename: " + to);
    MovePrefix(state_->files, src, dst);
    MovePrefix(state_->dirs, src, dst);
    return Status::OK();
  }

  Status Remove(const std::string& path) override {
    std::string norm = Normalize(path);
    std::lock_guard<std::mutex> lock(state_->mu);
    if (state_->dirs.count(norm))
      return Status::InvalidArgument("remove: " + path + " is a folder");
    if (state_->files.erase(norm) == 0) return Status::NotFound("remove: no file " + path);
    return Status::OK();
  }

  Status RemoveDir(const std::string& path) override {
    std::string norm = Normalize(path);
    std::lock_guard<std::mutex> lock(state_->mu);
    if (!state_->dirs.count(norm)) return Status::NotFound("remove folder: no folder " + path);
    if (HasChildren(norm)) return Status::Exists("remove folder: " + path + " is not empty");
    if (norm == "/") return Status::InvalidArgument("remove folder: the root");
    state_->dirs.erase(norm);
    return Status::OK();
  }

  Status MakeDir(const std::string& path) override {
    std::string norm = Normalize(path);
    if (norm.empty()) return Status::InvalidArgument("make folder: not absolute: " + path);
    std::lock_guard<std::mutex> lock(state_->mu);
    if (state_->dirs.count(norm) || state_->files.count(norm)) {
      return Status::Exists("make folder: " + path + " exists");
    }
    if (!state_->dirs.count(Parent(norm)))
      return Status::NotFound("make folder: no parent of " + path);
    state_->dirs[norm] = Now();
    return Status::OK();
  }

  Result<std::vector<DirEntry>> List(const std::string& dir) override {
    std::string norm = Normalize(dir);
    std::lock_guard<std::mutex> lock(state_->mu);
    if (!state_->dirs.count(norm)) return Status::NotFound("list: no folder " + dir);
    std::vector<DirEntry> entries;
    for (const auto& [path, mtime] : state_->dirs) {
      if (path != "/" && Parent(path) == norm) entries.push_back(Entry(path, DirInfo(mtime)));
    }
    for (const auto& [path, node] : state_->files) {
      if (Parent(path) == norm) entries.push_back(Entry(path, FileInfoOf(*node)));
    }
    return entries;
  }

  Result<FileInfo> Stat(const std::string& path) override {
    std::string norm = Normalize(path);
    std::lock_guard<std::mutex> lock(state_->mu);
    if (auto d = state_->dirs.find(norm); d != state_->dirs.end()) return DirInfo(d->second);
    if (auto f = state_->files.find(norm); f != state_->files.end()) return FileInfoOf(*f->second);
    return Status::NotFound("stat: nothing at " + path);
  }

  Status SetMTime(const std::string& path, int64_t mtime) override {
    std::string norm = Normalize(path);
    std::lock_guard<std::mutex> lock(state_->mu);
    if (auto d = state_->dirs.find(norm); d != state_->dirs.end()) {
      d->second = mtime;
    } else if (auto f = state_->files.find(norm); f != state_->files.end()) {
      f->second->mtime = mtime;
    } else {
      return Status::NotFound("set time: nothing at " + path);
    }
    return Status::OK();
  }

  Result<uint64_t> FreeSpace(const std::string& path) override {
    QV_ASSIGN_OR_RETURN(FileInfo info, Stat(path));
    (void)info;
    std::lock_guard<std::mutex> lock(state_->mu);
    uint64_t used = 0;
    for (const auto& entry : state_->files) used += entry.second->data.size();
    return used >= kMemCapacity ? 0 : kMemCapacity - used;
  }

  Status SyncDir(const std::string& dir) override {
    std::lock_guard<std::mutex> lock(state_->mu);
    if (!state_->dirs.count(Normalize(dir))) return Status::NotFound("sync folder: no " + dir);
    return Status::OK();
  }

 private:
  static FileInfo DirInfo(int64_t mtime) {
    FileInfo info;
    info.is_dir = true;
    info.mtime = mtime;
    return info;
  }
  static FileInfo FileInfoOf(const Node& node) {
    FileInfo info;
    info.size = node.data.size();
    info.mtime = node.mtime;
    return info;
  }
  static DirEntry Entry(const std::string& path, FileInfo info) {
    return DirEntry{path.substr(path.rfind('/') + 1), info};
  }

  // REQUIRES: state_->mu held.
  bool HasChildren(const std::string& dir) const {
    for (const auto& entry : state_->dirs) {
      if (Inside(entry.first, dir)) return true;
    }
    for (const auto& entry : state_->files) {
      if (Inside(entry.first, dir)) return true;
    }
    return false;
  }

  // Re-keys dir and everything inside it from src to dst.
  template <typename Map>
  static void MovePrefix(Map& map, const std::string& src, const std::string& dst) {
    Map moved;
    for (auto it = map.begin(); it != map.end();) {
      if (it->first == src || Inside(it->first, src)) {
        moved[dst + it->first.substr(src.size())] = std::move(it->second);
        it = map.erase(it);
      } else {
        ++it;
      }
    }
    map.merge(moved);
  }

  std::shared_ptr<MemState> state_ = std::make_shared<MemState>();
};

}  // namespace

std::unique_ptr<Env> NewMemEnv() { return std::make_unique<MemEnv>(); }

}  // namespace qv::fs
