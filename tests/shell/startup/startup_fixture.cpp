#include "startup_fixture.h"

#include <gtest/gtest.h>

#include "platform/gui/bitmap.h"
#include "platform/runtime/text.h"
#include "shell/startup/procedures.h"

namespace qv::shell::testing {

namespace {

std::unique_ptr<fs::WinFs> MakeDrives(fs::Env& env, const qv::testing::TempDir& dir,
                                      const std::string& start) {
  EXPECT_TRUE(env.MakeDir(dir.Sub("d")).ok());
  EXPECT_TRUE(fs::PrepareDriveC(env, dir.Sub("c"), "C:\\WINDOWS").ok());
  if (!start.empty()) {
    EXPECT_TRUE(env.MakeDir(dir.Sub("d/" + start)).ok());
  }
  EXPECT_TRUE(env.MakeDir(dir.Sub("d/" + start + "exe")).ok());
  qv::testing::WriteHostFile(dir.Sub("d/" + start + "exe/ctl3d.dll"), "3-D controls (test)");
  qv::testing::WriteHostFile(dir.Sub("d/" + start + "quorv.bmp"),
                             gui::EncodeBmp(8, 4, [](int, int) { return 0x0000FFu; }));
  fs::DriveMap map;
  map.roots = {{'C', dir.Sub("c")}, {'D', dir.Sub("d")}};
  map.current = 'D';
  map.current_dir = start.empty() ? "" : start.substr(0, start.size() - 1);
  return std::make_unique<fs::WinFs>(env, map);
}

}  // namespace

StartupTest::StartupTest(const std::string& start_dir)
    : start_(start_dir.empty() ? "" : start_dir + "/"),
      env_(fs::NewHostEnv()),
      fs_(MakeDrives(*env_, dir_, start_)),
      session_(rt::Clock::Frozen(rt::Date::FromYmd(2026, 12, 11), 9 * 3600)),
      gui_(gui::GuiOptions{}, gui::ScriptOptions{&transcript_}),
      ctx_(session_, *fs_, gui_) {}

int StartupTest::Run(std::vector<std::function<void()>> steps) {
  if (state_ == nullptr) {
    StartupOptions options;
    options.getenv = [this](const char* name) -> const char* {
      auto it = environment_.find(name);
      return it == environment_.end() ? nullptr : it->second.c_str();
    };
    state_ = RegisterStartupProcedures(ctx_, std::move(options));
  }
  size_t next = 0;
  gui_.SetDriver([&] {
    if (next >= steps.size()) return false;
    steps[next++]();
    return true;
  });
  try {
    rt::Call(session_, "MAIN", {});
    return session_.settings().exit_code;
  } catch (const rt::QuitRequest& request) {
    return request.exit_code;
  }
}

void StartupTest::Command(const std::string& name, std::function<void()> body) {
  session_.procedures().Register(name, [this, name, body](rt::Session& s, std::span<rt::Value>) {
    Ran ran;
    ran.command = name;
    if (const rt::Value* v = s.Find("XXVKEY"); v != nullptr && v->IsString()) ran.key = v->str();
    if (const rt::Value* v = s.Find("DO_PROC"); v != nullptr && v->IsString())
      ran.do_proc = v->str();
    if (const rt::Value* v = s.Find("MENULEVEL"); v != nullptr && v->IsNumber())
      ran.menulevel = v->num();
    ran.menu_enabled = gui_.menu_enabled();
    ran_.push_back(ran);
    if (body) body();
    return rt::Value("ignored");
  });
}

std::function<void()> StartupTest::Choose(const std::string& path) {
  return [this, path] { EXPECT_TRUE(gui_.Choose(path).ok()) << path; };
}

std::vector<std::string> StartupTest::Lines(const std::vector<std::string>& events) const {
  std::vector<std::string> out;
  std::istringstream in(transcript_.str());
  std::string line;
  while (std::getline(in, line)) {
    const std::string event = line.substr(0, line.find('\t'));
    bool wanted = events.empty();
    for (const std::string& e : events) wanted = wanted || e == event;
    if (wanted) out.push_back(line);
  }
  return out;
}

}  // namespace qv::shell::testing
