// Tags kept current through a work area: seeded random appends, replaces,
// deletes, recalls and packs, after which check finds every tag sound and
// each order lists the records as a model of the table sorts them.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

struct Row {
  std::string code, name;
  int64_t cents = 0;
  int64_t day = 0;  // Julian day, 0 = empty
  bool flag = false;
  bool deleted = false;
};

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Tag name, key, FOR, descending, and the key a row gives (as a sortable
// string; numbers offset so that byte order is numeric order).
struct TagCase {
  OrderSpec spec;
  std::function<std::string(const Row&)> key;
  std::function<bool(const Row&)> includes;
};

std::string Padded(const std::string& s, size_t n) { return s + std::string(n - s.size(), ' '); }
std::string Fixed(int64_t v) {
  char text[32];
  std::snprintf(text, sizeof text, "%020lld", static_cast<long long>(v + 100000000000LL));
  return text;
}

std::vector<TagCase> Tags() {
  auto all = [](const Row&) { return true; };
  return {
      {{"NAME", "UPPER(NAME)", "", false, false},
       [](const Row& r) { return Upper(Padded(r.name, 30)); }, all},
      {{"AMOUNT", "AMOUNT", "", false, false}, [](const Row& r) { return Fixed(r.cents); }, all},
      {{"DATEDESC", "DATE", "", false, true}, [](const Row& r) { return Fixed(r.day); }, all},
      {{"FLAG", "FLAG", "", false, false}, [](const Row& r) { return std::string(r.flag ? "T" : "F"); },
       all},
      {{"CODEF", "CODE+DTOS(DATE)", "FLAG", false, false},
       [](const Row& r) {
         return Padded(r.code, 10) + (r.day ? rt::Date::FromJulian(r.day).Dtos() : "        ");
       },
       [](const Row& r) { return r.flag; }},
      // Unique tags: one entry per key, under the first record giving it,
      // also after that record changes its key or leaves the FOR set.
      {{"UCODE", "CODE", "", true, false}, [](const Row& r) { return Padded(r.code, 10); }, all},
      {{"ULIVE", "UPPER(NAME)", "!DELETED()", true, true},
       [](const Row& r) { return Upper(Padded(r.name, 30)); },
       [](const Row& r) { return !r.deleted; }},
  };
}

class MaintainTest : public ::testing::TestWithParam<uint32_t> {
 protected:
  void SetUp() override {
    env_ = fs::NewHostEnv();
    path_ = dir_.Sub("t.dbf");
    ASSERT_TRUE(Table::Create(*env_, path_,
                              {{"CODE", 'C', 10, 0},
                               {"NAME", 'C', 30, 0},
                               {"AMOUNT", 'N', 12, 2},
                               {"DATE", 'D', 8, 0},
                               {"FLAG", 'L', 1, 0}},
                              true, testutil::kToday)
                    .ok());
    Open();
    for (const TagCase& t : Tags()) {
      ASSERT_TRUE(OrderCreate(area(), dir_.Sub("t.cdx"), t.spec, nullptr).ok()) << t.spec.name;
    }
    Reopen();  // from here the bag opens with the table
    ASSERT_NE(area().table().structural_bag(), nullptr);
  }

  void Open() {
    ws_ = std::make_unique<Workspace>(*env_);
    ASSERT_TRUE(ws_->Use(UseArgs{path_, "T", false, false, false}).ok());
  }
  void Reopen() {
    ASSERT_TRUE(ws_->CloseAll().ok());
    Open();
  }
  WorkArea& area() { return *ws_->Area(); }

  void Write(Row& row) {
    ASSERT_TRUE(area().Put("CODE", rt::Value(row.code)).ok());
    ASSERT_TRUE(area().Put("NAME", rt::Value(row.name)).ok());
    ASSERT_TRUE(area().Put("AMOUNT", rt::Value::Num(row.cents / 100.0, 12, 2)).ok());
    ASSERT_TRUE(area().Put("DATE", rt::Value(rt::Date::FromJulian(row.day))).ok());
    ASSERT_TRUE(area().Put("FLAG", rt::Value(row.flag)).ok());
  }

  Row RandomRow(std::mt19937& rng) {
    static const char* kNames[] = {"smith", "Smith", "jones", "ADAMS", "", "  lead", "zed", "Ames"};
    Row r;
    r.code = "C" + std::to_string(rng() % 40);
    r.name = kNames[rng() % 8];
    if (rng() % 3 == 0) r.name += std::to_string(rng() % 100);
    r.cents = static_cast<int64_t>(rng() % 2000001) - 1000000;
    r.day = rng() % 5 == 0 ? 0 : 2451545 + static_cast<int64_t>(rng() % 3000);
    r.flag = rng() % 2 == 0;
    return r;
  }

  // Appends n random rows, adding them to model.
  void AppendRandom(int n, std::mt19937& rng, std::vector<Row>* model) {
    for (int i = 0; i < n; ++i) {
      ASSERT_TRUE(*area().Append());
      model->push_back(RandomRow(rng));
      Write(model->back());
    }
  }

  // Every tag against the model, then the engine's own check.
  void Verify(const std::vector<Row>& model) {
    for (const TagCase& t : Tags()) {
      SCOPED_TRACE(t.spec.name);
      std::vector<uint32_t> want;
      std::set<std::string> seen;
      for (uint32_t i = 0; i < model.size(); ++i) {
        if (!t.includes(model[i])) continue;
        if (t.spec.unique && !seen.insert(t.key(model[i])).second) continue;
        want.push_back(i + 1);
      }
      std::stable_sort(want.begin(), want.end(), [&](uint32_t a, uint32_t b) {
        const std::string ka = t.key(model[a - 1]), kb = t.key(model[b - 1]);
        return t.spec.descending ? ka > kb : ka < kb;
      });
      ASSERT_TRUE(SetFocus(area(), t.spec.name).ok());
      std::vector<uint32_t> got;
      ASSERT_TRUE(area().GoTop().ok());
      while (!area().Eof() && got.size() <= model.size()) {
        got.push_back(area().RecNo());
        ASSERT_TRUE(area().Skip(1).ok());
      }
      ASSERT_EQ(got.size(), want.size());
      for (size_t i = 0; i < got.size(); ++i) {
        ASSERT_EQ(t.key(model[got[i] - 1]), t.key(model[want[i] - 1])) << "entry " << i;
        if (!t.spec.descending || t.spec.unique) {
          ASSERT_EQ(got[i], want[i]) << "entry " << i;
        }
      }
    }
    ASSERT_TRUE(ws_->CloseAll().ok());
    const BagOpener opener = CdxBagOpener();
    std::vector<std::string> faults;
    ASSERT_TRUE(CheckTable(*env_, path_, &opener, &faults).ok());
    EXPECT_TRUE(faults.empty()) << faults.front();
    Open();
  }

  qv::testing::TempDir dir_;
  std::unique_ptr<fs::Env> env_;
  std::string path_;
  std::unique_ptr<Workspace> ws_;
};

TEST_P(MaintainTest, RandomChangesKeepEveryTagInStep) {
  std::mt19937 rng(GetParam());
  std::vector<Row> model;
  for (int step = 0; step < 400; ++step) {
    const uint32_t op = rng() % 10;
    if (model.empty() || op < 4) {
      ASSERT_NO_FATAL_FAILURE(AppendRandom(1, rng, &model));
    } else if (op < 7) {
      const uint32_t recno = 1 + rng() % model.size();
      ASSERT_TRUE(area().GoTo(recno).ok());
      Row row = RandomRow(rng);
      row.deleted = model[recno - 1].deleted;
      Write(row);
      model[recno - 1] = row;
    } else if (op < 9) {
      const uint32_t recno = 1 + rng() % model.size();
      ASSERT_TRUE(area().GoTo(recno).ok());
      const bool del = op == 7;
      ASSERT_TRUE((del ? area().Delete() : area().Recall()).ok());
      model[recno - 1].deleted = del;
    } else if (rng() % 4 == 0) {
      ASSERT_TRUE(area().Flush().ok());
      ASSERT_TRUE(Pack(area().table()).ok());
      model.erase(std::remove_if(model.begin(), model.end(),
                                 [](const Row& r) { return r.deleted; }),
                  model.end());
      ASSERT_TRUE(area().GoTop().ok());
    }
    if (step % 100 == 99) {
      ASSERT_NO_FATAL_FAILURE(Verify(model));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, MaintainTest, ::testing::Values(1u, 7u, 2026u));

// A unique tag's entry moves to the next record with the key when its record
// leaves the key, and to a lower record that takes the key on; a rebuild
// gives the same entries.
TEST_F(MaintainTest, UniqueKeyPassesToTheNextRecordThatHasIt) {
  std::vector<Row> model(3);
  for (Row& r : model) r.flag = true;
  model[0].code = model[1].code = "A";
  model[2].code = "B";
  for (Row& r : model) {
    ASSERT_TRUE(*area().Append());
    Write(r);
  }
  auto entries = [&] {
    std::string out;
    EXPECT_TRUE(SetFocus(area(), "UCODE").ok());
    EXPECT_TRUE(area().GoTop().ok());
    for (int guard = 0; !area().Eof() && guard < 10; ++guard) {
      out += area().Get("CODE")->str().substr(0, 1) + std::to_string(area().RecNo()) + " ";
      EXPECT_TRUE(area().Skip(1).ok());
    }
    return out;
  };
  struct Step {
    uint32_t recno;
    const char* code;
    const char* want;
  };
  const Step steps[] = {
      {1, "C", "A2 B3 C1 "},  // the holder leaves: record 2 still has A
      {3, "A", "A2 C1 "},     // a later record joins A: the entry stays on 2
      {1, "A", "A1 "},        // an earlier record joins A: it takes the entry
      {1, "D", "A2 D1 "},
      {2, "E", "A3 D1 E2 "},
  };
  EXPECT_EQ(entries(), "A1 B3 ");
  for (const Step& step : steps) {
    SCOPED_TRACE(std::to_string(step.recno) + " := " + step.code);
    ASSERT_TRUE(area().GoTo(step.recno).ok());
    model[step.recno - 1].code = step.code;
    Write(model[step.recno - 1]);
    EXPECT_EQ(entries(), step.want);
  }
  // Leaving the FOR set hands the key on too: every name is blank, and ULIVE
  // (live records only) must pass its one entry from record 1 to record 2.
  ASSERT_TRUE(area().GoTo(1).ok());
  ASSERT_TRUE(area().Delete().ok());
  model[0].deleted = true;
  ASSERT_NO_FATAL_FAILURE(Verify(model));
  const std::string maintained = entries();
  ASSERT_TRUE(OrderListRebuild(area()).ok());
  EXPECT_EQ(entries(), maintained);
}

TEST_F(MaintainTest, ZapEmptiesTheBagAndAppendsRefillIt) {
  std::mt19937 rng(5);
  std::vector<Row> model;
  ASSERT_NO_FATAL_FAILURE(AppendRandom(30, rng, &model));
  ASSERT_TRUE(area().Flush().ok());
  ASSERT_TRUE(area().table().Zap().ok());
  ASSERT_TRUE(SetFocus(area(), "NAME").ok());
  EXPECT_EQ(*area().order()->KeyCount(), 0u);
  model.clear();
  ASSERT_NO_FATAL_FAILURE(AppendRandom(5, rng, &model));
  ASSERT_NO_FATAL_FAILURE(Verify(model));
}

TEST_F(MaintainTest, StoppedBuildLeavesTheBagAsItWas) {
  std::mt19937 rng(9);
  std::vector<Row> model;
  ASSERT_NO_FATAL_FAILURE(AppendRandom(55, rng, &model));
  ASSERT_TRUE(area().Commit().ok());
  const std::string before = qv::testing::ReadHostFile(dir_.Sub("t.cdx"));
  std::vector<uint32_t> calls;
  auto stop_at_30 = [&](uint32_t done, uint32_t total) {
    calls.push_back(done);
    EXPECT_EQ(total, 55u);
    return done < 30;
  };
  Status s = OrderCreate(area(), dir_.Sub("t.cdx"), {"PART", "NAME", "", false, false}, stop_at_30);
  EXPECT_EQ(s.code(), StatusCode::kCancelled);
  EXPECT_EQ(calls, (std::vector<uint32_t>{10, 20, 30}));
  EXPECT_EQ(qv::testing::ReadHostFile(dir_.Sub("t.cdx")), before);
  EXPECT_EQ(SetFocus(area(), "PART").code(), StatusCode::kNotFound);
  // An empty tag name is the bag's base name.
  ASSERT_TRUE(OrderCreate(area(), dir_.Sub("t.cdx"), {"", "CODE", "", true, false}, nullptr).ok());
  EXPECT_EQ(area().order()->Name(), "T");
  EXPECT_EQ(IndexOrd(area()), static_cast<int>(Tags().size()) + 1);
}

TEST_F(MaintainTest, ClearKeepsTheStructuralBagAndTheNextBagTakesFocus) {
  ASSERT_TRUE(OrderCreate(area(), dir_.Sub("other.cdx"), {"BYCODE", "CODE", "", false, false},
                          nullptr)
                  .ok());
  EXPECT_EQ(area().table().bags().size(), 2u);
  EXPECT_EQ(OrderBagName(area()), Upper(dir_.Sub("other.cdx")));
  ASSERT_TRUE(OrderListClear(area()).ok());
  EXPECT_EQ(area().table().bags().size(), 1u);
  EXPECT_EQ(IndexOrd(area()), 0);
  ASSERT_TRUE(SetFocus(area(), "NAME").ok());  // structural orders stay
  ASSERT_TRUE(OrderListClear(area()).ok());
  ASSERT_TRUE(OrderListAdd(area(), dir_.Sub("other.cdx")).ok());
  EXPECT_EQ(area().order()->Name(), "BYCODE");
  // Appends through either bag are kept: the non-structural one too.
  ASSERT_TRUE(*area().Append());
  Row row;
  row.code = "Q1";
  Write(row);
  ASSERT_TRUE(area().Seek(rt::Value("Q1"), false).ok());
  EXPECT_TRUE(area().Found());
}

TEST_F(MaintainTest, CheckNamesADamagedBag) {
  std::mt19937 rng(3);
  std::vector<Row> model;
  ASSERT_NO_FATAL_FAILURE(AppendRandom(20, rng, &model));
  ASSERT_TRUE(ws_->CloseAll().ok());
  const std::string bag = dir_.Sub("t.cdx");
  std::string bytes = qv::testing::ReadHostFile(bag);
  ASSERT_GT(bytes.size(), 2048u);
  std::fill(bytes.end() - 512, bytes.end(), '\xff');  // the last tag's root page
  ASSERT_TRUE(fs::WriteWholeFile(*env_, bag, bytes, false).ok());
  const BagOpener opener = CdxBagOpener();
  std::vector<std::string> faults;
  ASSERT_TRUE(CheckTable(*env_, path_, &opener, &faults).ok());
  ASSERT_FALSE(faults.empty());
  for (const std::string& f : faults) EXPECT_EQ(f.rfind(bag, 0), 0u) << f;
  Open();
}

TEST_F(MaintainTest, RelationPositionsTheChildOnEveryMove) {
  // The child: the same table under another alias is not allowed in
  // exclusive use, so the parent relates into a second table of codes.
  const std::string child_path = dir_.Sub("codes.dbf");
  ASSERT_TRUE(Table::Create(*env_, child_path, {{"CODE", 'C', 10, 0}, {"TITLE", 'C', 10, 0}}, false,
                            testutil::kToday)
                  .ok());
  ASSERT_TRUE(ws_->Use(UseArgs{child_path, "C", true, false, false}).ok());
  WorkArea& child = *ws_->Area();
  for (const char* code : {"B", "A", "C"}) {
    ASSERT_TRUE(*child.Append());
    ASSERT_TRUE(child.Put("CODE", rt::Value(code)).ok());
    ASSERT_TRUE(child.Put("TITLE", rt::Value(std::string("title ") + code)).ok());
  }
  ASSERT_TRUE(OrderCreate(child, dir_.Sub("codes.cdx"), {"CODE", "CODE", "", false, false}, nullptr)
                  .ok());
  WorkArea& parent = *ws_->Area(1);
  for (const char* code : {"A", "X", "C"}) {
    ASSERT_TRUE(*parent.Append());
    ASSERT_TRUE(parent.Put("CODE", rt::Value(code)).ok());
  }
  parent.SetRelation(&child, [&parent]() { return parent.Get("CODE"); });
  ASSERT_TRUE(SetFocus(parent, 0).ok());
  const std::vector<std::string> want = {"title A", "", "title C"};
  ASSERT_TRUE(parent.GoTop().ok());
  for (const std::string& title : want) {
    SCOPED_TRACE(parent.Get("CODE")->str());
    EXPECT_EQ(child.Eof(), title.empty());
    if (!title.empty()) {
      EXPECT_EQ(child.Get("TITLE")->str().substr(0, title.size()), title);
    }
    ASSERT_TRUE(parent.Skip(1).ok());
  }
  EXPECT_TRUE(child.Eof());  // the parent is at end of file
  ASSERT_TRUE(parent.GoTo(1).ok());
  EXPECT_EQ(child.Get("TITLE")->str().substr(0, 7), "title A");
  parent.ClearRelations();
  ASSERT_TRUE(parent.GoTo(3).ok());
  EXPECT_EQ(child.Get("TITLE")->str().substr(0, 7), "title A");  // no longer follows
  parent.SetRelation(&child, [&parent]() { return parent.Get("CODE"); });
  ASSERT_TRUE(ws_->SelectArea(2).ok());
  ASSERT_TRUE(ws_->CloseArea().ok());  // closing the child drops the relation
  EXPECT_EQ(parent.relation_count(), 0u);
}

}  // namespace
}  // namespace qv::rdd
