#include "shell/startup/menu_table.h"

#include <cmath>

#include "platform/runtime/text.h"
#include "shell/startup/menu_action.h"

namespace qv::shell {

namespace {

constexpr std::string_view kSeparatorMark = "-----";
constexpr const char* kMenuFields[] = {"MEN_DESC", "MEN_MESSAG", "MEN_LOAD", "MEN_XXVKEY"};

// Builder calls with the depth kept, so that surplus closes cannot close
// the bar and unclosed submenus are closed at the end.
class LevelBuilder {
 public:
  LevelBuilder() { builder_.Begin(); }
  void Begin() {
    builder_.Begin();
    ++depth_;
  }
  void Close(int count) {
    for (int i = 0; i < count && depth_ > 0; ++i) {
      builder_.End();
      --depth_;
    }
  }
  gui::MenuBuilder& builder() { return builder_; }
  std::vector<gui::MenuItem> Finish() {
    Close(depth_);
    builder_.End();
    Result<std::vector<gui::MenuItem>> menu = builder_.Finish();
    return menu.ok() ? std::move(menu).value() : std::vector<gui::MenuItem>();
  }

 private:
  gui::MenuBuilder builder_;
  int depth_ = 0;  // submenus open below the bar
};

// Whole levels between 1 and drop: the submenus a drop closes.
int WholeLevels(double drop) { return drop >= 1 ? static_cast<int>(std::floor(drop)) : 0; }

void AddItem(gui::MenuBuilder& builder, const MenuRow& row, const ActionMaker& make_action) {
  builder.Add(std::string(rt::AllTrim(row.caption)), std::string(rt::AllTrim(row.message)),
              make_action ? make_action(row) : nullptr);
}

rt::ErrorInfo OpenErrorInfo(std::string_view file, const Status& status) {
  rt::ErrorInfo info;
  info.description = "Open error";
  info.operation = std::string(file);
  info.subsystem = "DBFCDX";
  info.gen_code = 21;
  info.os_code = status.IsNotFound() ? 2 : 0;  // ENOENT
  return info;
}

}  // namespace

double Indent(std::string_view caption) {
  const size_t blanks = caption.find_first_not_of(' ');
  return static_cast<double>(blanks == std::string_view::npos ? caption.size() : blanks) / 2;
}

std::vector<gui::MenuItem> BuildMenuTree(const std::vector<MenuRow>& rows,
                                         const ActionMaker& make_action) {
  LevelBuilder levels;
  if (rows.empty()) return levels.Finish();
  // The first row is an item of the bar, whatever its level or caption.
  AddItem(levels.builder(), rows[0], make_action);
  for (size_t i = 1; i < rows.size(); ++i) {
    const double previous = Indent(rows[i - 1].caption);
    const double level = Indent(rows[i].caption);
    if (level > previous) levels.Begin();
    if (level < previous) levels.Close(WholeLevels(previous - level));
    if (rows[i].caption.find(kSeparatorMark) != std::string::npos) {
      levels.builder().Separator();
    } else {
      AddItem(levels.builder(), rows[i], make_action);
    }
  }
  levels.Close(WholeLevels(Indent(rows.back().caption)));
  return levels.Finish();
}

Status OpenMenuTable(tables::Context& ctx, std::string_view file, bool new_area) {
  rdd::UseArgs use;
  use.file = std::string(file);
  use.alias = std::string(kMenuAlias);
  use.new_area = new_area;
  use.shared = true;
  return rt::RunWithRetry(
      ctx.session(), [&] { return ctx.workspace().Use(use); },
      [&](const Status& status) { return OpenErrorInfo(file, status); });
}

std::string MenuField(tables::Context& ctx, std::string_view field) {
  rdd::WorkArea* area = ctx.workspace().Area(ctx.workspace().AreaOf(kMenuAlias));
  if (area == nullptr || area->FieldPos(field) == 0) return std::string();
  Result<rt::Value> value = area->Get(field);
  return value.ok() && value->IsString() ? value->str() : std::string();
}

std::vector<MenuRow> ReadMenuRows(tables::Context& ctx) {
  std::vector<MenuRow> rows;
  const int number = ctx.workspace().AreaOf(kMenuAlias);
  rdd::WorkArea* area = number > 0 ? ctx.workspace().Area(number) : nullptr;
  if (area == nullptr) return rows;
  for (const char* field : kMenuFields) {
    if (area->FieldPos(field) != 0) continue;
    rt::ErrorInfo info;
    info.description = "Field not found";
    info.operation = std::string(kMenuAlias) + "->" + field;
    info.subsystem = "DBFCDX";
    info.can_default = true;
    rt::RaiseOrQuit(ctx.session(), info);
  }
  Status moved = area->GoTop();
  while (moved.ok() && !area->Eof()) {
    rows.push_back(MenuRow{area->RecNo(), MenuField(ctx, "MEN_DESC"), MenuField(ctx, "MEN_MESSAG"),
                           MenuField(ctx, "MEN_LOAD"), MenuField(ctx, "MEN_XXVKEY")});
    moved = area->Skip(1);
  }
  // The rules end on the last row; the table stays there.
  if (!rows.empty()) (void)area->GoTo(rows.back().recno);
  return rows;
}

std::vector<gui::MenuItem> BuildMenu(tables::Context& ctx, ShellState& state) {
  (void)OpenMenuTable(ctx, "menuset", /*new_area=*/false);
  const std::vector<MenuRow> rows = ReadMenuRows(ctx);
  return BuildMenuTree(rows, [&](const MenuRow& row) { return MakeMenuAction(ctx, state, row); });
}

}  // namespace qv::shell
