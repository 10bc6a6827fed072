#include "platform/fs/fault_env.h"

#include <cassert>

namespace qv::fs {

// A File of a FaultEnv: forwards to the target's file, counting writes and
// syncs. A crash closes the target's file (its locks go with it) and leaves
// this one refusing every call.
class FaultFile : public File {
 public:
  FaultFile(FaultEnv* env, std::unique_ptr<File> base)
      : env_(env), base_(std::move(base)), path_(base_->path()) {
    env_->open_files_.insert(this);
  }
  ~FaultFile() override { env_->open_files_.erase(this); }

  void Lose() { base_.reset(); }

  Status ReadAt(uint64_t offset, size_t n, char* buf, size_t* got) override {
    QV_RETURN_IF_ERROR(Alive());
    return base_->ReadAt(offset, n, buf, got);
  }
  Status WriteAt(uint64_t offset, std::string_view data) override {
    QV_RETURN_IF_ERROR(Alive());
    QV_RETURN_IF_ERROR(env_->BeforeWrite(path()));
    return base_->WriteAt(offset, data);
  }
  Result<uint64_t> Size() override {
    QV_RETURN_IF_ERROR(Alive());
    return base_->Size();
  }
  Status Truncate(uint64_t size) override {
    QV_RETURN_IF_ERROR(Alive());
    env_->Track(path());
    return base_->Truncate(size);
  }
  Status Sync() override {
    QV_RETURN_IF_ERROR(Alive());
    QV_RETURN_IF_ERROR(env_->BeforeSync());
    QV_RETURN_IF_ERROR(base_->Sync());
    env_->unsynced_.erase(path());  // what the file holds now survives a crash
    return Status::OK();
  }
  Status SetShareMode(ShareMode mode) override {
    QV_RETURN_IF_ERROR(Alive());
    return base_->SetShareMode(mode);
  }
  Status LockRange(uint64_t offset, uint64_t len, bool exclusive, bool wait) override {
    QV_RETURN_IF_ERROR(Alive());
    return base_->LockRange(offset, len, exclusive, wait);
  }
  Status UnlockRange(uint64_t offset, uint64_t len) override {
    QV_RETURN_IF_ERROR(Alive());
    return base_->UnlockRange(offset, len);
  }
  const std::string& path() const override { return path_; }

 private:
  Status Alive() const {
    if (base_ != nullptr) return Status::OK();
    return Status::IOError("file lost in a crash: " + path_);
  }

  FaultEnv* env_;
  std::unique_ptr<File> base_;
  std::string path_;
};

bool FaultEnv::Counter::Hit() {
  if (fired && sticky) return true;
  if (countdown <= 0) return false;
  if (--countdown > 0) return false;
  fired = true;
  return true;
}

void FaultEnv::FailWrite(int nth, bool sticky) { write_fault_ = Counter{nth, sticky, false}; }
void FaultEnv::FailSync(int nth, bool sticky) { sync_fault_ = Counter{nth, sticky, false}; }

void FaultEnv::Track(const std::string& path) {
  if (unsynced_.count(path)) return;
  // First change since the last sync: what is there now is what a crash
  // leaves (nothing, when the file does not exist yet).
  Result<std::string> now = ReadWholeFile(*target(), path);
  if (now.ok()) {
    unsynced_[path].content = std::move(now).value();
  } else if (now.status().IsNotFound()) {
    unsynced_[path].content = std::nullopt;
  }  // unreadable: the crash leaves it as it is
}

Status FaultEnv::BeforeWrite(const std::string& path) {
  Track(path);
  ++writes_;
  if (write_fault_.Hit()) return Status::IOError("injected write fault: " + path);
  return Status::OK();
}

Status FaultEnv::BeforeSync() {
  ++syncs_;
  if (sync_fault_.Hit()) return Status::IOError("injected sync fault");
  return Status::OK();
}

Result<std::unique_ptr<File>> FaultEnv::Open(const std::string& path, OpenMode mode) {
  if (mode == OpenMode::kCreate || mode == OpenMode::kCreateNew) Track(path);
  QV_ASSIGN_OR_RETURN(std::unique_ptr<File> base, target()->Open(path, mode));
  return std::unique_ptr<File>(new FaultFile(this, std::move(base)));
}

Status FaultEnv::Rename(const std::string& from, const std::string& to) {
  QV_RETURN_IF_ERROR(target()->Rename(from, to));
  unsynced_.erase(to);
  if (auto it = unsynced_.find(from); it != unsynced_.end()) {
    unsynced_[to] = it->second;
    unsynced_.erase(it);
  }
  return Status::OK();
}

Status FaultEnv::Remove(const std::string& path) {
  QV_RETURN_IF_ERROR(target()->Remove(path));
  unsynced_.erase(path);
  return Status::OK();
}

Result<uint64_t> FaultEnv::FreeSpace(const std::string& path) {
  if (free_space_) return *free_space_;
  return target()->FreeSpace(path);
}

Status FaultEnv::SyncDir(const std::string& dir) {
  QV_RETURN_IF_ERROR(BeforeSync());
  return target()->SyncDir(dir);
}

FaultEnv::~FaultEnv() { assert(open_files_.empty()); }

Status FaultEnv::Crash() {
  for (FaultFile* file : open_files_) file->Lose();
  Status first;
  for (const auto& [path, durable] : unsynced_) {
    Status s = durable.content ? WriteWholeFile(*target(), path, *durable.content, true)
                               : target()->Remove(path);
    if (!s.ok() && !s.IsNotFound() && first.ok()) first = s;
  }
  unsynced_.clear();
  return first;
}

}  // namespace qv::fs
