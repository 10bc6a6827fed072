#include "company/work_area_state.h"

#include "platform/rdd/orders.h"
#include "platform/runtime/number.h"
#include "platform/runtime/text.h"
#include "tables/filters.h"
#include "tables/order_bags.h"
#include "tables/session_state.h"
#include "tables/standard_tables.h"
#include "tables/usit.h"

namespace qv::company {

namespace {

using tables::TextVar;

// Elements of a row (1-based, as the row table gives them).
enum Element : size_t {
  kAlias = 2,
  kRecord = 3,
  kFilter = 4,
  kFirstBag = 5,
  kOrder = 10,
  kLocked = 11,
  kSuffix = 12,
  kCurrent = 13,
  kLevel = 14,
};

int NumberVar(rt::Session& session, std::string_view name) {
  const rt::Value* v = session.Find(name);
  return v != nullptr && v->IsNumber() ? static_cast<int>(v->num()) : 0;
}

// A text variable that may also hold a number (CHNUM, DRAWER).
std::string NameVar(rt::Session& session, std::string_view name) {
  const rt::Value* v = session.Find(name);
  if (v == nullptr) return std::string();
  if (v->IsNumber()) return std::string(rt::AllTrim(rt::Str(v->number())));
  return v->IsString() ? v->str() : std::string();
}

rt::ArrayRef SavedRows(rt::Session& session) {
  rt::Value& rows = tables::SessionVar(session, "ASCRSEL");
  if (!rows.IsArray()) rows = rt::Value::Array({});
  return rows.array();
}

// The bag file of order number as a Windows path ("C:\DATA\1.CO\INVEN.CDX"),
// so the restore can test it against the company folder and open it again.
std::string BagOfOrder(tables::Context& ctx, rdd::WorkArea& area, int number) {
  rdd::Order* order = rdd::OrderByNumber(area, number);
  if (order == nullptr) return std::string();
  for (const auto& bag : area.table().bags()) {
    for (size_t i = 0; i < bag->OrderCount(); ++i) {
      if (bag->OrderAt(i) != order) continue;
      for (const fs::DriveInfo& drive : ctx.fs().Drives()) {
        const std::string root = ctx.fs().Root(drive.letter) + "/";
        if (bag->Path().compare(0, root.size(), root) != 0) continue;
        std::string rest = bag->Path().substr(root.size());
        for (char& c : rest) c = c == '/' ? '\\' : c;
        return rt::Upper(std::string(1, drive.letter) + ":\\" + rest);
      }
      return rt::Upper(bag->Path());
    }
  }
  return std::string();
}

bool InCompanyFolder(tables::Context& ctx, const std::string& alias) {
  return ctx.fs().Exists(TextVar(ctx.session(), "XXVCO") + alias + ".dbf");
}

// Element 12: the workstation suffix of a per-workstation data-folder table.
std::string WorkstationSuffix(tables::Context& ctx, const std::string& alias) {
  const std::string term = tables::TermNo(ctx.session());
  return ctx.fs().Exists(alias + term + ".dbf") ? term : std::string();
}

// Element 11: whether semaphores of the table exist.
bool HasSemaphores(tables::Context& ctx, const std::string& alias) {
  rt::Session& session = ctx.session();
  std::string stem;
  if (alias.find("CKJ") != std::string::npos) {
    stem = tables::CompanyPrefix(session) + alias + NameVar(session, "CHNUM");
  } else if (InCompanyFolder(ctx, alias)) {
    stem = tables::CompanyPrefix(session) + alias;
  } else {
    stem = alias + WorkstationSuffix(ctx, alias);
  }
  Result<std::vector<fs::DirEntry>> found = ctx.fs().List(stem + ".??");
  return found.ok() && !found->empty();
}

std::string RowText(const std::vector<rt::Value>& row, size_t element) {
  const rt::Value& v = row[element - 1];
  return v.IsString() ? v.str() : std::string();
}

bool Skipped(const std::string& alias) {
  return rt::XbaseEquals("COMPANY", alias, false) || alias.find("READIT") != std::string::npos ||
         alias.find("MENUWIN") != std::string::npos || alias.find("ACR") != std::string::npos;
}

void AddSavedBags(tables::Context& ctx, const std::vector<rt::Value>& row, bool company_only) {
  rdd::WorkArea* area = ctx.workspace().Area();
  if (area == nullptr) return;
  const std::string first = RowText(row, kFirstBag);
  const std::string company = rt::Upper(TextVar(ctx.session(), "XXVCO"));
  if (company_only && first.find(company) == std::string::npos) return;
  bool cleared = false;
  for (int i = 0; i < kSavedOrders; ++i) {
    const std::string bag = RowText(row, kFirstBag + i);
    if (bag.empty() || (company_only && !ctx.fs().Exists(bag))) continue;
    if (!cleared) (void)rdd::OrderListClear(*area);
    cleared = true;
    tables::AddOrderBag(ctx, *area, bag);
  }
}

// Steps 2.1-2.4: reopens the row's table; false when it could not be opened.
bool Reopen(tables::Context& ctx, const std::vector<rt::Value>& row, const std::string& alias) {
  rt::Session& session = ctx.session();
  const std::string company = TextVar(session, "XXVCO");
  const rt::Value exclusive = RowText(row, kLocked) == "E" ? rt::Value("E") : rt::Value();
  if (alias.find("CKJ") != std::string::npos) {
    return tables::Usit(ctx, alias, rt::Value(company + NameVar(session, "CHNUM")), {exclusive});
  }
  if (rt::XbaseEquals("CR", alias, false)) {
    return tables::Usit(ctx, "cr", rt::Value(company + NameVar(session, "DRAWER")),
                        {rt::Value("cr"), exclusive});
  }
  if (!InCompanyFolder(ctx, alias)) {
    const std::string suffix = WorkstationSuffix(ctx, alias);
    if (!tables::Usit(ctx, alias, rt::Value(suffix),
                      {suffix.empty() ? rt::Value() : rt::Value("E")})) {
      return false;
    }
    AddSavedBags(ctx, row, false);
    return true;
  }
  if (!tables::Usit(ctx, alias, rt::Value(company), {exclusive})) return false;
  AddSavedBags(ctx, row, true);
  return true;
}

// Step 2.5: order, filter and record as saved.
void Reposition(tables::Context& ctx, const std::vector<rt::Value>& row) {
  rdd::WorkArea* area = ctx.workspace().Area();
  if (area == nullptr) return;
  (void)rdd::SetFocus(*area, static_cast<int>(rt::Val(RowText(row, kOrder)).value));
  if (!RowText(row, kFilter).empty()) tables::CmFilter(ctx, RowText(row, kFilter));
  const rt::Value& record = row[kRecord - 1];
  if (record.IsNumber()) (void)area->GoTo(static_cast<uint32_t>(record.num()));
}

void SelectAlias(tables::Context& ctx, const std::string& alias) {
  if (alias.empty()) return;
  if (int area = ctx.workspace().AreaOf(alias); area > 0) (void)ctx.workspace().SelectArea(area);
}

}  // namespace

std::vector<rt::Value> SaveRow(tables::Context& ctx, int number, const std::string& current_alias,
                               int level) {
  rdd::WorkArea& area = *ctx.workspace().Area(number);
  const std::string alias = area.alias();
  std::vector<rt::Value> row(kSavedRowSize, rt::Value(""));
  row[kAlias - 1] = rt::Value(alias);
  row[kRecord - 1] = rt::Value::Int(area.RecNo());
  row[kFilter - 1] = rt::Value(area.FilterText());
  for (int i = 0; i < kSavedOrders; ++i) {
    row[kFirstBag - 1 + i] = rt::Value(BagOfOrder(ctx, area, i + 1));
  }
  // The whole number, also for orders numbered 10 and above.
  row[kOrder - 1] = rt::Value(std::to_string(rdd::IndexOrd(area)));
  row[kLocked - 1] = rt::Value(HasSemaphores(ctx, alias) ? "E" : "");
  if (!InCompanyFolder(ctx, alias) && alias.find("CKJ") == std::string::npos) {
    row[kSuffix - 1] = rt::Value(WorkstationSuffix(ctx, alias));
  }
  row[kCurrent - 1] = rt::Value(current_alias);
  row[kLevel - 1] = rt::Value::Int(level);
  return row;
}

bool ScrSave(tables::Context& ctx) {
  rt::Session& session = ctx.session();
  rdd::Workspace& ws = ctx.workspace();
  const int level = NumberVar(session, "NSCRSTACK") + 1;
  tables::SessionVar(session, "NSCRSTACK") = rt::Value::Int(level);
  rt::ArrayRef rows = SavedRows(session);
  const std::string current = ws.Alias();
  for (int n = 1; n <= rdd::Workspace::kMaxAreas; ++n) {
    if (ws.Area(n) == nullptr) continue;
    rows->items.push_back(rt::Value::Array(SaveRow(ctx, n, current, level)));
  }
  return true;
}

bool ScrRestore(tables::Context& ctx) {
  rt::Session& session = ctx.session();
  const int level = NumberVar(session, "NSCRSTACK");
  rt::ArrayRef rows = SavedRows(session);
  tables::CloseExcept(ctx);
  std::vector<std::vector<rt::Value>> mine;
  for (const rt::Value& item : rows->items) {
    if (!item.IsArray() || item.array()->items.size() < kSavedRowSize) continue;
    const rt::Value& row_level = item.array()->items[kLevel - 1];
    if (row_level.IsNumber() && static_cast<int>(row_level.num()) == level) {
      mine.push_back(item.array()->items);
    }
  }
  for (const std::vector<rt::Value>& row : mine) {
    const std::string alias = std::string(rt::AllTrim(rt::Upper(RowText(row, kAlias))));
    if (Skipped(alias)) continue;
    if (Reopen(ctx, row, alias)) Reposition(ctx, row);
  }
  if (!mine.empty()) {
    SelectAlias(ctx, std::string(rt::AllTrim(RowText(mine.back(), kAlias))));
    SelectAlias(ctx, std::string(rt::AllTrim(RowText(mine.back(), kCurrent))));
  }
  std::erase_if(rows->items, [level](const rt::Value& item) {
    if (!item.IsArray() || item.array()->items.size() < kSavedRowSize) return false;
    const rt::Value& row_level = item.array()->items[kLevel - 1];
    return row_level.IsNumber() && static_cast<int>(row_level.num()) == level;
  });
  tables::SessionVar(session, "NSCRSTACK") = rt::Value::Int(level > 0 ? level - 1 : 0);
  return true;
}

}  // namespace qv::company
