// xbtool: inspect, create, index, check and evaluate xBase files from the
// command line. Verbs are added as the engine grows.
#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] =
    "usage: xbtool VERB [ARGS]\n"
    "\n"
    "Verbs:\n"
    "  --help    this text\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, stdout);
    return argc < 2 ? 2 : 0;
  }
  std::fprintf(stderr, "xbtool: unknown verb '%s'\n", argv[1]);
  return 2;
}
