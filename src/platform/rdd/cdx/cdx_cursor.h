// A position in one tag, moved in the tag's own order (a descending tag is
// walked from its greatest key down). Each step takes the bag's index lock
// when the bag is shared and re-finds its entry when another process changed
// the file meanwhile.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rdd/cdx/cdx_tag.h"

namespace qv::rdd::cdx {

class Cursor {
 public:
  // The tag must outlive the cursor.
  explicit Cursor(Tag& tag) : tag_(tag) {}

  // Positions on the first / last entry in the tag's order (eof() when the
  // tag is empty).
  Status First();
  Status Last();
  // Moves one entry on or back; moving past either end gives eof().
  Status Next();
  Status Prev();
  // Finds the first entry in the tag's order whose key starts with key (the
  // last such entry with last set) and returns true. When there is none the
  // cursor stands where key would be (the next entry in the tag's order, or
  // eof()), which is what a soft seek shows, and returns false.
  Result<bool> Seek(std::string_view key, bool last = false);
  // Positions on the entry (key, recno); false and eof() when absent.
  Result<bool> Find(std::string_view key, uint32_t recno);

  bool eof() const { return state_ != State::kOn; }
  // REQUIRES: !eof().
  std::string_view key() const { return decoded_ ? leaf_.key(index_) : hit_.key; }
  uint32_t recno() const { return decoded_ ? leaf_.recnos[index_] : hit_.recno; }
  // 1-based place of the current entry in the tag's order. REQUIRES: !eof().
  Result<uint64_t> Position();
  // Number of keys in the tag.
  Result<uint64_t> Count();

 private:
  enum class State { kBefore, kOn, kAfter };  // kBefore/kAfter: off either end
  // Moves in stored (ascending) order.
  Status StoredNext();
  Status StoredPrev();
  Status LoadLeaf(uint32_t offset, bool rightwards);
  // Decodes the leaf a descent left as page bytes (any move but the
  // descent's own needs the whole leaf).
  Status Decode();
  Status Descend(const SeekTarget& target);
  // Normalises a position past the end of a leaf onto the next entry.
  Status SettleForward();
  // Takes the read lock and re-finds the entry if the file changed.
  Status Enter(IndexLock& lock);
  Result<uint64_t> SumSiblings(uint32_t start, size_t link);
  bool descending() const { return tag_.info().descending; }
  bool Matches(std::string_view key) const;

  Tag& tag_;
  State state_ = State::kAfter;
  uint32_t leaf_offset_ = 0;
  Node leaf_;  // valid when decoded_
  size_t index_ = 0;
  // A descent reads its leaf only up to the entry it wants (most seeks move
  // no further): the page and that entry until Decode.
  bool decoded_ = true;
  std::array<uint8_t, kPageSize> page_;
  Tree::LeafHit hit_;
  uint64_t generation_ = 0;
  uint64_t hops_ = 0;  // sibling links followed one way since the last descent
  bool rightwards_ = true;
};

}  // namespace qv::rdd::cdx
