#include "tables/usit_plan.h"

#include "platform/runtime/number.h"
#include "platform/runtime/text.h"

namespace qv::tables {

namespace {

std::string PlaceText(const rt::Value& place) {
  if (place.IsString()) return place.str();
  if (place.IsNumber()) return std::string(rt::AllTrim(rt::Str(place.number())));
  return std::string();
}

bool IsFlagLetter(std::string_view upper) { return upper == "U" || upper == "L" || upper == "E"; }

}  // namespace

std::string UsitPlan::ResourceName() const { return rt::Upper(name + suffix); }

UsitPlan PlanUsit(std::string_view name, const rt::Value& place,
                  std::span<const rt::Value> further) {
  UsitPlan plan;
  plan.name = rt::Upper(name);
  const std::string where = PlaceText(place);
  if (where.empty()) {
    plan.lock_scheme = true;
  } else if (size_t slash = where.find('\\'); slash != std::string::npos) {
    plan.folder = where.substr(0, slash + 1);
    plan.suffix = where.substr(slash + 1);
    plan.lock_scheme = true;
  } else {
    plan.suffix = where;
  }

  std::string& text = plan.flag_text;
  for (size_t i = 0; i < kUsitSlots; ++i) {
    text += "|" + std::to_string(i + 1) + "|";
    if (i < further.size() && further[i].IsString()) text += rt::Upper(further[i].str());
  }
  text += "|";
  if (text.find("|U|") != std::string::npos) {
    plan.flag = UsitFlag::kClose;
  } else if (text.find("|L|") != std::string::npos) {
    plan.flag = UsitFlag::kFileLock;
  } else if (text.find("|E|") != std::string::npos) {
    plan.flag = UsitFlag::kExclusive;
  }

  for (size_t i = 0; i < further.size() && i < kUsitSlots && plan.bags.size() < kMaxUsitBags; ++i) {
    if (!further[i].IsString() || further[i].str().empty()) break;
    if (IsFlagLetter(rt::Upper(further[i].str()))) break;
    plan.bags.push_back(plan.folder + further[i].str() + plan.suffix);
  }
  return plan;
}

}  // namespace qv::tables
