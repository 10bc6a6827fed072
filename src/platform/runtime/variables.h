// The session's variable store. Publics live until the end of the run;
// privates (a routine's own variables) belong to a scope that the procedure
// registry pushes for each call: they are visible to everything the routine
// calls and disappear when it returns. Names are case-insensitive.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/runtime/value.h"

namespace qv::rt {

class Variables {
 public:
  Variables();  // with the base scope of the outermost routine

  // The visible variable: the innermost private of that name, else the
  // public; nullptr when none. The pointer stays valid until the variable
  // is released or its scope ends.
  Value* Find(std::string_view name);
  const Value* Find(std::string_view name) const;

  // PUBLIC name: creates the public with value false (xBase) and returns it;
  // an existing public keeps its value.
  Value& DeclarePublic(std::string_view name);
  // PRIVATE name := value in the current scope; a private of that name
  // already there is given the new value.
  Value& DeclarePrivate(std::string_view name, Value value = Value());
  // name := value: the visible variable, else a new private of the current
  // scope. Returns the variable assigned.
  Value& Assign(std::string_view name, Value value);
  // Removes the visible variable of that name (the innermost private, else
  // the public); an outer one of the same name becomes visible again.
  // False when there was none.
  bool Release(std::string_view name);
  // Releases the current scope's privates whose names match pattern
  // (WildcardMatch) or, with except, do not match.
  void ReleaseMatching(std::string_view pattern, bool except);

  // Every visible variable (publics hidden by a private left out), names
  // upper-case, in ascending byte order of the names.
  std::vector<std::pair<std::string, const Value*>> Visible() const;

  // Scopes: one per active call; the registry pushes and pops them.
  void PushScope();
  // REQUIRES: more scopes than the base one.
  void PopScope();
  size_t depth() const { return privates_.size(); }

 private:
  using Scope = std::map<std::string, Value>;
  std::map<std::string, Value> publics_;
  // Innermost last. A deque keeps the Values' addresses when scopes come
  // and go.
  std::deque<Scope> privates_;
};

}  // namespace qv::rt
