#include "platform/runtime/variables.h"

#include <cassert>

#include "platform/runtime/text.h"

namespace qv::rt {

Variables::Variables() { privates_.emplace_back(); }

Value* Variables::Find(std::string_view name) {
  return const_cast<Value*>(static_cast<const Variables*>(this)->Find(name));
}

const Value* Variables::Find(std::string_view name) const {
  std::string key = Upper(name);
  for (auto scope = privates_.rbegin(); scope != privates_.rend(); ++scope) {
    auto it = scope->find(key);
    if (it != scope->end()) return &it->second;
  }
  auto it = publics_.find(key);
  return it == publics_.end() ? nullptr : &it->second;
}

Value& Variables::DeclarePublic(std::string_view name) {
  // try_emplace leaves an existing public alone.
  return publics_.try_emplace(Upper(name), Value(false)).first->second;
}

Value& Variables::DeclarePrivate(std::string_view name, Value value) {
  Value& slot = privates_.back()[Upper(name)];
  slot = std::move(value);
  return slot;
}

Value& Variables::Assign(std::string_view name, Value value) {
  Value* existing = Find(name);
  if (existing == nullptr) return DeclarePrivate(name, std::move(value));
  *existing = std::move(value);
  return *existing;
}

bool Variables::Release(std::string_view name) {
  std::string key = Upper(name);
  for (auto scope = privates_.rbegin(); scope != privates_.rend(); ++scope) {
    if (scope->erase(key) > 0) return true;
  }
  return publics_.erase(key) > 0;
}

void Variables::ReleaseMatching(std::string_view pattern, bool except) {
  Scope& scope = privates_.back();
  for (auto it = scope.begin(); it != scope.end();) {
    if (WildcardMatch(pattern, it->first) != except) {
      it = scope.erase(it);
    } else {
      ++it;
    }
  }
}

std::vector<std::pair<std::string, const Value*>> Variables::Visible() const {
  // Inner scopes first, so that the first entry of a name is the visible one.
  std::map<std::string, const Value*> seen;
  for (auto scope = privates_.rbegin(); scope != privates_.rend(); ++scope) {
    for (const auto& [name, value] : *scope) seen.try_emplace(name, &value);
  }
  for (const auto& [name, value] : publics_) seen.try_emplace(name, &value);
  return {seen.begin(), seen.end()};
}

void Variables::PushScope() { privates_.emplace_back(); }

void Variables::PopScope() {
  assert(privates_.size() > 1);
  privates_.pop_back();
}

}  // namespace qv::rt
