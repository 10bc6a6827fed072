#include <cstdio>

#include "verbs.h"

namespace qv::xbtool {

int VerbEval(int argc, char** argv) {
  (void)argc; (void)argv;
  std::fputs("xbtool: this verb is not built yet\n", stderr);
  return 2;
}

}  // namespace qv::xbtool
