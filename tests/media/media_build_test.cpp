// The build step: the media tree it writes holds every source as a real
// file that our engine (and, when installed, an independent DBF reader)
// reads back as the sources say, and two builds give the same bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "bag_writer.h"
#include "cell_value.h"
#include "media_sources.h"
#include "media_tree.h"
#include "menu_soon.h"
#include "platform/fs/env.h"
#include "platform/rdd/cdx/cdx_bag.h"
#include "platform/rdd/check.h"
#include "platform/rdd/field_codec.h"
#include "platform/rdd/table.h"
#include "platform/runtime/mem_file.h"
#include "testing/testing.h"

namespace qv::media {
namespace {

using testing::MediaDir;
using testing::MediaSources;

const rt::Date kBuildDay = rt::Date::FromYmd(2026, 1, 5);

class MediaBuild : public ::testing::Test {
 protected:
  void Build(const std::string& part, const std::string& out) {
    Status s = BuildTree(*env_, MediaDir() + "/" + part, out, kBuildDay);
    ASSERT_TRUE(s.ok()) << s.ToString();
  }
  std::unique_ptr<fs::Env> env_ = fs::NewHostEnv();
  qv::testing::TempDir dir_;
};

// Every table reads back through the engine exactly as its source says.
void ExpectTablesMatchSources(fs::Env& env, const std::string& out, const MediaSources& media) {
  for (const SourceFolder& folder : media.folders()) {
    for (const TableSource& source : folder.tables) {
      // Menu rows of commands not built yet are written with SOON actions.
      TableSource src = WithSoonActions(source);
      std::string path = out + (folder.path.empty() ? "" : "/" + folder.path) + "/" + src.file_name;
      SCOPED_TRACE(path);
      std::vector<std::string> faults;
      Status checked = rdd::CheckTable(env, path, nullptr, &faults);
      ASSERT_TRUE(checked.ok()) << checked.ToString();
      EXPECT_TRUE(faults.empty()) << faults.front();
      rdd::TableOpenOptions options;
      options.read_only = true;
      Result<std::unique_ptr<rdd::Table>> t = rdd::Table::Open(env, path, options);
      ASSERT_TRUE(t.ok()) << t.status().ToString();
      rdd::Table& table = **t;
      ASSERT_EQ(table.fields().size(), src.fields.size());
      for (size_t f = 0; f < src.fields.size(); ++f) {
        EXPECT_EQ(table.fields()[f].name, src.fields[f].name);
        EXPECT_EQ(static_cast<char>(table.fields()[f].type), src.fields[f].type);
        EXPECT_EQ(static_cast<int>(table.fields()[f].length), src.fields[f].length);
        EXPECT_EQ(static_cast<int>(table.fields()[f].decimals), src.fields[f].decimals);
      }
      Result<uint32_t> count = table.RecordCount();
      ASSERT_TRUE(count.ok());
      ASSERT_EQ(*count, src.rows.size());
      for (uint32_t recno = 1; recno <= *count; ++recno) {
        const Row& row = src.rows[recno - 1];
        Result<std::string_view> image = table.ReadRecord(recno);
        ASSERT_TRUE(image.ok());
        std::string record(*image);
        EXPECT_EQ(record[0] == '*', row.deleted) << "record " << recno;
        for (size_t f = 0; f < src.fields.size(); ++f) {
          const FieldDef& def = src.fields[f];
          std::string_view cell = CellOf(row, f);
          if (def.type == 'M') {
            Result<std::string> memo = table.ReadMemo(table.fields()[f], record);
            ASSERT_TRUE(memo.ok());
            EXPECT_EQ(*memo, cell);
            continue;
          }
          rt::Value got = rdd::DecodeField(table.fields()[f], record.data());
          rt::Value want = CellValue(def, cell);
          if (def.type == 'C') {
            EXPECT_EQ(got.str(), want.str() + std::string(def.length - cell.size(), ' '));
          } else if (def.type == 'N') {
            EXPECT_DOUBLE_EQ(got.num(), want.num()) << def.name << " record " << recno;
          } else if (def.type == 'D') {
            EXPECT_EQ(got.date(), want.date());
          } else if (!cell.empty()) {
            EXPECT_EQ(got.logical(), want.logical());
          }
        }
      }
    }
  }
}

TEST_F(MediaBuild, EveryTableReadsBackAsItsSourceSays) {
  for (const char* part : {"cd", "old"}) {
    std::string out = dir_.Sub(part);
    Build(part, out);
    ExpectTablesMatchSources(*env_, out, MediaSources(part));
  }
}

// Every bag reads back through the engine's bag code with the tags the
// sources describe and one key per record (per record passing FOR).
TEST_F(MediaBuild, IndexBagsHoldEveryRecordsKey) {
  std::string out = dir_.Sub("cd");
  Build("cd", out);
  MediaSources media("cd");
  int bags = 0;
  for (const SourceFolder& folder : media.folders()) {
    for (const TableSource& t : folder.tables) {
      std::vector<TagDef> tags = folder.TagsOf(t);
      std::string dir = out + (folder.path.empty() ? "" : "/" + folder.path);
      Result<std::unique_ptr<rdd::Table>> table =
          rdd::Table::Open(*env_, dir + "/" + t.file_name, rdd::TableOpenOptions());
      ASSERT_TRUE(table.ok());
      EXPECT_EQ((*table)->header().HasStructuralBag(), HasStructuralBag(t, tags)) << t.source;
      for (const TagDef& tag : tags) {
        SCOPED_TRACE(t.source + " tag " + tag.name);
        Result<std::unique_ptr<rdd::cdx::Bag>> bag =
            rdd::cdx::Bag::Open(*env_, dir + "/" + BagFileName(t, tag), rdd::cdx::BagOptions());
        ASSERT_TRUE(bag.ok()) << bag.status().ToString();
        ASSERT_TRUE((*bag)->CheckDirectory().ok());
        std::optional<size_t> i = (*bag)->FindTag(tag.name);
        ASSERT_TRUE(i.has_value());
        const rdd::cdx::TagInfo& info = (*bag)->tag_info(*i);
        EXPECT_EQ(info.key_expr, tag.key);
        EXPECT_EQ(info.for_expr, tag.for_cond);
        rdd::cdx::KeyType type = rdd::cdx::KeyType::kChar;
        ASSERT_TRUE(TagKeys(t, tag, &type).ok());
        uint64_t count = 0;
        Status check = (*bag)->CheckTag(*i, type, &count);
        EXPECT_TRUE(check.ok()) << check.ToString();
        size_t expected = tag.for_cond.empty() ? t.rows.size() : 0;
        if (!tag.for_cond.empty()) {
          // The only conditional tag of the media: consignment items.
          for (const Row& r : t.rows) expected += CellOf(r, t.FieldIndex("IN_CONSIGN")) == "Y";
        }
        EXPECT_EQ(count, expected);
        ++bags;
      }
    }
  }
  EXPECT_GE(bags, 20);
}

TEST_F(MediaBuild, TheMediaLayoutIsComplete) {
  Build("cd", dir_.Sub("cd"));
  const char* files[] = {
      "menuset.dbf", "message.dbf", "quorv.bmp", "QUORVA~1/filedict.dbf", "QUORVA~1/datadict.dbf",
      "QUORVA~1/DATAPREV.dbf", "QUORVA~1/company.dbf", "QUORVA~1/ms.dbf", "QUORVA~1/terms.dbf",
      "QUORVA~1/terminal.dbf", "QUORVA~1/menuwin.dbf", "QUORVA~1/readit.dbf", "QUORVA~1/ckj.dbf",
      "QUORVA~1/glform.dbf", "QUORVA~1/report.dbf", "QUORVA~1/co1.dbf", "QUORVA~1/prrep1.dbf",
      "QUORVA~1/menuset.dbf", "QUORVA~1/message.dbf", "QUORVA~1/0.bmp", "QUORVA~1/color.mem",
      // the update list and the payroll tax files
      "QUORVA~1/QUORVA~1.bat", "QUORVA~1/fontinst.exe", "QUORVA~1/datadict.idx",
      "QUORVA~1/quorvmen.dbf", "QUORVA~1/zipcity.dbf", "QUORVA~1/zipcity.idx",
      "QUORVA~1/taxallow.dbf", "QUORVA~1/taxtbl.dbf", "QUORVA~1/taxtbl.idx", "QUORVA~1/sys.dbf",
      "QUORVA~1/andalemo.ttf", "exe/a.exe", "exe/d.exe", "exe/ctl3d.dll",
      "exe/Quorvanta Scheduler.lnk", "fw/quorvanta.ico", "demo/company.dbf", "demo/clm.dbf",
      "demo/clmfoto/0.bmp", "DRV-ME/usbpos.sys", "DRV-XP/usbpos.sys", "backup/msbackup.exe",
      "backup/reports/bkreport.dat", "backup/system/bkengine.dll"};
  for (const char* f : files) EXPECT_TRUE(env_->Stat(dir_.Sub("cd/") + f).ok()) << f;
  Result<fs::FileInfo> catalogs = env_->Stat(dir_.Sub("cd/backup/system/catalogs"));
  ASSERT_TRUE(catalogs.ok());
  EXPECT_TRUE(catalogs->is_dir);
  Result<std::vector<fs::DirEntry>> empty = env_->List(dir_.Sub("cd/backup/system/catalogs"));
  ASSERT_TRUE(empty.ok());
  EXPECT_TRUE(empty->empty()) << "the .keep marker is not copied";
}

uint32_t Le32(const std::string& b, size_t at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 |
         static_cast<uint8_t>(b[at + 2]) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}

TEST_F(MediaBuild, PicturesAndMemoryFilesAreRealFiles) {
  Build("cd", dir_.Sub("cd"));
  std::string bmp = qv::testing::ReadHostFile(dir_.Sub("cd/quorv.bmp"));
  ASSERT_GT(bmp.size(), 54u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(Le32(bmp, 2), bmp.size());
  EXPECT_EQ(Le32(bmp, 18), 416u);
  EXPECT_EQ(Le32(bmp, 22), 416u);
  std::string ico = qv::testing::ReadHostFile(dir_.Sub("cd/fw/quorvanta.ico"));
  ASSERT_GT(ico.size(), 22u);
  EXPECT_EQ(ico.substr(0, 6), std::string("\0\0\1\0\1\0", 6));
  EXPECT_EQ(Le32(ico, 14), ico.size() - 22) << "image size";
  EXPECT_EQ(Le32(ico, 18), 22u) << "image offset";

  std::string mem = qv::testing::ReadHostFile(dir_.Sub("cd/demo/rental.mem"));
  Result<std::vector<rt::MemVariable>> vars = rt::DecodeMem(mem, "rental.mem");
  ASSERT_TRUE(vars.ok()) << vars.status().ToString();
  std::map<std::string, rt::Value> by_name;
  for (const rt::MemVariable& v : *vars) by_name[v.name] = v.value;
  EXPECT_EQ(by_name.size(), 11u);
  EXPECT_EQ(by_name["RENTEND"].str(), "  :  ");
  EXPECT_EQ(by_name["RENTFLAG"].str(), " ");
  EXPECT_EQ(by_name["RENTPER"].str(), "Days");
  EXPECT_DOUBLE_EQ(by_name["RENTPRD"].num(), 1);
  EXPECT_EQ(by_name["RENTRATE"].number().decimals, 2);
  Result<std::vector<rt::MemVariable>> colours =
      rt::DecodeMem(qv::testing::ReadHostFile(dir_.Sub("cd/QUORVA~1/color.mem")), "color.mem");
  ASSERT_TRUE(colours.ok());
  EXPECT_FALSE(colours->empty());
}

TEST_F(MediaBuild, TwoBuildsGiveTheSameBytes) {
  Build("old", dir_.Sub("a"));
  Build("old", dir_.Sub("b"));
  for (const char* f : {"ZENTHOR/terms.dbf", "ZENTHOR/1.co/clm.dbf", "ZENTHOR/1.co/clm.dbt",
                        "ZENTHOR/2.co/inv.dbt", "ZENTHOR/1.co/statemnt.prn"}) {
    std::string a = qv::testing::ReadHostFile(dir_.Sub("a/") + f);
    EXPECT_FALSE(a.empty()) << f;
    EXPECT_EQ(a, qv::testing::ReadHostFile(dir_.Sub("b/") + f)) << f;
  }
}

// An independent reader (the Debian package python3-dbfread) opens every
// table with its code page and finds the records the sources list.
TEST_F(MediaBuild, AnIndependentReaderOpensEveryTable) {
  const char* python = "/usr/bin/python3";
  std::string probe = std::string(python) + " -c 'import dbfread' >/dev/null 2>&1";
  if (std::system(probe.c_str()) != 0) GTEST_SKIP() << "python3-dbfread is not installed";
  for (const char* part : {"cd", "old"}) {
    std::string out = dir_.Sub(part);
    Build(part, out);
    std::string script = dir_.Sub("read.py");
    qv::testing::WriteHostFile(
        script,
        "import dbfread, glob, sys\n"
        "for p in sorted(glob.glob(sys.argv[1] + '/**/*.[dD][bB][fF]', recursive=True)):\n"
        "    t = dbfread.DBF(p, encoding='cp1252', char_decode_errors='strict', load=True)\n"
        "    print(p[len(sys.argv[1]) + 1:], len(t.records), len(t.deleted))\n");
    std::string listing = dir_.Sub("listing.txt");
    std::string cmd = std::string(python) + " " + script + " " + out + " > " + listing + " 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << qv::testing::ReadHostFile(listing);
    std::string want;
    std::map<std::string, std::string> lines;
    MediaSources media(part);
    for (const SourceFolder& folder : media.folders()) {
      for (const TableSource& t : folder.tables) {
        size_t deleted = 0;
        for (const Row& r : t.rows) deleted += r.deleted;
        std::string name = (folder.path.empty() ? "" : folder.path + "/") + t.file_name;
        lines[name] =
            name + " " + std::to_string(t.rows.size() - deleted) + " " + std::to_string(deleted);
      }
    }
    for (const auto& [name, line] : lines) want += line + "\n";
    // The reader lists in its own order; compare as sorted lines.
    std::string got = qv::testing::ReadHostFile(listing);
    std::map<std::string, std::string> got_lines;
    size_t pos = 0;
    while (pos < got.size()) {
      size_t end = got.find('\n', pos);
      std::string line = got.substr(pos, end - pos);
      got_lines[line.substr(0, line.find(' '))] = line;
      pos = end + 1;
    }
    std::string got_sorted;
    for (const auto& [name, line] : got_lines) got_sorted += line + "\n";
    EXPECT_EQ(got_sorted, want);
  }
}

}  // namespace
}  // namespace qv::media
