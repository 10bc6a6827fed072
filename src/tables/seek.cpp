#include "tables/seek.h"

#include "platform/runtime/text.h"
#include "tables/filters.h"

namespace qv::tables {

bool SeekIt(Context& ctx, const rt::Value& key, std::string_view filter, const rt::Value& restore) {
  rdd::WorkArea* area = ctx.workspace().Area();
  if (area == nullptr) return false;
  if (rt::XbaseEquals(area->alias(), "TERMS", false)) {
    const bool exact = ctx.session().settings().exact;
    (void)area->Locate([&] {
      Result<rt::Value> id = area->Get("ID");
      return key.IsString() && id.ok() && id->IsString() &&
             rt::XbaseEquals(key.str(), id->str(), exact);
    });
    return true;
  }
  const bool put_back = restore.IsLogical() ? restore.logical() : area->FilterText().empty();
  // A blank filter is none: setting it would clear the table's own filter.
  const bool temporary = !rt::AllTrim(filter).empty();
  if (temporary) {
    if (put_back) CmSaveFilter(ctx);
    CmFilter(ctx, filter);
  }
  // Without a controlling order there is nothing to seek in: not found.
  const Status sought = area->Seek(key, ctx.workspace().settings().soft_seek);
  if (temporary && put_back) {
    CmClear(ctx);
    CmRestFilter(ctx);
  }
  return sought.ok() && !area->Eof();
}

bool SoftSeekIt(Context& ctx, const rt::Value& key, std::string_view filter,
                const rt::Value& restore) {
  ctx.workspace().settings().soft_seek = true;
  const bool found = SeekIt(ctx, key, filter, restore);
  ctx.workspace().settings().soft_seek = false;
  return found;
}

}  // namespace qv::tables
