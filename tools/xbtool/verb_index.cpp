#include <cstdio>

#include "verbs.h"

namespace qv::xbtool {

int VerbIndex(const char* verb, int argc, char** argv) {
  (void)verb; (void)argc; (void)argv;
  std::fputs("xbtool: this verb is not built yet\n", stderr);
  return 2;
}

}  // namespace qv::xbtool
