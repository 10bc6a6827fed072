// quorvanta-setup: the setup and data-conversion utility. The command line
// chooses the front end (command_line.h); program.h runs it.
#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/program.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  qv::Result<qv::app::CommandLine> line = qv::app::ParseCommandLine(args);
  if (!line.ok()) {
    std::fprintf(stderr, "quorvanta-setup: %s\n(quorvanta-setup --help shows the usage)\n",
                 line.status().message().c_str());
    return qv::app::kExitUsage;
  }
  if (line->help) {
    std::fputs(qv::app::UsageText().c_str(), stdout);
    return qv::app::kExitHelp;
  }
  return qv::app::RunProgram(*line);
}
