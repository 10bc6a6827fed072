// Sorting a build's keys: radix passes over 8-byte key prefixes, then runs of
// equal prefixes sorted by the next bytes; equal keys by record number.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "platform/rdd/cdx/cdx_builder.h"

namespace qv::rdd::cdx {

namespace {

// Packed to 12 bytes: a million-key build holds two arrays of these.
#pragma pack(push, 4)
struct Item {
  uint64_t prefix;  // key bytes [depth, depth + 8) big-endian, zero-padded
  uint32_t index;
};
#pragma pack(pop)
static_assert(sizeof(Item) == 12);

constexpr size_t kSmallRun = 48;  // below this a comparison sort is faster

uint64_t Prefix(const KeyList& list, uint32_t index, size_t depth) {
  const char* key = list.keys.data() + size_t{index} * list.key_len;
  if (std::endian::native == std::endian::little && depth + 8 <= list.key_len) {
    uint64_t word;
    std::memcpy(&word, key + depth, 8);
    return __builtin_bswap64(word);
  }
  uint64_t v = 0;
  for (size_t i = 0; i < 8; ++i) {
    const size_t at = depth + i;
    v = (v << 8) | (at < list.key_len ? static_cast<uint8_t>(key[at]) : 0);
  }
  return v;
}

// Stable LSD radix sort by prefix, one byte per pass, skipping bytes that
// are the same in every item.
void RadixByPrefix(std::vector<Item>& items, std::vector<Item>& scratch) {
  scratch.resize(items.size());
  // Every byte's counts in one read of the items.
  std::array<std::array<size_t, 256>, 8> counts{};
  for (const Item& it : items) {
    for (int b = 0; b < 8; ++b) ++counts[b][(it.prefix >> (8 * b)) & 0xFF];
  }
  for (int shift = 0; shift < 64; shift += 8) {
    std::array<size_t, 256>& count = counts[shift / 8];
    if (std::find(count.begin(), count.end(), items.size()) != count.end()) continue;
    size_t sum = 0;
    for (size_t& c : count) sum += std::exchange(c, sum);
    for (const Item& it : items) scratch[count[(it.prefix >> shift) & 0xFF]++] = it;
    items.swap(scratch);
  }
}

class Sorter {
 public:
  explicit Sorter(const KeyList& list) : list_(list) {}

  // Sorts order[from, to) whose keys agree on bytes [0, depth).
  void Sort(std::vector<uint32_t>& order, size_t from, size_t to, size_t depth) {
    if (to - from < 2) return;
    if (to - from < kSmallRun || depth >= list_.key_len) {
      CompareSort(order, from, to, depth);
      return;
    }
    std::vector<Item> items(to - from);
    constexpr size_t kAhead = 16;  // below the first level the keys are read at random
    for (size_t i = from; i < to; ++i) {
      if (i + kAhead < to) {
        __builtin_prefetch(list_.keys.data() + size_t{order[i + kAhead]} * list_.key_len + depth);
      }
      items[i - from] = {Prefix(list_, order[i], depth), order[i]};
    }
    RadixByPrefix(items, scratch_);
    for (size_t i = from; i < to; ++i) order[i] = items[i - from].index;
    for (size_t run = 0; run < items.size();) {
      size_t end = run + 1;
      while (end < items.size() && items[end].prefix == items[run].prefix) ++end;
      if (end - run > 1) Sort(order, from + run, from + end, depth + 8);
      run = end;
    }
  }

 private:
  void CompareSort(std::vector<uint32_t>& order, size_t from, size_t to, size_t depth) {
    const size_t len = list_.key_len;
    const size_t rest = depth < len ? len - depth : 0;
    const char* keys = list_.keys.data();
    const uint32_t* recnos = list_.recnos.data();
    std::sort(order.begin() + static_cast<std::ptrdiff_t>(from),
              order.begin() + static_cast<std::ptrdiff_t>(to), [&](uint32_t a, uint32_t b) {
                const int cmp = rest == 0 ? 0
                                          : std::memcmp(keys + size_t{a} * len + depth,
                                                        keys + size_t{b} * len + depth, rest);
                return cmp != 0 ? cmp < 0 : recnos[a] < recnos[b];
              });
  }

  const KeyList& list_;
  std::vector<Item> scratch_;
};

}  // namespace

// A counting pass on the first key byte comes first, so that the radix
// arrays hold one bucket at a time rather than the whole list (the peak
// memory of a large build).
std::vector<uint32_t> SortOrder(const KeyList& list) {
  const size_t n = list.size();
  std::vector<uint32_t> order(n);
  Sorter sorter(list);
  if (list.key_len == 0) {
    for (size_t i = 0; i < n; ++i) order[i] = static_cast<uint32_t>(i);
    sorter.Sort(order, 0, n, 0);
    return order;
  }
  auto first_byte = [&list](size_t i) {
    return static_cast<uint8_t>(list.keys[i * list.key_len]);
  };
  std::array<size_t, 257> start{};
  for (size_t i = 0; i < n; ++i) ++start[first_byte(i) + 1];
  for (size_t b = 1; b < start.size(); ++b) start[b] += start[b - 1];
  std::array<size_t, 256> next{};
  std::copy(start.begin(), start.end() - 1, next.begin());
  for (size_t i = 0; i < n; ++i) order[next[first_byte(i)]++] = static_cast<uint32_t>(i);
  for (size_t b = 0; b < 256; ++b) {
    sorter.Sort(order, start[b], start[b + 1], 0);  // equal keys end in CompareSort, by record
  }
  return order;
}

void SortKeys(KeyList* list) {
  const size_t n = list->size();
  const std::vector<uint32_t> order = SortOrder(*list);
  // Gathering into fresh arrays writes sequentially; permuting in place
  // cycle by cycle was slower by far.
  const size_t len = list->key_len;
  std::string keys(list->keys.size(), '\0');
  std::vector<uint32_t> recnos(n);
  for (size_t i = 0; i < n; ++i) {
    std::memcpy(keys.data() + i * len, list->keys.data() + size_t{order[i]} * len, len);
    recnos[i] = list->recnos[order[i]];
  }
  list->keys = std::move(keys);
  list->recnos = std::move(recnos);
}

}  // namespace qv::rdd::cdx
