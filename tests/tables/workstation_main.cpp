// One workstation of the multi-process tests: a process of its own with its
// own workstation number, sharing drive C with the others.
//   tables_workstation ROOT TERMNO post SEED ROUNDS  post ROUNDS entries to
//       1.co\ledger under the semaphore and file lock ("L"), holding each a
//       seeded while; adds 1 to record 1's TOTAL each time
//   tables_workstation ROOT TERMNO hold L|E         opens the ledger with the
//       flag, writes ROOT/held.flag, holds until ROOT/release.flag (20 s at most)
//   tables_workstation ROOT TERMNO open             opens the ledger shared;
//       exit 0 when USIT refused it
// A workstation writes ROOT/waiting<TERMNO>.flag when it first waits, and its
// notes and messages to ROOT/ws<TERMNO>.log. Exit 0 on success, 1 on failure.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include "tables/tables_fixture.h"
#include "tables/usit.h"

namespace {

using qv::rt::Value;
using qv::tables::Usit;
using qv::tables::testing::Workstation;

bool Post(Workstation& w, unsigned seed, int rounds, const std::string& term) {
  std::mt19937 random(seed);
  // The table behind the resource, for the stale-semaphore clean-up.
  w.session().DeclarePrivate("FILENM", Value("ledger"));
  w.session().DeclarePrivate("EXT", Value("Y"));
  for (int round = 1; round <= rounds; ++round) {
    if (!Usit(w.ctx(), "ledger", Value("1.co\\"), {Value("L")})) return false;
    qv::rdd::WorkArea* area = w.ws().Area();
    if (!area->GoTo(1).ok()) return false;
    const double total = area->Get("TOTAL")->num();
    if (!area->Put("TOTAL", Value::Int(static_cast<int64_t>(total) + 1)).ok()) return false;
    if (!area->Append().ok() || !area->Put("TERM", Value(term)).ok() ||
        !area->Put("ROUND", Value::Int(round)).ok() || !area->Commit().ok()) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(random() % 30));
    if (!Usit(w.ctx(), "ledger", Value("1.co\\"), {Value("U")})) return false;
  }
  return true;
}

bool Hold(Workstation& w, const std::string& root, const std::string& flag) {
  if (!Usit(w.ctx(), "ledger", Value("1.co\\"), {Value(flag)})) return false;
  std::ofstream(root + "/held.flag").put('x');
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!std::filesystem::exists(root + "/release.flag")) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return Usit(w.ctx(), "ledger", Value("1.co\\"), {Value("U")});
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  const std::string root = argv[1];
  const std::string term = argv[2];
  const std::string mode = argv[3];
  Workstation w(root, term, true);
  w.OnPause([&](int pauses) {
    if (pauses == 1) std::ofstream(root + "/waiting" + term + ".flag").put('x');
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  });
  bool ok = false;
  if (mode == "post" && argc >= 6) {
    ok = Post(w, static_cast<unsigned>(std::atoi(argv[4])), std::atoi(argv[5]), term);
  } else if (mode == "hold" && argc >= 5) {
    ok = Hold(w, root, argv[4]);
  } else if (mode == "open") {
    ok = !Usit(w.ctx(), "ledger", Value("1.co\\"));
  }
  std::ofstream log(root + "/ws" + term + ".log");
  for (const std::string& line : w.Transcript("NOTE")) log << line << "\n";
  for (const std::string& text : w.MsgTexts()) log << "MSG\t" << text << "\n";
  return ok ? 0 : 1;
}
