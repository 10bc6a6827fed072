#include "platform/rdd/table.h"

#include <cctype>
#include <ctime>

#include "platform/rdd/field_codec.h"
#include "platform/rdd/pack.h"

namespace qv::rdd {
namespace {

rt::Date HostToday() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return rt::Date::FromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::string WithExtension(const std::string& path, std::string_view ext, bool upper) {
  size_t slash = path.find_last_of('/');
  size_t dot = path.find_last_of('.');
  std::string base = dot != std::string::npos && (slash == std::string::npos || dot > slash)
                         ? path.substr(0, dot)
                         : path;
  std::string e(ext);
  for (char& c : e) {
    c = static_cast<char>(upper ? std::toupper(static_cast<unsigned char>(c))
                                : std::tolower(static_cast<unsigned char>(c)));
  }
  return base + e;
}

bool UpperExtension(const std::string& path) {
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || dot + 1 >= path.size()) return false;
  return std::isupper(static_cast<unsigned char>(path[dot + 1])) != 0;
}

}  // namespace

std::string SiblingPath(fs::Env& env, const std::string& table_path, std::string_view ext) {
  const bool upper = UpperExtension(table_path);
  std::string preferred = WithExtension(table_path, ext, upper);
  if (env.Stat(preferred).ok()) return preferred;
  std::string other = WithExtension(table_path, ext, !upper);
  if (env.Stat(other).ok()) return other;
  return preferred;
}

// The exclusive share lock comes before the truncation, so a file someone
// has open is never emptied under them (lock rule 1).
Result<std::unique_ptr<fs::File>> CreateExclusive(fs::Env& env, const std::string& path) {
  auto existing = env.Open(path, fs::OpenMode::kReadWrite);
  if (!existing.ok() && !existing.status().IsNotFound()) return existing.status();
  std::unique_ptr<fs::File> file;
  if (existing.ok()) {
    file = std::move(existing).value();
  } else {
    QV_ASSIGN_OR_RETURN(file, env.Open(path, fs::OpenMode::kCreateNew));
  }
  QV_RETURN_IF_ERROR(file->SetShareMode(fs::ShareMode::kExclusive));
  QV_RETURN_IF_ERROR(file->Truncate(0));
  return file;
}

Table::Table(fs::Env& env, std::string path, const TableOpenOptions& options)
    : env_(&env), path_(std::move(path)), options_(options) {
  today_ = options.today.empty() ? HostToday() : options.today;
}

Table::~Table() { (void)Close(); }

Result<std::unique_ptr<Table>> Table::Open(fs::Env& env, const std::string& path,
                                           const TableOpenOptions& options) {
  QV_RETURN_IF_ERROR(RecoverInterruptedPack(env, path));
  std::unique_ptr<Table> table(new Table(env, path, options));
  QV_RETURN_IF_ERROR(table->OpenFiles());
  return table;
}

Status Table::OpenFiles() {
  const fs::OpenMode mode = options_.read_only ? fs::OpenMode::kRead : fs::OpenMode::kReadWrite;
  const fs::ShareMode share =
      options_.exclusive ? fs::ShareMode::kExclusive : fs::ShareMode::kShared;
  QV_ASSIGN_OR_RETURN(dbf_, env_->Open(path_, mode));
  QV_RETURN_IF_ERROR(dbf_->SetShareMode(share));  // lock rule (1)
  QV_RETURN_IF_ERROR(ReadHeader());
  if (options_.exclusive && !options_.read_only) {
    QV_ASSIGN_OR_RETURN(uint64_t size, dbf_->Size());
    QV_RETURN_IF_ERROR(RepairCount(size));
  }

  const MemoKind kind = MemoKindOf(header_);
  if (kind != MemoKind::kNone) {
    std::string memo_path = SiblingPath(*env_, path_, kind == MemoKind::kFpt ? ".fpt" : ".dbt");
    auto memo_file = env_->Open(memo_path, mode);
    if (!memo_file.ok()) {
      if (!memo_file.status().IsNotFound()) return memo_file.status();
      return Status::NotFound(path_ + ": its memo file " + memo_path + " is missing");
    }
    QV_RETURN_IF_ERROR((*memo_file)->SetShareMode(share));
    QV_ASSIGN_OR_RETURN(memo_,
                        MemoFile::Open(std::move(memo_file).value(), kind, !options_.exclusive));
  }
  if (header_.HasStructuralBag() && options_.bag_opener && *options_.bag_opener) {
    std::string bag = SiblingPath(*env_, path_, ".cdx");
    if (env_->Stat(bag).ok()) {
      QV_ASSIGN_OR_RETURN(auto opened,
                          (*options_.bag_opener)(*env_, bag, *this, share, options_.read_only));
      bags_.push_back(std::move(opened));
      structural_ = true;
    }
  }
  return Status::OK();
}

Status Table::ReadHeader() {
  QV_ASSIGN_OR_RETURN(uint64_t size, dbf_->Size());
  std::string bytes(kDbfFileHeaderSize, '\0');
  size_t got = 0;
  QV_RETURN_IF_ERROR(dbf_->ReadAt(0, bytes.size(), bytes.data(), &got));
  bytes.resize(got);
  size_t need = HeaderBytesNeeded(bytes);
  if (need > got && got == kDbfFileHeaderSize && need <= size) {
    bytes.resize(need);
    QV_RETURN_IF_ERROR(dbf_->ReadAt(0, need, bytes.data(), &got));
    bytes.resize(got);
  }
  QV_ASSIGN_OR_RETURN(header_, ParseHeader(path_, bytes, size));
  count_ = file_count_ = header_.CountFromSize(size);
  return Status::OK();
}

Result<std::unique_ptr<Table>> Table::OnOpenFiles(fs::Env& env, const std::string& path,
                                                  std::unique_ptr<fs::File> dbf,
                                                  std::unique_ptr<MemoFile> memo,
                                                  const TableOpenOptions& options) {
  std::unique_ptr<Table> table(new Table(env, path, options));
  table->dbf_ = std::move(dbf);
  table->memo_ = std::move(memo);
  QV_RETURN_IF_ERROR(table->ReadHeader());
  return table;
}

// The header count is only written, never trusted; an exclusive opener puts
// it right, and cuts a torn record left by a crash.
Status Table::RepairCount(uint64_t size) {
  const uint64_t end = RecordOffset(count_ + 1);
  const bool tail_ok = size == end || (size == end + 1 && [&] {
                         char c = 0;
                         size_t got = 0;
                         return dbf_->ReadAt(end, 1, &c, &got).ok() && got == 1 && c == kEndOfFile;
                       }());
  if (header_.stored_count == count_ && tail_ok) return Status::OK();
  if (size > end) QV_RETURN_IF_ERROR(dbf_->Truncate(end));
  QV_RETURN_IF_ERROR(dbf_->WriteAt(end, std::string(1, kEndOfFile)));
  QV_RETURN_IF_ERROR(WriteHeader(count_));
  return dbf_->Sync();
}

Status Table::WriteHeader(uint32_t count) {
  QV_RETURN_IF_ERROR(dbf_->WriteAt(0, EncodeFileHeader(header_, count, today_)));
  header_.stored_count = count;
  header_dirty_ = false;
  return Status::OK();
}

int Table::FieldIndex(std::string_view name) const {
  for (size_t i = 0; i < header_.fields.size(); ++i) {
    if (SameFieldName(header_.fields[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

Status Table::AddStructuralBag(std::unique_ptr<OrderBag> bag) {
  if (!options_.exclusive || options_.read_only) {
    return Status::InvalidArgument(path_ + ": marking the structural bag needs exclusive use");
  }
  if (structural_) return Status::InvalidArgument(path_ + ": the structural bag is open already");
  if (!header_.HasStructuralBag()) {
    header_.flags |= kFlagStructuralBag;
    QV_RETURN_IF_ERROR(WriteHeader(count_));
  }
  bags_.insert(bags_.begin(), std::move(bag));
  structural_ = true;
  return Status::OK();
}

std::string Table::bag_path() const {
  return structural_ ? bags_.front()->Path() : std::string();
}

Status Table::Flush() {
  if (closed_ || options_.read_only) return Status::OK();
  QV_RETURN_IF_ERROR(FlushWindow());
  QV_RETURN_IF_ERROR(FlushAppends());
  if (header_dirty_) QV_RETURN_IF_ERROR(WriteHeader(count_));
  for (auto& bag : bags_) QV_RETURN_IF_ERROR(bag->Flush());
  return Status::OK();
}

Status Table::Commit() {
  QV_RETURN_IF_ERROR(Flush());
  if (options_.read_only) return Status::OK();
  QV_RETURN_IF_ERROR(dbf_->Sync());
  if (memo_) QV_RETURN_IF_ERROR(memo_->Sync());
  for (auto& bag : bags_) QV_RETURN_IF_ERROR(bag->Sync());
  return Status::OK();
}

Status Table::CloseBags() {
  Status first;
  for (auto& bag : bags_) {
    Status s = bag->Sync();
    if (first.ok()) first = s;
  }
  bags_.clear();
  structural_ = false;
  return first;
}

Status Table::CloseOtherBags() {
  Status first;
  const size_t keep = structural_ ? 1 : 0;
  for (size_t i = keep; i < bags_.size(); ++i) {
    Status s = options_.read_only ? Status::OK() : bags_[i]->Flush();
    if (first.ok()) first = s;
  }
  bags_.resize(keep);
  return first;
}

Status Table::Close() {
  if (closed_) return Status::OK();
  Status status = Flush();
  Status unlocked = Unlock();
  if (status.ok()) status = unlocked;
  bags_.clear();
  structural_ = false;
  memo_.reset();
  dbf_.reset();  // closing releases the share lock (lock rule 6)
  closed_ = true;
  return status;
}

Status Table::Zap() {
  if (!options_.exclusive) return Status::InvalidArgument(path_ + ": zap needs exclusive use");
  if (options_.read_only) return Status::InvalidArgument(path_ + ": table is read-only");
  DropCache();
  append_buf_.clear();
  count_ = file_count_ = 0;
  QV_RETURN_IF_ERROR(dbf_->Truncate(header_.header_length));
  QV_RETURN_IF_ERROR(dbf_->WriteAt(header_.header_length, std::string(1, kEndOfFile)));
  QV_RETURN_IF_ERROR(WriteHeader(0));
  if (memo_) QV_RETURN_IF_ERROR(memo_->Truncate());
  for (auto& bag : bags_) QV_RETURN_IF_ERROR(bag->Zap());
  return Status::OK();
}

Status Table::Create(fs::Env& env, const std::string& path, const std::vector<FieldSpec>& fields,
                     bool structural_bag, rt::Date today) {
  QV_ASSIGN_OR_RETURN(DbfHeader header, NewHeader(fields, structural_bag));
  if (today.empty()) today = HostToday();
  QV_ASSIGN_OR_RETURN(auto file, CreateExclusive(env, path));
  std::string bytes = EncodeHeader(header, 0, today);
  bytes += kEndOfFile;
  QV_RETURN_IF_ERROR(file->WriteAt(0, bytes));
  if (header.HasMemoFile()) {
    std::string memo_path = SiblingPath(env, path, ".dbt");
    QV_ASSIGN_OR_RETURN(auto memo_file, CreateExclusive(env, memo_path));
    QV_RETURN_IF_ERROR(memo_file->WriteAt(0, MemoFile::EmptyDbtHeader()));
  }
  return Status::OK();
}

Status Table::AdoptFiles(Table& other) {
  QV_RETURN_IF_ERROR(other.Flush());
  // The new files now live under this table's names.
  const std::string memo_name = memo_path();
  if (other.memo_ && !memo_name.empty()) other.memo_->set_path(memo_name);
  window_n_ = 0;
  dirty_hi_ = 0;
  append_buf_.clear();
  locked_.clear();
  file_locked_ = false;
  dbf_ = std::move(other.dbf_);
  memo_ = std::move(other.memo_);
  header_ = other.header_;
  count_ = file_count_ = other.count_;
  header_dirty_ = false;
  other.closed_ = true;
  return Status::OK();
}

}  // namespace qv::rdd
