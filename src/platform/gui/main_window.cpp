#include "platform/gui/main_window.h"

#include "platform/runtime/text.h"

namespace qv::gui {

void MenuBuilder::Begin() {
  if (!begun_) {
    begun_ = true;
    open_.push_back(&root_);
    return;
  }
  if (open_.empty() || open_.back()->empty()) {
    broken_ = true;
    return;
  }
  open_.push_back(&open_.back()->back().items);
}

void MenuBuilder::Add(std::string caption, std::string message, std::function<void()> action) {
  if (open_.empty()) {
    broken_ = true;
    return;
  }
  open_.back()->push_back(
      MenuItem{std::move(caption), std::move(message), std::move(action), false, {}});
}

void MenuBuilder::Separator() {
  if (open_.empty()) {
    broken_ = true;
    return;
  }
  MenuItem sep;
  sep.separator = true;
  open_.back()->push_back(std::move(sep));
}

void MenuBuilder::End() {
  if (open_.empty()) {
    broken_ = true;
    return;
  }
  open_.pop_back();
}

Result<std::vector<MenuItem>> MenuBuilder::Finish() {
  if (broken_ || !begun_ || !open_.empty()) {
    return Status::InvalidArgument("menu begin/end calls do not pair up");
  }
  return std::move(root_);
}

std::string PlainCaption(std::string_view caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] != '&') continue;
    out.push_back(caption[i]);
    if (caption[i] == '&') ++i;  // "&&" is a literal ampersand
  }
  return std::string(rt::AllTrim(out));
}

const MenuItem* FindMenuItem(const std::vector<MenuItem>& menu,
                             const std::vector<std::string>& captions) {
  const std::vector<MenuItem>* level = &menu;
  const MenuItem* found = nullptr;
  for (const std::string& caption : captions) {
    found = nullptr;
    for (const MenuItem& item : *level) {
      if (!item.separator && rt::EqualsNoCase(PlainCaption(item.caption), caption)) {
        found = &item;
        break;
      }
    }
    if (found == nullptr) return nullptr;
    level = &found->items;
  }
  if (found == nullptr || !found->items.empty()) return nullptr;
  return found;
}

std::vector<std::string> SplitMenuPath(std::string_view path) {
  std::vector<std::string> out;
  while (true) {
    const size_t gt = path.find('>');
    out.emplace_back(rt::AllTrim(path.substr(0, gt)));
    if (gt == std::string_view::npos) break;
    path.remove_prefix(gt + 1);
  }
  return out;
}

}  // namespace qv::gui
