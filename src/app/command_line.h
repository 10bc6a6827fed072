// The program's command line: which front end runs, where script lines come
// from and where the transcript goes. The forms and exit codes are those of
// the README's command-line section; this parser is their one home.
#pragma once

#include <string>
#include <vector>

#include "platform/fs/status.h"

namespace qv::app {

// Exit codes of the command line itself (the program's own are 1 and 0).
inline constexpr int kExitHelp = 0;
inline constexpr int kExitUsage = 2;

struct CommandLine {
  bool help = false;
  bool headless = false;        // --headless or --script
  std::string script_file;      // "" : script lines from standard input
  std::string transcript_file;  // "" : the transcript goes to standard output
};

// args without the program name. InvalidArgument naming the fault: an
// unknown option, a missing FILE, an option given twice, an argument that
// is no option, --transcript without a headless form.
Result<CommandLine> ParseCommandLine(const std::vector<std::string>& args);

// What --help prints.
std::string UsageText();

}  // namespace qv::app
