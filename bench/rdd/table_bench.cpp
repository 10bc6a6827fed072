// The table engine on 1,000,000 records (CODE C10, NAME C30, AMOUNT N12.2,
// DATE D, FLAG L), no index: append all, scan summing AMOUNT, delete every
// 10th record, pack; and reading the file as plain bytes, the physical
// limit of the scan. Files live in a temporary folder (page cache).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/rdd/rdd.h"

namespace qv::rdd {
namespace {

constexpr uint32_t kRecords = 1000000;

struct BenchFiles {
  std::string dir;
  std::string table;
  std::string packed;
  std::unique_ptr<fs::Env> env = fs::NewHostEnv();
  BenchFiles() {
    char templ[] = "/tmp/qvbench-XXXXXX";
    dir = mkdtemp(templ);
    table = dir + "/big.dbf";
    packed = dir + "/pack.dbf";
  }
  ~BenchFiles() { std::filesystem::remove_all(dir); }
};

BenchFiles& Files() {
  static BenchFiles files;  // one folder for the whole run
  return files;
}

void Check(const Status& s) {
  if (!s.ok()) {
    std::fprintf(stderr, "%s\n", s.ToString().c_str());
    std::abort();
  }
}

TableOpenOptions ExclusiveUse() {
  TableOpenOptions o;
  o.exclusive = true;
  return o;
}

void AppendAll(const std::string& path) {
  fs::Env& env = *Files().env;
  Check(Table::Create(env, path,
                      {{"CODE", 'C', 10, 0},
                       {"NAME", 'C', 30, 0},
                       {"AMOUNT", 'N', 12, 2},
                       {"DATE", 'D', 8, 0},
                       {"FLAG", 'L', 1, 0}}));
  auto table = Table::Open(env, path, ExclusiveUse());
  Check(table.status());
  EngineSettings settings;
  WorkArea area(std::move(table).value(), "BIG", &settings);
  const rt::Date base = rt::Date::FromYmd(2000, 1, 1);
  char code[16];
  for (uint32_t i = 1; i <= kRecords; ++i) {
    auto added = area.Append();
    Check(added.status());
    std::snprintf(code, sizeof code, "K%09u", i);
    Check(area.Put(1, rt::Value(std::string_view(code, 10))));
    Check(area.Put(2, rt::Value(std::string_view("Customer name of thirty chars"))));
    Check(area.Put(3, rt::Value::Num((i % 100000) * 1.25 - 5000, 12, 2)));
    Check(area.Put(4, rt::Value(rt::Date::FromJulian(base.julian() + i % 9000))));
    Check(area.Put(5, rt::Value(i % 3 == 0)));
  }
  Check(area.Close());
}

void BM_Append(benchmark::State& state) {
  for (auto _ : state) AppendAll(Files().table);
}

void BM_ScanSumAmount(benchmark::State& state) {
  double sum = 0;
  for (auto _ : state) {
    auto table = Table::Open(*Files().env, Files().table, ExclusiveUse());
    Check(table.status());
    EngineSettings settings;
    WorkArea area(std::move(table).value(), "BIG", &settings);
    const int amount = area.FieldPos("AMOUNT");
    sum = 0;
    for (Check(area.GoTop()); !area.Eof(); Check(area.Skip(1))) sum += area.Get(amount)->num();
  }
  benchmark::DoNotOptimize(sum);
}

void BM_ReadFile(benchmark::State& state) {
  uint64_t total = 0;
  for (auto _ : state) {
    auto file = Files().env->Open(Files().table, fs::OpenMode::kRead);
    Check(file.status());
    std::string buf(1 << 20, '\0');
    size_t got = 0;
    total = 0;
    do {
      Check((*file)->ReadAt(total, buf.size(), buf.data(), &got));
      total += got;
    } while (got == buf.size());
  }
  benchmark::DoNotOptimize(total);
}

void BM_DeleteEvery10th(benchmark::State& state) {
  for (auto _ : state) {
    auto table = Table::Open(*Files().env, Files().table, ExclusiveUse());
    Check(table.status());
    EngineSettings settings;
    WorkArea area(std::move(table).value(), "BIG", &settings);
    for (uint32_t r = 10; r <= kRecords; r += 10) {
      Check(area.GoTo(r));
      Check(area.Delete());
    }
    Check(area.Close());
  }
}

void BM_Pack(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::copy_file(Files().table, Files().packed,
                               std::filesystem::copy_options::overwrite_existing);
    state.ResumeTiming();
    auto table = Table::Open(*Files().env, Files().packed, ExclusiveUse());
    Check(table.status());
    Check(Pack(**table));
    Check((*table)->Close());
  }
}

// Order matters: the scan and the deletes use the table the append made.
BENCHMARK(BM_Append)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_ScanSumAmount)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_ReadFile)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_DeleteEvery10th)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_Pack)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace
}  // namespace qv::rdd
