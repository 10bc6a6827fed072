// A fresh drive C gets the folders the program's fixed paths run through.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/fs/env_param.h"
#include "platform/fs/win_fs.h"

namespace qv::fs {
namespace {

class DriveCTest : public HostOrMemoryTest {
 protected:
  void SetUp() override {
    HostOrMemoryTest::SetUp();
    c_root_ = P("xdg/quorvanta/c");  // no level below dir_ exists yet
  }
  std::string c_root_;
};

TEST_P(DriveCTest, FreshDriveGetsTheWindowsFolders) {
  ASSERT_TRUE(PrepareDriveC(*env_, c_root_, "C:\\WINDOWS").ok());
  DriveMap map;
  map.roots['C'] = c_root_;
  WinFs fs(*env_, map);
  for (const char* dir : {"C:\\WINDOWS\\system", "c:\\windows\\startm~1\\programs",
                          "C:\\WINDOWS\\Desktop", "c:\\docume~1\\alluse~1\\startm~1\\programs",
                          "c:\\docume~1\\alluse~1\\desktop", "c:\\progra~1\\access~1"}) {
    EXPECT_TRUE(fs.IsDir(dir)) << dir;
  }
  EXPECT_EQ(fs.List("C:*.*")->size(), 1u);  // the drive counts as available
  // The program group the install makes, then reaches by its short name.
  ASSERT_TRUE(fs.MakeDir("c:\\docume~1\\alluse~1\\startm~1\\programs\\Quorvanta").ok());
  ASSERT_TRUE(WriteWholeFile(*env_, c_root_ + "/d.exe", "exe", false).ok());
  ASSERT_TRUE(
      fs.Copy("C:\\d.exe", "C:\\docume~1\\alluse~1\\startm~1\\programs\\QUORVA~1\\d.exe").ok());
  EXPECT_EQ(*fs.Resolve("C:\\docume~1\\alluse~1\\startm~1\\programs\\QUORVA~1\\d.exe"),
            c_root_ + "/Documents and Settings/All Users/Start Menu/Programs/Quorvanta/d.exe");
}

TEST_P(DriveCTest, WindowsFolderFollowsTheSettingAndAUsedDriveIsLeftAlone) {
  ASSERT_TRUE(PrepareDriveC(*env_, c_root_, "C:\\WINNT").ok());
  EXPECT_TRUE(env_->Stat(c_root_ + "/WINNT/system")->is_dir);
  EXPECT_TRUE(env_->Stat(c_root_ + "/WINDOWS").status().IsNotFound());

  std::string used = P("used");
  ASSERT_TRUE(env_->MakeDir(used).ok());
  ASSERT_TRUE(WriteWholeFile(*env_, used + "/company.dbf", "", false).ok());
  ASSERT_TRUE(PrepareDriveC(*env_, used, "C:\\WINDOWS").ok());
  EXPECT_EQ(env_->List(used)->size(), 1u);
}

QV_HOST_AND_MEMORY(DriveCTest);

// The environment variables and the current folder, as a run starts with them.
TEST(WinFsFromProcessTest, MapsTheStartFolderAndPreparesDriveC) {
  qv::testing::TempDir tmp;
  std::unique_ptr<Env> env = NewHostEnv();
  ASSERT_TRUE(env->MakeDir(tmp.Sub("media")).ok());
  ASSERT_TRUE(env->MakeDir(tmp.Sub("media/exe")).ok());
  char old_cwd[4096];
  ASSERT_NE(getcwd(old_cwd, sizeof old_cwd), nullptr);
  ASSERT_EQ(setenv("QUORVANTA_DRIVES", ("C=" + tmp.Sub("c")).c_str(), 1), 0);
  ASSERT_EQ(setenv("QUORVANTA_WINDIR", "C:\\WINNT", 1), 0);
  ASSERT_EQ(chdir(tmp.Sub("media").c_str()), 0);
  Result<std::unique_ptr<WinFs>> fs = WinFsFromProcess(*env);
  ASSERT_EQ(chdir(old_cwd), 0);
  unsetenv("QUORVANTA_DRIVES");
  unsetenv("QUORVANTA_WINDIR");

  ASSERT_TRUE(fs.ok()) << fs.status().ToString();
  EXPECT_EQ((*fs)->CurrentDrive(), 'D');
  EXPECT_EQ((*fs)->CurrentDir(), "");
  EXPECT_TRUE((*fs)->IsDir("D:\\\\exe"));
  EXPECT_TRUE((*fs)->IsDir("C:\\WINNT\\system"));
  EXPECT_EQ((*fs)->WindowsFolder(), "C:\\WINNT");
}

}  // namespace
}  // namespace qv::fs
