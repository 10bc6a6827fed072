// Fuzzes the DBF reader: the input is a table file; it is opened, walked
// and every field read, checked, and opened exclusively (which may repair
// the header count). Any answer is fine; a crash or hang is not.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/fs/env.h"
#include "platform/rdd/check.h"
#include "platform/rdd/table.h"
#include "platform/rdd/work_area.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto env = qv::fs::NewMemEnv();
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (!qv::fs::WriteWholeFile(*env, "/f.dbf", bytes, false).ok()) return 0;
  // A memo file for tables that want one: an empty DBT.
  (void)qv::fs::WriteWholeFile(
      *env, "/f.dbt", std::string("\x01\0\0\0\0\x02\0\0", 8) + std::string(504, '\0'), false);
  qv::rdd::TableOpenOptions options;
  auto table = qv::rdd::Table::Open(*env, "/f.dbf", options);
  if (table.ok()) {
    qv::rdd::EngineSettings settings;
    qv::rdd::WorkArea area(std::move(table).value(), "F", &settings);
    int budget = 2000;
    for (qv::Status s = area.GoTop(); s.ok() && !area.Eof() && --budget > 0; s = area.Skip(1)) {
      for (int pos = 1; pos <= area.FieldCount(); ++pos) (void)area.Get(pos);
    }
  }
  std::vector<std::string> faults;
  (void)qv::rdd::CheckTable(*env, "/f.dbf", nullptr, &faults);
  options.exclusive = true;
  (void)qv::rdd::Table::Open(*env, "/f.dbf", options);
  return 0;
}
