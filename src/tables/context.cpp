#include "tables/context.h"

#include <thread>

namespace qv::tables {

Context::Context(rt::Session& session, fs::WinFs& fs, gui::Gui& gui)
    : session_(session),
      fs_(fs),
      gui_(gui),
      workspace_(fs.env()),
      table_access_(workspace_),
      file_access_(fs),
      host_{session, &table_access_, &file_access_} {
  workspace_.SetResolver([this](std::string_view name) { return fs_.Resolve(name); });
}

void Context::Sleep(std::chrono::milliseconds duration) const {
  if (sleeper_) {
    sleeper_(duration);
  } else {
    std::this_thread::sleep_for(duration);
  }
}

}  // namespace qv::tables
