#include "platform/rdd/workspace.h"

#include "platform/rdd/cdx_order_bag.h"
#include "platform/runtime/text.h"

namespace qv::rdd {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

// The last path component without its extension.
std::string BaseName(std::string_view path) {
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsSeparator(path[i])) start = i + 1;
  }
  std::string_view name = path.substr(start);
  size_t dot = name.find_last_of('.');
  return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

}  // namespace

Workspace::Workspace(fs::Env& env) : env_(&env) {
  resolver_ = [](std::string_view name) -> Result<std::string> { return std::string(name); };
  bag_opener_ = CdxBagOpener();
}

Workspace::~Workspace() { (void)CloseAll(); }

Result<std::string> Workspace::Resolve(std::string_view name, std::string_view ext) const {
  QV_ASSIGN_OR_RETURN(std::string full, FileName(name, ext));
  return resolver_(full);
}

Result<std::string> Workspace::FileName(std::string_view name, std::string_view ext) const {
  std::string full(name);
  while (!full.empty() && full.back() == ' ') full.pop_back();
  if (full.empty()) return Status::InvalidArgument("empty file name");
  bool has_folder = false;
  size_t last = 0;
  for (size_t i = 0; i < full.size(); ++i) {
    if (IsSeparator(full[i])) {
      has_folder = true;
      last = i + 1;
    }
  }
  if (full.find('.', last) == std::string::npos) full += ext;
  if (!has_folder && !default_path_.empty()) {
    std::string folder = default_path_;
    if (!IsSeparator(folder.back())) folder += folder.find('\\') != std::string::npos ? '\\' : '/';
    full = folder + full;
  }
  return full;
}

TableOpenOptions Workspace::OpenOptions(bool exclusive, bool read_only) const {
  TableOpenOptions options;
  options.exclusive = exclusive;
  options.read_only = read_only;
  options.today = today_;
  options.bag_opener = bag_opener_ ? &bag_opener_ : nullptr;
  return options;
}

Status Workspace::Use(const UseArgs& args) {
  if (args.new_area) QV_RETURN_IF_ERROR(SelectArea(0));
  QV_RETURN_IF_ERROR(CloseArea());
  ++layout_stamp_;
  std::string alias = rt::Upper(args.alias.empty() ? BaseName(args.file) : args.alias);
  if (alias.empty()) return Status::InvalidArgument("no alias for " + args.file);
  if (AreaOf(alias) != 0) return Status::InvalidArgument("alias " + alias + " is already in use");
  QV_ASSIGN_OR_RETURN(std::string path, Resolve(args.file));
  QV_ASSIGN_OR_RETURN(auto table,
                      Table::Open(*env_, path, OpenOptions(!args.shared, args.read_only)));
  if (areas_.size() <= static_cast<size_t>(current_)) areas_.resize(current_ + 1);
  areas_[current_] = std::make_unique<WorkArea>(std::move(table), alias, &settings_);
  return Status::OK();
}

Status Workspace::CloseArea() {
  if (static_cast<size_t>(current_) >= areas_.size() || !areas_[current_]) return Status::OK();
  ++layout_stamp_;
  for (auto& area : areas_) {
    if (area) area->DropRelationsTo(areas_[current_].get());
  }
  Status s = areas_[current_]->Close();
  areas_[current_].reset();
  return s;
}

Status Workspace::CloseAll() {
  Status first;
  for (auto& area : areas_) {
    if (area) area->ClearRelations();
  }
  for (auto& area : areas_) {
    if (!area) continue;
    Status s = area->Close();
    if (first.ok()) first = s;
    area.reset();
  }
  current_ = 1;
  ++layout_stamp_;
  return first;
}

Status Workspace::CommitAll() {
  for (auto& area : areas_) {
    if (area) QV_RETURN_IF_ERROR(area->Commit());
  }
  return Status::OK();
}

int Workspace::LowestFree() const {
  for (size_t i = 1; i < areas_.size(); ++i) {
    if (!areas_[i]) return static_cast<int>(i);
  }
  return areas_.size() < 2 ? 1 : static_cast<int>(areas_.size());
}

Status Workspace::SelectArea(int number) {
  if (number == 0) number = LowestFree();
  if (number < 1 || number > kMaxAreas) {
    return Status::InvalidArgument("work area " + std::to_string(number) + " out of range");
  }
  if (current_ != number) ++layout_stamp_;
  current_ = number;
  return Status::OK();
}

int Workspace::AreaOf(std::string_view alias) const {
  std::string wanted = rt::Upper(alias);
  while (!wanted.empty() && wanted.back() == ' ') wanted.pop_back();
  for (size_t i = 1; i < areas_.size(); ++i) {
    if (areas_[i] && areas_[i]->alias() == wanted) return static_cast<int>(i);
  }
  return 0;
}

WorkArea* Workspace::Area(int number) const {
  if (number == 0) number = current_;
  if (number < 1 || static_cast<size_t>(number) >= areas_.size()) return nullptr;
  return areas_[number].get();
}

std::string Workspace::Alias(int number) const {
  WorkArea* area = Area(number);
  return area ? area->alias() : std::string();
}

}  // namespace qv::rdd
