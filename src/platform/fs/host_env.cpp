// The Env on the host file system (POSIX). Share modes are flock locks and
// byte ranges are open-file-description locks: both belong to the open file,
// so two File objects on one path conflict even inside one process.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/fs/detail/lock_table.h"
#include "platform/fs/env.h"

namespace qv::fs {
namespace {

Status ErrnoStatus(std::string_view what, const std::string& path, int err) {
  std::string msg(what);
  msg += " ";
  msg += path;
  msg += ": ";
  msg += std::strerror(err);
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return Status::NotFound(msg);
    case EEXIST:
    case ENOTEMPTY:
      return Status::Exists(msg);
    case EISDIR:
    case ENAMETOOLONG:
    case EINVAL:
      return Status::InvalidArgument(msg);
    default:
      return Status::IOError(msg);
  }
}

FileInfo InfoFromStat(const struct stat& st) {
  FileInfo info;
  info.is_dir = S_ISDIR(st.st_mode);
  info.is_symlink = S_ISLNK(st.st_mode);
  info.size = static_cast<uint64_t>(st.st_size);
  info.mtime = st.st_mtim.tv_sec;
  return info;
}

class HostFile : public File {
 public:
  HostFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~HostFile() override { ::close(fd_); }  // releases its flock and OFD locks

  Status ReadAt(uint64_t offset, size_t n, char* buf, size_t* got) override {
    *got = 0;
    while (*got < n) {
      ssize_t r = ::pread(fd_, buf + *got, n - *got, static_cast<off_t>(offset + *got));
      if (r < 0) {
        if (errno == EINTR) continue;
        return ErrnoStatus("read", path_, errno);
      }
      if (r == 0) break;
      *got += static_cast<size_t>(r);
    }
    return Status::OK();
  }

  Status WriteAt(uint64_t offset, std::string_view data) override {
    size_t done = 0;
    while (done < data.size()) {
      ssize_t r =
          ::pwrite(fd_, data.data() + done, data.size() - done, static_cast<off_t>(offset + done));
      if (r < 0) {
        if (errno == EINTR) continue;
        return ErrnoStatus("write", path_, errno);
      }
      done += static_cast<size_t>(r);
    }
    return Status::OK();
  }

  Result<uint64_t> Size() override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) return ErrnoStatus("stat", path_, errno);
    return static_cast<uint64_t>(st.st_size);
  }

  Status Truncate(uint64_t size) override {
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
      return ErrnoStatus("truncate", path_, errno);
    }
    return Status::OK();
  }

  Status Sync() override {
    if (::fsync(fd_) != 0) return ErrnoStatus("sync", path_, errno);
    return Status::OK();
  }

  Status SetShareMode(ShareMode mode) override {
    int op = mode == ShareMode::kNone     ? LOCK_UN
             : mode == ShareMode::kShared ? LOCK_SH | LOCK_NB
                                          : LOCK_EX | LOCK_NB;
    while (::flock(fd_, op) != 0) {
      if (errno == EINTR) continue;
      if (errno == EWOULDBLOCK) return Status::LockBusy("file in use: " + path_);
      return ErrnoStatus("flock", path_, errno);
    }
    return Status::OK();
  }

  Status LockRange(uint64_t offset, uint64_t len, bool exclusive, bool wait) override {
    return SetRange(offset, len, exclusive ? F_WRLCK : F_RDLCK, wait);
  }

  Status UnlockRange(uint64_t offset, uint64_t len) override {
    return SetRange(offset, len, F_UNLCK, false);
  }

  const std::string& path() const override { return path_; }

 private:
  Status SetRange(uint64_t offset, uint64_t len, short type, bool wait) {
    QV_RETURN_IF_ERROR(detail::CheckLockRange(offset, len, path_));
    struct flock fl;
    std::memset(&fl, 0, sizeof fl);  // OFD locks require l_pid == 0
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(offset);
    fl.l_len = static_cast<off_t>(len);
    while (::fcntl(fd_, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl) != 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EACCES) {
        return Status::LockBusy("range locked: " + path_ + " at " + std::to_string(offset));
      }
      return ErrnoStatus("lock", path_, errno);
    }
    return Status::OK();
  }

  int fd_;
  std::string path_;
};

class HostEnv : public Env {
 public:
  Result<std::unique_ptr<File>> Open(const std::string& path, OpenMode mode) override {
    int flags = O_CLOEXEC;
    switch (mode) {
      case OpenMode::kRead:
        flags |= O_RDONLY;
        break;
      case OpenMode::kReadWrite:
        flags |= O_RDWR;
        break;
      case OpenMode::kCreate:
        flags |= O_RDWR | O_CREAT | O_TRUNC;
        break;
      case OpenMode::kCreateNew:
        flags |= O_RDWR | O_CREAT | O_EXCL;
        break;
    }
    int fd;
    do {
      fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return ErrnoStatus("open", path, errno);
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
      ::close(fd);
      return Status::InvalidArgument("open: " + path + " is a folder");
    }
    return std::unique_ptr<File>(new HostFile(fd, path));
  }

  Status Rename(const std::string& from, const std::string& to) override {
    if (::rename(from.c_str(), to.c_str()) != 0) return ErrnoStatus("rename", from, errno);
    return Status::OK();
  }

  Status Remove(const std::string& path) override {
    if (::unlink(path.c_str()) != 0) return ErrnoStatus("remove", path, errno);
    return Status::OK();
  }

  Status RemoveDir(const std::string& path) override {
    if (::rmdir(path.c_str()) != 0) return ErrnoStatus("remove folder", path, errno);
    return Status::OK();
  }

  Status MakeDir(const std::string& path) override {
    if (::mkdir(path.c_str(), 0777) != 0) return ErrnoStatus("make folder", path, errno);
    return Status::OK();
  }

  Result<std::vector<DirEntry>> List(const std::string& dir) override {
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr) return ErrnoStatus("list", dir, errno);
    std::vector<DirEntry> entries;
    while (struct dirent* e = ::readdir(d)) {
      std::string name = e->d_name;
      if (name == "." || name == "..") continue;
      struct stat st;
      // An entry removed between readdir and lstat is simply not listed.
      if (::fstatat(::dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
      entries.push_back(DirEntry{std::move(name), InfoFromStat(st)});
    }
    ::closedir(d);
    return entries;
  }

  Result<FileInfo> Stat(const std::string& path) override {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return ErrnoStatus("stat", path, errno);
    return InfoFromStat(st);
  }

  Status SetMTime(const std::string& path, int64_t mtime) override {
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(mtime);
    times[1].tv_nsec = 0;
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) {
      return ErrnoStatus("set time", path, errno);
    }
    return Status::OK();
  }

  Result<uint64_t> FreeSpace(const std::string& path) override {
    struct statvfs vfs;
    if (::statvfs(path.c_str(), &vfs) != 0) return ErrnoStatus("free space", path, errno);
    return static_cast<uint64_t>(vfs.f_bavail) * static_cast<uint64_t>(vfs.f_frsize);
  }

  Result<std::string> ReadLink(const std::string& path) override {
    std::string target(256, '\0');
    for (;;) {
      ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
      if (n < 0) return ErrnoStatus("read link", path, errno);
      if (static_cast<size_t>(n) < target.size()) {
        target.resize(static_cast<size_t>(n));
        return target;
      }
      target.resize(target.size() * 2);  // may have been cut: try a larger buffer
    }
  }

  Status SyncDir(const std::string& dir) override {
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return ErrnoStatus("open folder", dir, errno);
    int rc = ::fsync(fd);
    int err = errno;
    ::close(fd);
    if (rc != 0) return ErrnoStatus("sync folder", dir, err);
    return Status::OK();
  }
};

}  // namespace

std::unique_ptr<Env> NewHostEnv() { return std::make_unique<HostEnv>(); }

}  // namespace qv::fs
