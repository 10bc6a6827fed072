// CDX tags on the 1,000,000-record table (CODE C10, NAME C30, AMOUNT N12.2,
// DATE D, FLAG L): build a tag on UPPER(NAME) and on AMOUNT (each next to
// std::sort of the same keys, the limit of a build), 100,000 seeks on the
// name tag (about half hit), a scan summing AMOUNT in name order, and pack
// with both tags rebuilt after deleting every 10th record. The last
// benchmark reports the process's peak resident memory.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/rdd/rdd.h"

namespace qv::rdd {
namespace {

constexpr uint32_t kRecords = 1000000;
constexpr uint32_t kSeeks = 100000;

void Check(const Status& s) {
  if (!s.ok()) {
    std::fprintf(stderr, "%s\n", s.ToString().c_str());
    std::abort();
  }
}

// A name that repeats now and then, in mixed case; odd n never occur.
std::string NameOf(uint32_t n) {
  static const char* kWords[] = {"smith", "Jones", "ADAMS", "miller", "Baker", "cLARK", "young"};
  uint32_t h = (n / 2) * 2654435761u;
  char text[40];
  std::snprintf(text, sizeof text, "%s %s %06u", kWords[h % 7], kWords[(h >> 8) % 7],
                (h >> 12) % 400000 * 2);
  return text;
}

struct Files {
  std::string dir, table, bag, packed, packed_bag;
  std::unique_ptr<fs::Env> env = fs::NewHostEnv();
  BagOpener opener = CdxBagOpener();
  Files() {
    char templ[] = "/tmp/qvidx-XXXXXX";
    dir = mkdtemp(templ);
    table = dir + "/big.dbf";
    bag = dir + "/big.cdx";
    packed = dir + "/pk.dbf";
    packed_bag = dir + "/pk.cdx";
    Make();
  }
  ~Files() { std::filesystem::remove_all(dir); }

  TableOpenOptions Exclusive() const {
    TableOpenOptions o;
    o.exclusive = true;
    o.bag_opener = &opener;
    return o;
  }
  std::unique_ptr<WorkArea> Open(const std::string& path, const EngineSettings* settings) const {
    auto t = Table::Open(*env, path, Exclusive());
    Check(t.status());
    return std::make_unique<WorkArea>(std::move(t).value(), "BIG", settings);
  }

  void Make() {
    Check(Table::Create(*env, table,
                        {{"CODE", 'C', 10, 0},
                         {"NAME", 'C', 30, 0},
                         {"AMOUNT", 'N', 12, 2},
                         {"DATE", 'D', 8, 0},
                         {"FLAG", 'L', 1, 0}},
                        true));
    EngineSettings settings;
    auto area = Open(table, &settings);
    const int64_t base = rt::Date::FromYmd(2000, 1, 1).julian();
    char code[16];
    for (uint32_t i = 1; i <= kRecords; ++i) {
      Check(area->Append().status());
      std::snprintf(code, sizeof code, "K%09u", i);
      Check(area->Put(1, rt::Value(std::string_view(code, 10))));
      Check(area->Put(2, rt::Value(NameOf(i))));
      Check(area->Put(3, rt::Value::Num(((i * 7919u) % 200000) * 0.5 - 50000, 12, 2)));
      Check(area->Put(4, rt::Value(rt::Date::FromJulian(base + i % 9000))));
      Check(area->Put(5, rt::Value(i % 3 == 0)));
      if (i % 65536 == 0) Check(area->Flush());  // appends stay buffered until a flush
    }
    Check(area->Close());
  }
};

Files& TheFiles() {
  static Files files;  // one table for the whole run
  return files;
}

void BuildTag(benchmark::State& state, const char* name, const char* key) {
  Files& f = TheFiles();
  for (auto _ : state) {
    EngineSettings settings;
    auto area = f.Open(f.table, &settings);
    Check(OrderCreate(*area, f.bag, OrderSpec{name, key, "", false, false}, nullptr));
    Check(area->Close());
  }
}

void BM_BuildNameTag(benchmark::State& state) { BuildTag(state, "NAME", "UPPER(NAME)"); }
void BM_BuildAmountTag(benchmark::State& state) { BuildTag(state, "AMOUNT", "AMOUNT"); }

// The comparison sorts below free a million small strings and a big array;
// the allocator would keep that memory and charge it to the engine's peak.
void ReleaseHeap() { malloc_trim(0); }

// std::sort of the same keys with their record numbers, the keys already in
// memory: what a build cannot beat.
void BM_StdSortNameKeys(benchmark::State& state) {
  using Entry = std::pair<std::array<char, 30>, uint32_t>;
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<Entry> keys(kRecords);
    for (uint32_t i = 0; i < kRecords; ++i) {
      std::string k = NameOf(i + 1);
      k.resize(30, ' ');
      for (char& c : k) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      std::memcpy(keys[i].first.data(), k.data(), 30);
      keys[i].second = i + 1;
    }
    state.ResumeTiming();
    std::sort(keys.begin(), keys.end());
    benchmark::DoNotOptimize(keys.data());
  }
  ReleaseHeap();
}

void BM_StdSortAmountKeys(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::pair<double, uint32_t>> keys(kRecords);
    for (uint32_t i = 0; i < kRecords; ++i) {
      keys[i] = {(((i + 1) * 7919u) % 200000) * 0.5 - 50000, i + 1};
    }
    state.ResumeTiming();
    std::sort(keys.begin(), keys.end());
    benchmark::DoNotOptimize(keys.data());
  }
  ReleaseHeap();
}

void BM_Seek100k(benchmark::State& state) {
  Files& f = TheFiles();
  EngineSettings settings;
  auto area = f.Open(f.table, &settings);
  Check(SetFocus(*area, "NAME"));
  std::vector<std::string> keys;
  for (uint32_t i = 0; i < kSeeks; ++i) {
    std::string name = NameOf((i * 7u) % kRecords + 1);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (i % 2 == 1) name.back() = '1';  // an odd number: no such name
    keys.push_back(name);
  }
  uint32_t found = 0;
  for (auto _ : state) {
    found = 0;
    for (const std::string& k : keys) {
      Check(area->Seek(rt::Value(k), false));
      found += area->Found() ? 1 : 0;
    }
  }
  state.counters["found"] = found;
}

void BM_ScanNameOrder(benchmark::State& state) {
  Files& f = TheFiles();
  EngineSettings settings;
  auto area = f.Open(f.table, &settings);
  Check(SetFocus(*area, "NAME"));
  const int amount = area->FieldPos("AMOUNT");
  double sum = 0;
  for (auto _ : state) {
    sum = 0;
    for (Check(area->GoTop()); !area->Eof(); Check(area->Skip(1))) sum += area->Get(amount)->num();
  }
  benchmark::DoNotOptimize(sum);
}

void BM_PackBothTags(benchmark::State& state) {
  Files& f = TheFiles();
  for (auto _ : state) {
    state.PauseTiming();
    const auto over = std::filesystem::copy_options::overwrite_existing;
    std::filesystem::copy_file(f.table, f.packed, over);
    std::filesystem::copy_file(f.bag, f.packed_bag, over);
    EngineSettings settings;
    auto area = f.Open(f.packed, &settings);
    for (uint32_t r = 10; r <= kRecords; r += 10) {
      Check(area->GoTo(r));
      Check(area->Delete());
    }
    Check(area->Flush());
    state.ResumeTiming();
    Check(Pack(area->table()));
    Check(area->Close());
  }
  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Order matters: the seeks, the scan and the pack use the tags built first.
BENCHMARK(BM_BuildNameTag)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_StdSortNameKeys)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_BuildAmountTag)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_StdSortAmountKeys)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_Seek100k)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_ScanNameOrder)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_PackBothTags)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace
}  // namespace qv::rdd
