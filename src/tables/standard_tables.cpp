#include "tables/standard_tables.h"

#include "platform/rdd/bulk.h"
#include "platform/runtime/text.h"
#include "tables/notices.h"
#include "tables/session_state.h"
#include "tables/usit.h"

namespace qv::tables {

namespace {

constexpr char kStandardAliases[] = "CO,COMPANY,MENUWIN,READIT";

// ",A,B," from a comma-separated list, blanks around the names dropped.
std::string CommaFramed(std::string_view list) {
  std::string framed = ",";
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) comma = list.size();
    std::string_view item = rt::AllTrim(list.substr(start, comma - start));
    if (!item.empty()) framed += rt::Upper(item) + ",";
    start = comma + 1;
  }
  return framed;
}

// Copies the data folder's readit table into the company folder.
void CopyReaditToCompany(Context& ctx, const std::string& company) {
  if (!Usit(ctx, "readit")) return;
  Result<std::string> dest = ctx.workspace().Resolve(company + "readit");
  if (dest.ok()) (void)rdd::CopyTo(*ctx.workspace().Area(), *dest, {});
  (void)ctx.workspace().CloseArea();
}

}  // namespace

bool SelectIt(Context& ctx, std::string_view alias) {
  rdd::Workspace& ws = ctx.workspace();
  const std::string name = rt::Upper(alias);
  if (int area = ws.AreaOf(name); area > 0) (void)ws.SelectArea(area);
  return rt::XbaseEquals(ws.Alias(), name, false);
}

std::string CloseExcept(Context& ctx, std::string_view keep) {
  rdd::Workspace& ws = ctx.workspace();
  const std::string trimmed = std::string(rt::AllTrim(keep));
  const std::string spared = rt::EqualsNoCase(trimmed, "ALL")
                                 ? std::string()
                                 : CommaFramed(std::string(kStandardAliases) + "," + trimmed);
  (void)ws.SelectArea(0);
  const int free_area = ws.current();
  // Every area, not only the first 99: a table left open above them would
  // hold its locks past the command.
  for (int n = 1; n <= rdd::Workspace::kMaxAreas; ++n) {
    const std::string alias = ws.Alias(n);
    if (alias.empty()) continue;
    if (spared.find("," + alias + ",") != std::string::npos) continue;
    (void)ws.SelectArea(n);
    (void)ws.CloseArea();
    (void)ws.SelectArea(free_area);
  }
  return std::string();
}

bool Always(Context& ctx) {
  rt::Session& session = ctx.session();
  const std::string company = TextVar(session, "XXVCO");
  if (!SelectIt(ctx, "COMPANY")) Usit(ctx, "COMPANY", rt::Value(company));
  if (MultiUser(session) && !SelectIt(ctx, "CO")) {
    if (Usit(ctx, "co", rt::Value(TermNo(session)))) (void)ctx.workspace().Area()->FLock();
  }
  if (!SelectIt(ctx, "readit")) {
    if (!ctx.fs().Exists(company + "readit.dbf")) CopyReaditToCompany(ctx, company);
    Usit(ctx, "readit", rt::Value(company));
  }
  if (!SelectIt(ctx, "menuwin")) Usit(ctx, "menuwin");
  return true;
}

bool ChkFile(Context& ctx, std::string_view file) {
  if (!ctx.fs().Exists(file)) Inform(ctx, "error from usit file not found: " + std::string(file));
  return true;
}

}  // namespace qv::tables
