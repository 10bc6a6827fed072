// Helpers every test uses: a fresh temporary folder, and the shared reference
// fixtures copied into it (the shared folder is read-only in CI).
#pragma once

#include <string>

namespace qv::testing {

// Folder holding fixtures/ (QV_SHARED, else the build's default); "" when
// absent, so tests can skip with a message.
std::string SharedDir();

// GTEST_SKIP()s the calling test when the shared fixtures are not there.
#define QV_REQUIRE_SHARED()                                                   \
  do {                                                                         \
    if (::qv::testing::SharedDir().empty())                                    \
      GTEST_SKIP() << "shared fixtures not found (set QV_SHARED)";             \
  } while (0)

// A temporary folder removed with everything in it when destroyed.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + name
  std::string Sub(const std::string& name) const;

 private:
  std::string path_;
};

// Copies fixtures/<rel> (e.g. "xbase/cust.dbf") into dir; returns the copy's path.
std::string CopyFixture(const std::string& rel, const std::string& dir);
// The whole text of a host file ("" when missing).
std::string ReadHostFile(const std::string& path);
void WriteHostFile(const std::string& path, const std::string& data);

}  // namespace qv::testing
