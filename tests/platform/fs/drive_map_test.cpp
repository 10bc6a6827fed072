// The drive map: parsing, the default drive C, and the start-folder rule.
#include "platform/fs/drive_map.h"

#include <gtest/gtest.h>

#include "platform/fs/drive_type.h"

namespace qv::fs {
namespace {

TEST(DriveMapTest, ParsesLettersAndFolders) {
  Result<DriveMap> map = ParseDriveMap(" c=/srv/pos/c/ ; D:=media//cd;;", "/home/u");
  ASSERT_TRUE(map.ok()) << map.status().ToString();
  EXPECT_EQ(map->roots,
            (std::map<char, std::string>{{'C', "/srv/pos/c"}, {'D', "/home/u/media/cd"}}));
}

TEST(DriveMapTest, RefusesBadEntriesAndNestedDrives) {
  for (const char* bad : {"C", "C=", "CC=/a", "1=/a", "C=/a;c=/b"}) {
    EXPECT_TRUE(ParseDriveMap(bad, "/").status().IsInvalidArgument()) << bad;
  }
  for (const char* nested :
       {"C=/srv;D=/srv/cd", "C=/srv/cd/x;D=/srv/cd", "C=/a;D=/a/", "C=/;D=/x"}) {
    Status s = ParseDriveMap(nested, "/").status();
    EXPECT_TRUE(s.IsInvalidArgument()) << nested;
    EXPECT_NE(s.message().find("nested"), std::string::npos) << s.message();
  }
  EXPECT_TRUE(ParseDriveMap("C=/srv/c;D=/srv/cd", "/").ok());  // a shared prefix is no nesting
}

TEST(DriveMapTest, StartFolderOutsideTheDrivesBecomesTheFirstFreeLetter) {
  DriveSettings s;
  s.xdg_data_home = "/home/u/.data";
  s.home = "/home/u";
  s.start_dir = "/media/cdrom/";
  Result<DriveMap> map = MakeDriveMap(s);
  ASSERT_TRUE(map.ok()) << map.status().ToString();
  EXPECT_EQ(map->roots.at('C'), "/home/u/.data/quorvanta/c");
  EXPECT_EQ(map->roots.at('D'), "/media/cdrom");
  EXPECT_EQ(map->current, 'D');
  EXPECT_EQ(map->current_dir, "");

  s.xdg_data_home = "";  // falls back to HOME
  s.drives_set = true;
  s.drives = "D=/srv/d;E=/srv/e";
  map = MakeDriveMap(s);
  ASSERT_TRUE(map.ok());
  EXPECT_EQ(map->roots.at('C'), "/home/u/.local/share/quorvanta/c");
  EXPECT_EQ(map->roots.at('F'), "/media/cdrom");
  EXPECT_EQ(map->current, 'F');
}

TEST(DriveMapTest, StartFolderOnAMappedDriveKeepsItsFolder) {
  DriveSettings s;
  s.home = "/home/u";
  s.drives_set = true;
  s.drives = "C=/srv/c;D=/media/cd";
  s.start_dir = "/media/cd/setup/disk1";
  s.canonical = [](const std::string& p) { return p; };
  Result<DriveMap> map = MakeDriveMap(s);
  ASSERT_TRUE(map.ok());
  EXPECT_EQ(map->current, 'D');
  EXPECT_EQ(map->current_dir, "setup/disk1");
  EXPECT_EQ(map->roots.size(), 2u);
}

TEST(DriveMapTest, StartFolderHoldingADriveIsRefused) {
  DriveSettings s;
  s.home = "/home/u";
  s.start_dir = "/home/u";  // drive C lies below it
  Status status = MakeDriveMap(s).status();
  EXPECT_TRUE(status.IsInvalidArgument());
  EXPECT_NE(status.message().find("QUORVANTA_DRIVES"), std::string::npos) << status.message();
}

TEST(DriveTypeTest, ClassifiesTheMountHoldingTheFolder) {
  const std::string mountinfo =
      "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
      "30 22 11:0 / /media/cd ro,relatime shared:9 - iso9660 /dev/sr0 ro\n"
      "31 22 0:40 / /mnt/net rw shared:10 - nfs4 server:/export rw\n"
      "32 22 0:41 / /dev/shm rw shared:11 - tmpfs tmpfs rw\n"
      "33 22 8:17 / /media/usb\\040stick rw shared:12 - vfat /dev/sdb1 rw\n"
      "34 31 0:42 / /mnt/net/local rw - ext4 /dev/sda2 rw\n";
  auto removable = [](const std::string& dev) { return dev == "sdb1"; };
  struct Case {
    const char* dir;
    DriveType type;
  } cases[] = {
      {"/srv/pos/c", DriveType::kFixed},      {"/media/cd", DriveType::kCdRom},
      {"/media/cd/setup", DriveType::kCdRom}, {"/media/cdrom", DriveType::kFixed},
      {"/mnt/net/x", DriveType::kRemote},     {"/mnt/net/local/x", DriveType::kFixed},
      {"/dev/shm/q", DriveType::kRamDisk},    {"/media/usb stick/d", DriveType::kRemovable},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifyMount(FindMount(mountinfo, c.dir), removable), c.type) << c.dir;
  }
  EXPECT_EQ(ClassifyMount(FindMount("", "/x"), removable), DriveType::kUnknown);
}

}  // namespace
}  // namespace qv::fs
