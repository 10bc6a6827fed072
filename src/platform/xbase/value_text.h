// A value as one line of text, the form `xbtool eval` and the headless
// transcript's EVAL lines print, and that PADL/PADR/PADC pad: strings as
// they are, numbers as STR() without a width gives them but trimmed, dates
// mm/dd/yy, logicals .T./.F., NIL, {array N}, {block}, {object CLASS}.
#pragma once

#include <string>

#include "platform/runtime/value.h"

namespace qv::xb {

std::string ValueText(const rt::Value& value);

}  // namespace qv::xb
