// FILE() and DIRECTORY() through WinFileAccess on a mapped drive: Windows
// paths in any case, short names, wildcards, folders with the "D" attribute.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <memory>
#include <string>

#include "platform/fs/env.h"
#include "platform/fs/win_fs.h"
#include "platform/xbase/win_file_access.h"
#include "testing/testing.h"
#include "xbase_testing.h"

namespace qv::xb {
namespace {

class FilesTest : public ::testing::Test {
 protected:
  FilesTest() {
    testing::ApplyReferenceSettings(session_);
    ::mkdir(dir_.Sub("Quorvanta").c_str(), 0755);
    ::mkdir(dir_.Sub("Quorvanta/exe").c_str(), 0755);
    ::mkdir(dir_.Sub("Quorvanta/1.co").c_str(), 0755);
    qv::testing::WriteHostFile(dir_.Sub("Quorvanta/exe/a.exe"), "12345");
    qv::testing::WriteHostFile(dir_.Sub("Quorvanta/exe/B.DLL"), "xy");
    fs::DriveMap drives;
    drives.roots['C'] = dir_.path();
    win_fs_ = std::make_unique<fs::WinFs>(*env_, drives);
    files_ = std::make_unique<WinFileAccess>(*win_fs_);
    host_.files = files_.get();
  }
  std::string Show(const std::string& text) { return testing::Show(host_, text); }

  qv::testing::TempDir dir_;
  std::unique_ptr<fs::Env> env_ = fs::NewHostEnv();
  std::unique_ptr<fs::WinFs> win_fs_;
  std::unique_ptr<WinFileAccess> files_;
  rt::Session session_;
  Host host_{session_};
};

TEST_F(FilesTest, FileFindsPathsOnTheMappedDrive) {
  EXPECT_EQ(Show("FILE(\"c:\\QUORVA~1\\exe\\a.exe\")"), "L\t.T.");
  EXPECT_EQ(Show("FILE(\"C:\\quorvanta\\EXE\\A.EXE\")"), "L\t.T.");
  EXPECT_EQ(Show("FILE(\"C:\\Quorvanta\\exe\\*.dll\")"), "L\t.T.");
  EXPECT_EQ(Show("FILE(\"C:\\Quorvanta\\exe\\*.txt\")"), "L\t.F.");
  EXPECT_EQ(Show("FILE(\"C:\\Quorvanta\\exe\")"), "L\t.F.");  // a folder is no file
  EXPECT_EQ(Show("FILE(\"Q:\\a.exe\")"), "L\t.F.");           // unmapped drive
  EXPECT_EQ(Show("FILE(\"\")"), "L\t.F.");
}

TEST_F(FilesTest, DirectoryRowsAndFolders) {
  struct utimbuf times = {1700000000, 1700000000};
  ::utime(dir_.Sub("Quorvanta/exe/a.exe").c_str(), &times);
  EXPECT_EQ(Show("LEN(DIRECTORY(\"C:\\Quorvanta\\exe\\*.*\"))"), "N\t2");
  EXPECT_EQ(Show("d := DIRECTORY(\"C:\\Quorvanta\\exe\\a.*\"), d[1][1]"), "C\ta.exe");
  EXPECT_EQ(Show("d[1][2]"), "N\t5");
  EXPECT_EQ(Show("VALTYPE(d[1][3]) + VALTYPE(d[1][4]) + d[1][5] + \"|\""), "C\tDC|");
  EXPECT_EQ(Show("LEN(d[1][4])"), "N\t8");
  // Folders only with "D", and then marked "D".
  EXPECT_EQ(Show("LEN(DIRECTORY(\"C:\\Quorvanta\\*.*\"))"), "N\t0");
  EXPECT_EQ(Show("e := DIRECTORY(\"C:\\Quorvanta\\*.*\", \"D\"), LEN(e)"), "N\t2");
  EXPECT_EQ(Show("e[1][5] + e[2][5]"), "C\tDD");
  EXPECT_EQ(Show("LEN(DIRECTORY(\"C:\\missing\\*.*\"))"), "N\t0");
}

TEST_F(FilesTest, WithoutFileAccessNothingExists) {
  Host bare{session_};
  EXPECT_EQ(testing::Show(bare, "FILE(\"C:\\Quorvanta\\exe\\a.exe\")"), "L\t.F.");
  EXPECT_EQ(testing::Show(bare, "LEN(DIRECTORY(\"*.*\"))"), "N\t0");
}

}  // namespace
}  // namespace qv::xb
