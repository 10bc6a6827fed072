// Windows paths over real host folders: case, short names, current folders,
// listings, the start folder on its own drive, and refused escapes.
#include "platform/fs/win_fs.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <ctime>

#include "testing/testing.h"

namespace qv::fs {
namespace {

class WinFsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Make({"c/", "media/", "media/setup/", "media/setup/exe/", "media/setup/QUORVA~1/",
          "media/setup/exe/ctl3d.dll=3d", "media/setup/QUORVA~1/datadict.dbf=dd",
          "c/Quorvanta_Scheduler/", "c/Quorvanta_Scheduler/1.co/",
          "c/Quorvanta_Scheduler/1.co/glm.dbf=glm", "c/quorvanta_old/"});
    DriveMap map;
    map.roots = {{'C', tmp_.Sub("c")}, {'D', tmp_.Sub("media")}};
    map.current = 'D';
    map.current_dir = "setup";
    fs_ = std::make_unique<WinFs>(*env_, map);
  }

  // "a/" makes a folder, "a/f=text" a file.
  void Make(std::initializer_list<std::string> items) {
    for (const std::string& item : items) {
      size_t eq = item.find('=');
      if (eq == std::string::npos) {
        ASSERT_TRUE(env_->MakeDir(tmp_.Sub(item)).ok()) << item;
      } else {
        ASSERT_TRUE(
            WriteWholeFile(*env_, tmp_.Sub(item.substr(0, eq)), item.substr(eq + 1), false).ok());
      }
    }
  }
  std::string Host(std::string_view win) {
    Result<std::string> r = fs_->Resolve(win);
    return r.ok() ? r->substr(tmp_.path().size() + 1) : "<" + r.status().ToString() + ">";
  }
  std::vector<std::string> Names(std::string_view pattern, bool with_dirs = false) {
    std::vector<std::string> out;
    Result<std::vector<DirEntry>> list = fs_->List(pattern, with_dirs);
    EXPECT_TRUE(list.ok()) << list.status().ToString();
    if (list.ok()) {
      for (const DirEntry& e : *list) out.push_back(e.name);
    }
    return out;
  }

  qv::testing::TempDir tmp_;
  std::unique_ptr<Env> env_ = NewHostEnv();
  std::unique_ptr<WinFs> fs_;
};

TEST_F(WinFsTest, NamesAreCaseInsensitiveAndCasePreserving) {
  EXPECT_EQ(Host("c:\\QUORVANTA_SCHEDULER\\1.CO\\GLM.DBF"), "c/Quorvanta_Scheduler/1.co/glm.dbf");
  EXPECT_EQ(Host("C:/quorvanta_scheduler/1.co/New.Dbf"), "c/Quorvanta_Scheduler/1.co/New.Dbf");
  EXPECT_TRUE(fs_->Resolve("C:\\nowhere\\x.dbf").status().IsNotFound());
  EXPECT_TRUE(fs_->Resolve("Q:\\x").status().IsNotFound());
  EXPECT_TRUE(fs_->Resolve("C:\\*.dbf").status().IsInvalidArgument());
  ASSERT_TRUE(fs_->MakeDir("C:\\Quorvanta_Scheduler\\EXE").ok());
  EXPECT_TRUE(fs_->MakeDir("c:\\quorvanta_scheduler\\exe").IsExists());
  EXPECT_TRUE(fs_->MakeDir("C:\\none\\EXE").IsNotFound());
  EXPECT_EQ(Host("C:\\Quorvanta_Scheduler\\exe"), "c/Quorvanta_Scheduler/EXE");
}

TEST_F(WinFsTest, ShortNamesFindTheEntriesTheyAbbreviate) {
  // quorvanta_old sorts before Quorvanta_Scheduler: it is QUORVA~1.
  EXPECT_EQ(Host("C:\\QUORVA~1"), "c/quorvanta_old");
  EXPECT_EQ(Host("c:\\quorva~2\\1.co\\GLM.DBF"), "c/Quorvanta_Scheduler/1.co/glm.dbf");
  EXPECT_EQ(*fs_->ShortPath("C:\\Quorvanta_Scheduler\\1.co"), "C:\\QUORVA~2\\1.co");
  // A folder literally named QUORVA~1 is found under that name, and a long
  // name beside it gets the next number.
  EXPECT_EQ(Host("D:\\setup\\QUORVA~1\\datadict.dbf"), "media/setup/QUORVA~1/datadict.dbf");
  ASSERT_TRUE(fs_->MakeDir("D:\\setup\\Quorvanta Media").ok());
  EXPECT_EQ(Host("D:\\setup\\QUORVA~2"), "media/setup/Quorvanta Media");
  EXPECT_EQ(*fs_->ShortPath("D:\\setup\\Quorvanta Media"), "D:\\setup\\QUORVA~2");
  // A new entry is made under the name as written, not as an abbreviation.
  EXPECT_EQ(Host("C:\\QUORVA~3"), "c/QUORVA~3");
}

TEST_F(WinFsTest, CurrentFolderPerDrive) {
  EXPECT_EQ(fs_->CurrentDrive(), 'D');
  EXPECT_EQ(fs_->CurrentDir(), "setup");
  EXPECT_EQ(Host("exe\\ctl3d.dll"), "media/setup/exe/ctl3d.dll");
  EXPECT_EQ(Host("\\setup"), "media/setup");
  ASSERT_TRUE(fs_->ChangeDir("c:\\quorva~2").ok());
  EXPECT_EQ(fs_->CurrentDrive(), 'C');
  EXPECT_EQ(fs_->CurrentDir('C'), "Quorvanta_Scheduler");
  EXPECT_EQ(fs_->CurrentDir('D'), "setup");
  EXPECT_EQ(Host("1.co\\glm.dbf"), "c/Quorvanta_Scheduler/1.co/glm.dbf");
  EXPECT_EQ(Host("D:exe"), "media/setup/exe");  // D keeps its own folder
  EXPECT_EQ(Host("\\EXE"), "c/EXE");
  EXPECT_EQ(Names("C:*.*"), std::vector<std::string>{});
  ASSERT_TRUE(fs_->ChangeDir("1.co").ok());
  EXPECT_EQ(fs_->CurrentDir(), "Quorvanta_Scheduler\\1.co");
  EXPECT_EQ(Names("C:*.*"), std::vector<std::string>{"glm.dbf"});
  EXPECT_TRUE(fs_->ChangeDir("glm.dbf").IsNotFound());
  ASSERT_TRUE(fs_->ChangeDrive('d').ok());
  EXPECT_EQ(Host("exe"), "media/setup/exe");
  EXPECT_TRUE(fs_->ChangeDrive('Q').IsNotFound());
}

TEST_F(WinFsTest, StartFolderOnItsOwnDriveWithDoubledBackslashes) {
  DriveSettings s;
  s.home = tmp_.path();
  s.drives_set = true;
  s.drives = "C=" + tmp_.Sub("c");
  s.start_dir = tmp_.Sub("media/setup");
  Result<DriveMap> map = MakeDriveMap(s);
  ASSERT_TRUE(map.ok()) << map.status().ToString();
  WinFs fs(*env_, *map);
  std::string source_drv = std::string(1, fs.CurrentDrive()) + ":\\" + fs.CurrentDir() + "\\";
  EXPECT_EQ(source_drv, "D:\\\\");
  EXPECT_EQ(*fs.Resolve(source_drv + "exe\\ctl3d.dll"), tmp_.Sub("media/setup/exe/ctl3d.dll"));
  Result<std::vector<DirEntry>> main = fs.List(source_drv + "QUORVA~1\\*.*");
  ASSERT_TRUE(main.ok());
  ASSERT_EQ(main->size(), 1u);
  EXPECT_TRUE(fs.Copy(source_drv + "exe\\ctl3d.dll", "C:\\ctl3d.dll").ok());
}

TEST_F(WinFsTest, ListingsFollowDosWildcardsInNameOrder) {
  Make({"c/d/", "c/d/GLM.DBF=", "c/d/ckj_1.dbf=", "c/d/CKJ2.DBF=", "c/d/ckj.cdx=", "c/d/RES.1=",
        "c/d/RES.12=", "c/d/RES.123=", "c/d/sub/", "c/d/.hidden=", "c/d/readme.html="});
  // A link off the drive is left out.
  ASSERT_EQ(
      symlink(tmp_.Sub("media/setup/exe/ctl3d.dll").c_str(), tmp_.Sub("c/d/link.dbf").c_str()), 0);
  EXPECT_EQ(Names("C:\\d\\*.*"),
            (std::vector<std::string>{".hidden", "ckj.cdx", "CKJ2.DBF", "ckj_1.dbf", "GLM.DBF",
                                      "readme.html", "RES.1", "RES.12", "RES.123"}));
  EXPECT_EQ(Names("C:\\D\\*.*", true).size(), 10u);  // with the folder "sub"
  EXPECT_EQ(Names("c:\\d\\ckj*.dbf"), (std::vector<std::string>{"CKJ2.DBF", "ckj_1.dbf"}));
  EXPECT_EQ(Names("C:\\d\\RES.??"), (std::vector<std::string>{"RES.1", "RES.12"}));
  EXPECT_EQ(Names("C:\\d\\glm.dbf"), std::vector<std::string>{"GLM.DBF"});
  EXPECT_EQ(Names("C:\\d\\README~1.HTM"), std::vector<std::string>{"readme.html"});
  EXPECT_EQ(Names("C:\\missing\\*.*"), std::vector<std::string>{});
  EXPECT_TRUE(fs_->Exists("C:\\d\\RES.??"));
  EXPECT_FALSE(fs_->Exists("C:\\d\\X*.*"));
  EXPECT_TRUE(fs_->Exists("c:\\D\\glm.dbf"));
  EXPECT_FALSE(fs_->Exists("C:\\d\\sub"));  // a folder is no file
  EXPECT_TRUE(fs_->IsDir("C:\\d\\SUB"));

  EXPECT_EQ(*fs_->EraseMatching("C:\\d\\res.??"), 2);
  EXPECT_EQ(Names("C:\\d\\RES.*"), std::vector<std::string>{"RES.123"});
  EXPECT_EQ(*fs_->EraseMatching("C:\\d\\RES.??"), 0);
  EXPECT_EQ(*fs_->EraseMatching("C:\\missing\\*.*"), 0);
}

TEST_F(WinFsTest, NoPathLeavesItsDrive) {
  Make({"outside/", "outside/secret.dbf=s"});
  auto link = [this](const std::string& target, const std::string& name) {
    ASSERT_EQ(symlink(target.c_str(), tmp_.Sub(name).c_str()), 0) << name;
  };
  link(tmp_.Sub("outside"), "c/out");
  link("../outside", "c/up");
  link("loop2", "c/loop1");
  link("loop1", "c/loop2");
  for (const char* escape :
       {"C:\\..\\outside\\secret.dbf", "C:\\quorva~1\\..\\..\\x", "C:..\\outside",
        "C:\\out\\secret.dbf", "C:\\OUT", "C:\\up\\secret.dbf", "C:\\loop1\\x"}) {
    EXPECT_TRUE(fs_->Resolve(escape).status().IsInvalidArgument()) << escape;
  }
  EXPECT_TRUE(fs_->Copy("C:\\out\\secret.dbf", "C:\\copy.dbf").IsInvalidArgument());
  EXPECT_TRUE(fs_->ChangeDir("C:\\up").IsInvalidArgument());
  EXPECT_FALSE(fs_->Exists("C:\\out\\*.*"));
  EXPECT_EQ(Host("C:\\Quorvanta_Scheduler\\..\\quorvanta_old"), "c/quorvanta_old");
}

TEST_F(WinFsTest, LinksThatStayOnTheDriveAreFollowed) {
  ASSERT_EQ(symlink(tmp_.Sub("c/Quorvanta_Scheduler").c_str(), tmp_.Sub("c/abs").c_str()), 0);
  ASSERT_EQ(symlink("Quorvanta_Scheduler/1.co", tmp_.Sub("c/rel").c_str()), 0);
  ASSERT_EQ(symlink("../rel/glm.dbf", tmp_.Sub("c/quorvanta_old/glm.dbf").c_str()), 0);
  EXPECT_EQ(Host("C:\\ABS\\1.co\\glm.dbf"), "c/Quorvanta_Scheduler/1.co/glm.dbf");
  EXPECT_EQ(Host("C:\\rel\\GLM.DBF"), "c/Quorvanta_Scheduler/1.co/glm.dbf");
  EXPECT_EQ(Host("C:\\quorvanta_old\\glm.dbf"), "c/Quorvanta_Scheduler/1.co/glm.dbf");
  Result<std::vector<DirEntry>> old = fs_->List("C:\\quorvanta_old\\*.*");
  ASSERT_TRUE(old.ok());
  ASSERT_EQ(old->size(), 1u);
  EXPECT_EQ((*old)[0].name, "glm.dbf");
  EXPECT_EQ((*old)[0].info.size, 3u);  // what the link points to
  EXPECT_EQ(Names("C:\\*.*", true),
            (std::vector<std::string>{"abs", "quorvanta_old", "Quorvanta_Scheduler", "rel"}));
  // Erasing a link takes the link, not the file it points to.
  ASSERT_TRUE(fs_->Erase("C:\\quorvanta_old\\glm.dbf").ok());
  EXPECT_TRUE(fs_->Exists("C:\\rel\\glm.dbf"));
  EXPECT_FALSE(fs_->Exists("C:\\quorvanta_old\\glm.dbf"));
}

TEST_F(WinFsTest, CopyEraseAndFreeSpace) {
  std::string src = tmp_.Sub("media/setup/exe/ctl3d.dll");
  ASSERT_TRUE(env_->SetMTime(src, 1000000000).ok());
  int64_t before = static_cast<int64_t>(std::time(nullptr));
  ASSERT_TRUE(
      WriteWholeFile(*env_, tmp_.Sub("c/CTL3D.DLL"), "an older and longer file", false).ok());
  ASSERT_TRUE(fs_->Copy("exe\\ctl3d.dll", "C:\\ctl3d.dll").ok());
  // Replaced under its stored name, bytes only, with the current time.
  EXPECT_EQ(qv::testing::ReadHostFile(tmp_.Sub("c/CTL3D.DLL")), "3d");
  EXPECT_GE(env_->Stat(tmp_.Sub("c/CTL3D.DLL"))->mtime, before - 1);
  EXPECT_TRUE(fs_->Copy("exe\\ctl3d.dll", "D:\\SETUP\\EXE\\CTL3D.DLL").IsInvalidArgument());
  EXPECT_EQ(qv::testing::ReadHostFile(src), "3d");  // not truncated by a copy onto itself
  {
    auto in_use = std::move(env_->Open(tmp_.Sub("c/CTL3D.DLL"), OpenMode::kReadWrite)).value();
    ASSERT_TRUE(in_use->SetShareMode(ShareMode::kShared).ok());
    ASSERT_TRUE(WriteWholeFile(*env_, src, "new", false).ok());
    EXPECT_TRUE(fs_->Copy("exe\\ctl3d.dll", "C:\\ctl3d.dll").IsLockBusy());
    EXPECT_EQ(qv::testing::ReadHostFile(tmp_.Sub("c/CTL3D.DLL")), "3d");  // left whole
  }
  EXPECT_TRUE(fs_->Copy("exe\\missing.dll", "C:\\x").IsNotFound());
  EXPECT_TRUE(fs_->Copy("exe\\ctl3d.dll", "C:\\nofolder\\x").IsNotFound());
  EXPECT_TRUE(fs_->Copy("exe\\ctl3d.dll", "C:\\quorvanta_old").IsInvalidArgument());

  EXPECT_TRUE(fs_->Erase("c:\\ctl3d.DLL").ok());
  EXPECT_TRUE(fs_->Erase("c:\\ctl3d.dll").IsNotFound());
  EXPECT_TRUE(fs_->Erase("c:\\quorvanta_old").IsInvalidArgument());

  EXPECT_GT(*fs_->FreeSpace('c'), 0u);
  EXPECT_TRUE(fs_->FreeSpace('Q').status().IsNotFound());
  EXPECT_TRUE(fs_->IsNt());
  EXPECT_EQ(fs_->WindowsFolder(), "C:\\WINDOWS");
}

TEST_F(WinFsTest, DrivesListEveryMappedLetter) {
  ASSERT_EQ(symlink(tmp_.Sub("c").c_str(), tmp_.Sub("linked").c_str()), 0);
  DriveMap map;
  map.roots = {{'C', tmp_.Sub("c")}, {'E', tmp_.Sub("gone")}, {'L', tmp_.Sub("linked")}};
  WinFs fs(*env_, map);
  std::vector<DriveInfo> drives = fs.Drives();
  ASSERT_EQ(drives.size(), 3u);
  EXPECT_EQ(drives[2].type, drives[0].type);  // a drive's own folder may be a link
  EXPECT_TRUE(fs.IsDir("L:\\quorvanta_old"));
  EXPECT_EQ(fs.List("L:\\*.*", true)->size(), 2u);
  EXPECT_EQ(drives[0].letter, 'C');
  EXPECT_NE(drives[0].type, DriveType::kNoRoot);
  EXPECT_NE(drives[0].type, DriveType::kUnknown);  // the host has a mount table
  EXPECT_EQ(drives[1].letter, 'E');
  EXPECT_EQ(drives[1].type, DriveType::kNoRoot);
}

}  // namespace
}  // namespace qv::fs
