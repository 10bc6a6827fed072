// TRANSFORM()'s pictures: "@" functions (! upper case, D/E dates, Z blank
// zero, B left-aligned, ( and X negative marks, C credit, R and S<n>) and
// templates (9 # digits, . point, , grouping, * $ fills; A N X ! L Y for
// text, Y and L for logicals).
#pragma once

#include <string>
#include <string_view>

#include "platform/runtime/value.h"

namespace qv::xb {

// The value shown through picture. Arrays, blocks and NIL give "".
std::string Transform(const rt::Value& value, std::string_view picture);

}  // namespace qv::xb
