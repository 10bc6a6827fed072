// Seeking a key in the current table's controlling order, optionally under
// a temporary filter that is set for the seek and then taken back through
// the saved-filter file (filters.h).
#pragma once

#include "platform/runtime/value.h"
#include "tables/context.h"

namespace qv::tables {

// SEEKIT: true when the seek found a record. On a table whose alias begins
// with "TERMS" it locates the record whose ID the key begins with and
// returns true whether or not one was found. A blank filter sets none; restore
// NIL means "restore when the table has no filter now".
bool SeekIt(Context& ctx, const rt::Value& key, std::string_view filter = {},
            const rt::Value& restore = rt::Value());
// SOFTSEEKIT: SEEKIT with soft seek on; soft seek is off afterwards.
bool SoftSeekIt(Context& ctx, const rt::Value& key, std::string_view filter = {},
                const rt::Value& restore = rt::Value());

}  // namespace qv::tables
