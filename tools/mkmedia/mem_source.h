// Memory-variable files of the media (.mem) from a text source: one
// variable a line, "NAME TYPE VALUE" with TYPE C (the value is the rest of
// the line after one blank, escapes as in table rows), N (a decimal
// number), L (T or F) or D (YYYYMMDD); "#" starts a comment.
#pragma once

#include <string>
#include <string_view>

#include "platform/fs/status.h"

namespace qv::media {

// The .mem file image. InvalidArgument naming source and line.
Result<std::string> BuildMemFile(std::string_view text, std::string_view source);

}  // namespace qv::media
