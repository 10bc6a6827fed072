// Building a tree from sources: what each kind of source becomes, and the
// mistakes that stop a build with the name of the source at fault.
#include "media_tree.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/fs/env.h"
#include "testing/testing.h"

namespace qv::media {
namespace {

class MediaTree : public ::testing::Test {
 protected:
  // Writes src/rel in the current folder, making its parents.
  void Write(const std::string& rel, const std::string& text) {
    std::string path = dir_->Sub("src/" + rel);
    for (size_t at = path.find('/', dir_->path().size() + 1); at != std::string::npos;
         at = path.find('/', at + 1)) {
      (void)env_->MakeDir(path.substr(0, at));
    }
    qv::testing::WriteHostFile(path, text);
  }
  Status Build() {
    return BuildTree(*env_, dir_->Sub("src"), dir_->Sub("out"), rt::Date::FromYmd(2026, 1, 5));
  }
  std::string Out(const std::string& rel) const { return dir_->Sub("out/" + rel); }
  // A fresh, empty folder for the next case.
  void Fresh() { dir_ = std::make_unique<qv::testing::TempDir>(); }

  std::unique_ptr<fs::Env> env_ = fs::NewHostEnv();
  std::unique_ptr<qv::testing::TempDir> dir_ = std::make_unique<qv::testing::TempDir>();
};

TEST_F(MediaTree, SameAndStructureShareATableAndTagsBuildBags) {
  Write("base/t.tbl", "field CODE C 4\nfield NAME C 10\ntag T upper(name)\nrows |\nA|one\nB|two\n");
  Write("copy/t.tbl", "same ../base/t.tbl\n");
  Write("copy/u.tbl", "structure ../base/t.tbl\nrows |\nC|three\n");
  Write("copy/notes.txt.sample", "kept as it is\r\n");
  Write("copy/empty/.keep", "");
  Status built = Build();
  ASSERT_TRUE(built.ok()) << built.ToString();
  for (const char* f :
       {"base/t.dbf", "base/t.cdx", "copy/t.dbf", "copy/t.cdx", "copy/u.dbf", "copy/u.cdx"}) {
    EXPECT_TRUE(env_->Stat(Out(f)).ok()) << f;
  }
  EXPECT_EQ(qv::testing::ReadHostFile(Out("base/t.dbf")),
            qv::testing::ReadHostFile(Out("copy/t.dbf")));
  EXPECT_EQ(qv::testing::ReadHostFile(Out("copy/notes.txt")), "kept as it is\r\n");
  EXPECT_TRUE(env_->Stat(Out("copy/empty")).ok());
  EXPECT_FALSE(env_->Stat(Out("copy/empty/.keep")).ok());
}

// Each mistake names the source file that holds it.
TEST_F(MediaTree, MistakesNameTheirSource) {
  struct Case {
    const char* file;
    const char* text;
  };
  const Case cases[] = {
      {"a/what.xyz", "an unknown kind of source"},
      {"a/t.tbl", "same ../nowhere.tbl\n"},
      {"a/t.tbl", "same t.tbl\n"},  // itself, again and again
      {"a/t.tbl", "field A C 3\ntag X nosuchfield\nrows |\nabc\n"},
      {"a/t.tbl", "field A C 3\ntag X a\n  for a\nrows |\nabc\n"},
      {"a/index.bags", "filedict\n"},
      {"a/p.bmp.pic", "fill 000000\n"},
      {"a/p.png.pic", "size 2 2\n"},
      {"a/v.mem.vars", "X Q 1\n"},
  };
  for (const Case& c : cases) {
    Fresh();
    Write(c.file, c.text);
    Status s = Build();
    ASSERT_FALSE(s.ok()) << c.file << ": " << c.text;
    std::string name = std::string(c.file).substr(2);
    EXPECT_NE(s.message().find(name), std::string::npos) << s.ToString();
  }
}

}  // namespace
}  // namespace qv::media
