// xbtool: inspect, create, index, check and evaluate xBase files from the
// command line.
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "verbs.h"

namespace {

const char kUsage[] =
    "usage: xbtool VERB [ARGS]\n"
    "\n"
    "Verbs:\n"
    "  eval EXPR                 evaluate an xBase expression; prints type letter, tab, value\n"
    "  dump TABLE [--cp1252]     the table as JSON (fields and records); --cp1252 shows\n"
    "                            text as code page 1252 instead of one code point per byte\n"
    "  create TABLE --from JSON  create a table (and memo file) from such JSON\n"
    "  pack TABLE                remove deleted records\n"
    "  zap TABLE                 remove all records\n"
    "  check TABLE               verify header, records, memos and index tags\n"
    "  index TABLE --bag BAG --tag TAG --key EXPR [--for EXPR] [--unique] [--descending]\n"
    "  order TABLE --bag BAG --tag TAG [--deleted on|off]\n"
    "  seek TABLE --bag BAG --tag TAG KEY [--soft]\n"
    "  --help                    this text\n"
    "\n"
    "Windows paths are resolved through QUORVANTA_DRIVES (see README.md).\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  const char* verb = argv[1];
  int rest_argc = argc - 2;
  char** rest_argv = argv + 2;
  if (std::strcmp(verb, "eval") == 0) return qv::xbtool::VerbEval(rest_argc, rest_argv);
  for (const char* v : {"dump", "create", "pack", "zap", "check"}) {
    if (std::strcmp(verb, v) == 0) return qv::xbtool::VerbTable(verb, rest_argc, rest_argv);
  }
  for (const char* v : {"index", "order", "seek"}) {
    if (std::strcmp(verb, v) == 0) return qv::xbtool::VerbIndex(verb, rest_argc, rest_argv);
  }
  std::fprintf(stderr, "xbtool: unknown verb '%s' (try --help)\n", verb);
  return 2;
}
