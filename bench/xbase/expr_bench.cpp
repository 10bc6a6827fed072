// Keys and filters are evaluated once per record: each benchmark runs one
// compiled expression over 1,000,000 in-memory records, next to a plain C++
// loop doing the same work in the same run (the "Baseline" twins).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/runtime/number.h"
#include "platform/runtime/session.h"
#include "platform/runtime/text.h"
#include "platform/xbase/expr.h"
#include "platform/xbase/table_access.h"

namespace qv::xb {
namespace {

constexpr int kRecords = 1000000;

// One table in area 1 with NAME (C 30), DDATE (D) and AMOUNT (N 12,2).
class MemoryRecords : public TableAccess {
 public:
  MemoryRecords() {
    names_.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i) {
      std::string name = "customer name " + std::to_string(i);
      name.resize(30, ' ');
      names_.push_back(std::move(name));
      dates_.push_back(rt::Date::FromJulian(2450000 + i % 20000));
      amounts_.push_back(rt::Number{i * 1.25, 12, 2});
    }
  }
  void Go(int64_t recno) { recno_ = recno; }
  const std::string& Name(int64_t r) const { return names_[static_cast<size_t>(r - 1)]; }
  rt::Date DDate(int64_t r) const { return dates_[static_cast<size_t>(r - 1)]; }
  double Amount(int64_t r) const { return amounts_[static_cast<size_t>(r - 1)].value; }

  uint64_t LayoutStamp() const override { return 1; }
  int CurrentArea() const override { return 1; }
  void SelectArea(int) override {}
  int AreaOf(std::string_view alias) const override { return alias == "MEM" ? 1 : 0; }
  bool Used(int area) const override { return area == 1; }
  std::string Alias(int area) const override { return area == 1 ? "MEM" : ""; }
  std::string Dbf(int) const override { return "mem.dbf"; }
  int FieldIndex(int, std::string_view name) const override {
    for (int i = 0; i < 3; ++i) {
      if (name == kFields[i]) return i;
    }
    return -1;
  }
  int FieldCount(int) const override { return 3; }
  std::string FieldName(int, int index) const override { return kFields[index]; }
  rt::Value GetField(int, int index) override {
    size_t r = static_cast<size_t>(recno_ - 1);
    switch (index) {
      case 0:
        return rt::Value(names_[r]);
      case 1:
        return rt::Value(dates_[r]);
      default:
        return rt::Value(amounts_[r]);
    }
  }
  Status PutField(int, int, const rt::Value&) override { return Status::NotSupported("bench"); }
  bool Eof(int) const override { return false; }
  bool Bof(int) const override { return false; }
  bool Found(int) const override { return false; }
  bool Deleted(int) const override { return false; }
  int64_t RecNo(int) const override { return recno_; }
  int64_t RecCount(int) const override { return kRecords; }

 private:
  static constexpr const char* kFields[] = {"NAME", "DDATE", "AMOUNT"};
  std::vector<std::string> names_;
  std::vector<rt::Date> dates_;
  std::vector<rt::Number> amounts_;
  int64_t recno_ = 1;
};

void RunExpression(benchmark::State& state, const char* text) {
  MemoryRecords records;  // built before the timed loop
  rt::Session session;
  Host host{session, &records};
  Result<Expr> expr = Expr::Compile(text);
  if (!expr.ok()) {
    state.SkipWithError(expr.status().message().c_str());
    return;
  }
  for (auto _ : state) {
    size_t bytes = 0;
    for (int64_t r = 1; r <= kRecords; ++r) {
      records.Go(r);
      bytes += expr->Eval(host).str().size();
    }
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

std::string UpperCopy(const std::string& s) {
  std::string out = s;
  for (char& c : out) c = rt::UpperByte(c);
  return out;
}

// The plain C++ twin: work(records, r) returns the text it made for record r.
template <typename Work>
void RunBaseline(benchmark::State& state, Work work) {
  MemoryRecords records;  // built before the timed loop
  for (auto _ : state) {
    size_t bytes = 0;
    for (int64_t r = 1; r <= kRecords; ++r) bytes += work(records, r).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_UpperName(benchmark::State& state) { RunExpression(state, "UPPER(NAME)"); }

void BM_UpperName_Baseline(benchmark::State& state) {
  RunBaseline(state, [](MemoryRecords& records, int64_t r) { return UpperCopy(records.Name(r)); });
}

void BM_UpperNameDtos(benchmark::State& state) { RunExpression(state, "UPPER(NAME)+DTOS(DDATE)"); }

void BM_UpperNameDtos_Baseline(benchmark::State& state) {
  RunBaseline(state, [](MemoryRecords& records, int64_t r) {
    return UpperCopy(records.Name(r)) + records.DDate(r).Dtos();
  });
}

void BM_StrAmount(benchmark::State& state) { RunExpression(state, "STR(AMOUNT,12,2)"); }

void BM_StrAmount_Baseline(benchmark::State& state) {
  RunBaseline(state, [](MemoryRecords& records, int64_t r) {
    char buf[64];
    int n = std::snprintf(buf, sizeof buf, "%12.2f", records.Amount(r));
    return std::string(buf, static_cast<size_t>(n));
  });
}

BENCHMARK(BM_UpperName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpperName_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpperNameDtos)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpperNameDtos_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StrAmount)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StrAmount_Baseline)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv::xb
