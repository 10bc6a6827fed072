// Structural verification of a bag's trees and free list: what `check` runs
// to tell a sound index from a damaged one without trusting any page.
#pragma once

#include <cstdint>

#include "platform/rdd/cdx/cdx_tree.h"

namespace qv::rdd::cdx {

// Walks the whole tree level by level: every page decodes, is reached once,
// lies on one level with exact sibling links, is not empty (unless it is the
// root), and every interior entry equals the last entry of its child; keys
// ascend (strictly by key when unique). *key_count gets the number of keys.
Status CheckTree(const Tree& tree, bool unique, uint64_t* key_count);

// Follows the free list: each page a page of the file, no cycle.
Status CheckFreeList(Pager& pager);

}  // namespace qv::rdd::cdx
