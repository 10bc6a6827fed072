// mkmedia: builds the installation media tree (and the sample data of the
// older generation) from the text sources under media/.
//   mkmedia SOURCE-FOLDER OUT-FOLDER [--date YYYYMMDD]
// The date (default 20260105) is stamped into every table header so that
// two builds of the same sources give the same bytes.
#include <cstdio>
#include <cstring>
#include <string>

#include "media_tree.h"
#include "platform/fs/env.h"

int main(int argc, char** argv) {
  if (argc != 3 && !(argc == 5 && std::strcmp(argv[3], "--date") == 0)) {
    std::fputs("usage: mkmedia SOURCE-FOLDER OUT-FOLDER [--date YYYYMMDD]\n", stderr);
    return 2;
  }
  qv::rt::Date today = qv::rt::Date::FromDtos(argc == 5 ? argv[4] : "20260105");
  if (today.empty()) {
    std::fputs("mkmedia: --date expects YYYYMMDD\n", stderr);
    return 2;
  }
  std::unique_ptr<qv::fs::Env> env = qv::fs::NewHostEnv();
  qv::Status s = qv::media::BuildTree(*env, argv[1], argv[2], today);
  if (!s.ok()) {
    std::fprintf(stderr, "mkmedia: %s\n", s.ToString().c_str());
    return 1;
  }
  return 0;
}
