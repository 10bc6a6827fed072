// What a USIT call asks for, worked out from its arguments alone: the file
// names from the place, the flag found in the six-slot text, the index list.
//
// Place (the second argument):
//   ""                 file name,          bag B,          lock scheme
//   holds "\"          folder+name+suffix, folder+B+suffix, lock scheme
//                      (split at the first "\": folder up to and including it)
//   any other text     name+place,         B+place,        no lock scheme
// Flag: the six arguments after the place become "|1|v1|2|v2|...|6|v6|"
// (upper case; a slot is empty when its argument is no text). "|U|" anywhere
// wins, then the first "|L|", then the first "|E|".
// Index list: the text arguments from the first, up to the first that is no
// text, is empty or is a flag letter alone; at most five bags.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/value.h"

namespace qv::tables {

enum class UsitFlag {
  kNone,       // open shared
  kClose,      // "U": close only
  kFileLock,   // "L": open shared, then take the file lock
  kExclusive,  // "E": open exclusively
};

inline constexpr size_t kUsitSlots = 6;
inline constexpr size_t kMaxUsitBags = 5;

struct UsitPlan {
  std::string name;    // upper case; the alias
  std::string folder;  // "" or up to and including the first backslash
  std::string suffix;  // what follows the name in file and bag names
  bool lock_scheme = false;
  UsitFlag flag = UsitFlag::kNone;
  std::string flag_text;          // the six-slot text
  std::vector<std::string> bags;  // as the program names them (folder + B + suffix)

  // folder + name + suffix
  std::string File() const { return folder + name + suffix; }
  // The semaphore's resource name: name + suffix, upper case.
  std::string ResourceName() const;
};

// place: a text (a number counts as its digits; anything else as "").
// further: the arguments after the place; only the first six count.
UsitPlan PlanUsit(std::string_view name, const rt::Value& place,
                  std::span<const rt::Value> further);

}  // namespace qv::tables
