#include "platform/rdd/pack.h"

#include <utility>
#include <vector>

#include "platform/rdd/field_codec.h"

namespace qv::rdd {
namespace {

struct SwapPair {
  std::string new_path;
  std::string old_path;
};

std::string NameOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Pack rule (2): the live records and their memos into the new files.
Status WriteBeside(Table& table, fs::File& dbf, MemoFile* memo) {
  const DbfHeader& h = table.header();
  std::string header(h.header_length, '\0');
  size_t got = 0;
  QV_RETURN_IF_ERROR(table.dbf_file().ReadAt(0, header.size(), header.data(), &got));
  QV_ASSIGN_OR_RETURN(uint32_t count, table.RecordCount());
  std::string out;
  uint32_t live = 0;
  uint64_t at = h.header_length;
  for (uint32_t recno = 1; recno <= count; ++recno) {
    QV_ASSIGN_OR_RETURN(std::string_view image, table.ReadRecord(recno));
    if (image[0] == kRecordDeleted) continue;
    std::string record(image);
    for (const FieldInfo& f : h.fields) {
      if (f.type != FieldType::kMemo || !memo) continue;
      QV_ASSIGN_OR_RETURN(std::string text, table.ReadMemo(f, record));
      QV_ASSIGN_OR_RETURN(uint32_t block, memo->Append(text, /*terminators=*/1));
      PutMemoBlock(f, block, record.data());
    }
    out += record;
    ++live;
    if (out.size() >= (1u << 20)) {
      QV_RETURN_IF_ERROR(dbf.WriteAt(at, out));
      at += out.size();
      out.clear();
    }
  }
  out += kEndOfFile;
  QV_RETURN_IF_ERROR(dbf.WriteAt(at, out));
  header.replace(0, kDbfFileHeaderSize, EncodeFileHeader(h, live, table.today()));
  QV_RETURN_IF_ERROR(dbf.WriteAt(0, header));
  QV_RETURN_IF_ERROR(dbf.Sync());
  if (memo) QV_RETURN_IF_ERROR(memo->Sync());
  return Status::OK();
}

// Pack rule (3).
Status WriteSwapList(fs::Env& env, const std::string& dbf_path,
                     const std::vector<SwapPair>& pairs) {
  std::string text;
  for (const SwapPair& p : pairs) text += NameOf(p.new_path) + "\t" + NameOf(p.old_path) + "\n";
  text += "end\n";
  const std::string temp = dbf_path + kPackListTempSuffix;
  QV_RETURN_IF_ERROR(fs::WriteWholeFile(env, temp, text, /*sync=*/true));
  QV_RETURN_IF_ERROR(env.Rename(temp, dbf_path + kPackListSuffix));
  return env.SyncDir(FolderOf(dbf_path));
}

// Pack rule (4); also the roll forward of rule (6).
Status SwapIn(fs::Env& env, const std::string& folder, const std::vector<SwapPair>& pairs) {
  for (const SwapPair& p : pairs) {
    if (!env.Stat(p.new_path).ok()) continue;  // renamed before a crash
    QV_RETURN_IF_ERROR(env.Rename(p.new_path, p.old_path));
  }
  return env.SyncDir(folder);
}

void RemoveQuietly(fs::Env& env, const std::string& path) { (void)env.Remove(path); }

}  // namespace

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

Status Pack(Table& table) {
  if (!table.exclusive() || table.read_only()) {  // rule (1)
    return Status::InvalidArgument(table.path() + ": pack needs exclusive use");
  }
  fs::Env& env = table.env();
  OrderBag* bag = table.structural_bag();
  if (!bag && table.header().HasStructuralBag() &&
      env.Stat(SiblingPath(env, table.path(), ".cdx")).ok()) {
    return Status::NotSupported(table.path() + ": its index bag is not open to be rebuilt");
  }
  if (table.memo() && table.memo()->kind() != MemoKind::kDbt3) {
    return Status::NotSupported(table.path() + ": pack rewrites only dBase III memo files");
  }
  QV_RETURN_IF_ERROR(table.Flush());

  const std::string dbf_path = table.path();
  std::vector<SwapPair> pairs;  // DBF last (rule 4)
  const std::string memo_path = table.memo_path();
  std::unique_ptr<MemoFile> memo;
  std::unique_ptr<fs::File> bag_file;
  auto cleanup = [&] {
    for (const SwapPair& p : pairs) RemoveQuietly(env, p.new_path);
    RemoveQuietly(env, dbf_path + kPackNewSuffix);
  };
  auto result = [&]() -> Result<std::unique_ptr<Table>> {
    QV_ASSIGN_OR_RETURN(auto dbf, CreateExclusive(env, dbf_path + kPackNewSuffix));
    if (!memo_path.empty()) {
      pairs.push_back({memo_path + kPackNewSuffix, memo_path});
      QV_ASSIGN_OR_RETURN(auto memo_file, CreateExclusive(env, pairs.back().new_path));
      QV_RETURN_IF_ERROR(memo_file->WriteAt(0, MemoFile::EmptyDbtHeader()));
      QV_ASSIGN_OR_RETURN(memo, MemoFile::Open(std::move(memo_file), MemoKind::kDbt3, false));
    }
    QV_RETURN_IF_ERROR(WriteBeside(table, *dbf, memo.get()));
    TableOpenOptions options;
    options.exclusive = true;
    options.today = table.today();
    QV_ASSIGN_OR_RETURN(auto packed, Table::OnOpenFiles(env, dbf_path + kPackNewSuffix,
                                                        std::move(dbf), std::move(memo), options));
    if (bag) {
      pairs.push_back({bag->Path() + kPackNewSuffix, bag->Path()});
      QV_ASSIGN_OR_RETURN(bag_file, bag->BuildBeside(*packed, pairs.back().new_path));
    }
    return packed;
  }();
  if (!result.ok()) {
    cleanup();
    return result.status();
  }
  pairs.push_back({dbf_path + kPackNewSuffix, dbf_path});
  Status listed = WriteSwapList(env, dbf_path, pairs);  // rule (3)
  if (!listed.ok()) {
    RemoveQuietly(env, dbf_path + kPackListSuffix);
    RemoveQuietly(env, dbf_path + kPackListTempSuffix);
    cleanup();
    return listed;
  }
  QV_RETURN_IF_ERROR(SwapIn(env, FolderOf(dbf_path), pairs));  // rule (4)
  QV_RETURN_IF_ERROR(table.AdoptFiles(**result));              // rule (5)
  if (bag) QV_RETURN_IF_ERROR(bag->Adopt(std::move(bag_file)));
  QV_RETURN_IF_ERROR(env.Remove(dbf_path + kPackListSuffix));
  QV_RETURN_IF_ERROR(env.SyncDir(FolderOf(dbf_path)));
  // Other open bags are not part of the swap: each is rebuilt afterwards
  // (beside and renamed in, as every rebuild is).
  for (const auto& other : table.bags()) {
    if (other.get() != bag) QV_RETURN_IF_ERROR(other->Rebuild(table));
  }
  return Status::OK();
}

Status RecoverInterruptedPack(fs::Env& env, const std::string& dbf_path) {
  const std::string list_path = dbf_path + kPackListSuffix;
  const bool listed = env.Stat(list_path).ok();
  if (!listed && !env.Stat(dbf_path + kPackNewSuffix).ok() &&
      !env.Stat(dbf_path + kPackListTempSuffix).ok()) {
    return Status::OK();
  }
  auto dbf = env.Open(dbf_path, fs::OpenMode::kReadWrite);
  if (!dbf.ok()) return Status::OK();  // the open itself will report it
  Status held = (*dbf)->SetShareMode(fs::ShareMode::kExclusive);
  if (held.IsLockBusy()) return Status::OK();  // the packer is still at work
  QV_RETURN_IF_ERROR(held);
  const std::string folder = FolderOf(dbf_path);
  std::vector<SwapPair> pairs;
  bool complete = false;
  if (listed) {
    QV_ASSIGN_OR_RETURN(std::string text, fs::ReadWholeFile(env, list_path));
    size_t pos = 0;
    while (pos < text.size()) {
      size_t eol = text.find('\n', pos);
      if (eol == std::string::npos) break;
      std::string line = text.substr(pos, eol - pos);
      pos = eol + 1;
      if (line == "end") {
        complete = pos == text.size();
        break;
      }
      size_t tab = line.find('\t');
      if (tab == std::string::npos) break;
      pairs.push_back({folder + "/" + line.substr(0, tab), folder + "/" + line.substr(tab + 1)});
    }
  }
  if (complete) {
    QV_RETURN_IF_ERROR(SwapIn(env, folder, pairs));
  } else {
    // Roll back: the new files are every ".pk-new" sibling of the table.
    const std::string base = NameOf(dbf_path);
    const std::string stem = base.substr(0, base.find_last_of('.'));
    QV_ASSIGN_OR_RETURN(auto entries, env.List(folder));
    const std::string suffix = kPackNewSuffix;
    for (const fs::DirEntry& e : entries) {
      bool ours = e.name.size() > suffix.size() &&
                  e.name.compare(0, stem.size() + 1, stem + ".") == 0 &&
                  e.name.compare(e.name.size() - suffix.size(), suffix.size(), suffix) == 0;
      if (ours && e.name != base + kPackNewSuffix) RemoveQuietly(env, folder + "/" + e.name);
    }
    RemoveQuietly(env, dbf_path + kPackListTempSuffix);
    RemoveQuietly(env, dbf_path + kPackNewSuffix);  // last: it marks leftovers
  }
  if (listed) QV_RETURN_IF_ERROR(env.Remove(list_path));
  return env.SyncDir(folder);
}

}  // namespace qv::rdd
