#include "platform/rdd/check.h"

#include "platform/rdd/dbt_format.h"
#include "platform/rdd/field_codec.h"
#include "platform/rdd/table.h"

namespace qv::rdd {
namespace {

constexpr size_t kMaxRecordFaults = 50;  // beyond this, one summary line

Status CheckSize(Table& table, std::vector<std::string>* faults) {
  const DbfHeader& h = table.header();
  QV_ASSIGN_OR_RETURN(uint64_t size, table.dbf_file().Size());
  const uint32_t count = h.CountFromSize(size);
  if (h.stored_count != count) {
    faults->push_back(table.path() + " at offset 4: header record count " +
                      std::to_string(h.stored_count) + ", the file holds " + std::to_string(count) +
                      " records");
  }
  const uint64_t end = h.header_length + static_cast<uint64_t>(count) * h.record_length;
  if (size > end) {
    char c = 0;
    size_t got = 0;
    QV_RETURN_IF_ERROR(table.dbf_file().ReadAt(end, 1, &c, &got));
    if (size > end + 1 || c != kEndOfFile) {
      faults->push_back(table.path() + " at offset " + std::to_string(end) + ": " +
                        std::to_string(size - end) + " bytes after the last record");
    }
  }
  return Status::OK();
}

Status CheckMemoHeader(MemoFile& memo, std::vector<std::string>* faults) {
  if (memo.kind() != MemoKind::kDbt3) return Status::OK();
  QV_ASSIGN_OR_RETURN(uint64_t size, memo.file().Size());
  auto next = memo.NextFree();
  if (!next.ok()) {
    faults->push_back(next.status().message());
    return Status::OK();
  }
  // Bytes after the next free block are unused (a save cut off before it
  // moved the header on); a next free block far past the end is damage.
  const uint64_t start = static_cast<uint64_t>(*next) * kDbtBlockSize;
  if (*next < kFirstMemoBlock || start >= size + kDbtBlockSize) {
    faults->push_back(memo.path() + " at offset 0: next free block " + std::to_string(*next) +
                      " but the file has " + std::to_string(size) + " bytes");
  }
  return Status::OK();
}

}  // namespace

Status CheckTable(fs::Env& env, const std::string& path, const BagOpener* bag_opener,
                  std::vector<std::string>* faults) {
  TableOpenOptions options;
  options.read_only = true;
  options.bag_opener = bag_opener;
  auto opened = Table::Open(env, path, options);
  if (!opened.ok()) {
    if (!opened.status().IsCorruption()) return opened.status();
    faults->push_back(opened.status().message());
    return Status::OK();
  }
  Table& table = **opened;
  QV_RETURN_IF_ERROR(CheckSize(table, faults));
  if (table.memo()) QV_RETURN_IF_ERROR(CheckMemoHeader(*table.memo(), faults));
  QV_ASSIGN_OR_RETURN(uint32_t count, table.RecordCount());
  uint32_t next_free = 0;
  if (table.memo() && table.memo()->kind() == MemoKind::kDbt3) {
    auto next = table.memo()->NextFree();
    if (next.ok()) next_free = *next;
  }
  size_t record_faults = 0;
  auto fault = [&](uint32_t recno, const std::string& what) {
    if (++record_faults <= kMaxRecordFaults) {
      faults->push_back(path + ": record " + std::to_string(recno) + ": " + what);
    }
  };
  for (uint32_t recno = 1; recno <= count; ++recno) {
    QV_ASSIGN_OR_RETURN(std::string_view view, table.ReadRecord(recno));
    std::string record(view);
    if (record[0] != kRecordLive && record[0] != kRecordDeleted) {
      fault(recno, "deletion flag is neither blank nor '*'");
    }
    for (const FieldInfo& f : table.fields()) {
      if (f.type != FieldType::kMemo) continue;
      uint32_t block = MemoBlockOf(f, record.data());
      if (block == 0) continue;
      if (next_free != 0 && block >= next_free) {
        fault(recno, "field " + f.name + " points to memo block " + std::to_string(block) +
                         " at or past the next free block " + std::to_string(next_free));
        continue;
      }
      auto text = table.ReadMemo(f, record);
      if (!text.ok()) fault(recno, "field " + f.name + ": " + text.status().message());
    }
  }
  if (record_faults > kMaxRecordFaults) {
    faults->push_back(path + ": " + std::to_string(record_faults - kMaxRecordFaults) +
                      " more record faults");
  }
  for (const auto& bag : table.bags()) QV_RETURN_IF_ERROR(bag->Check(table, faults));
  return Status::OK();
}

}  // namespace qv::rdd
