// The elements an element of a channel array names: subscripts and segments of sets of items.
#include <algorithm>

#include "occam2/graph/walk.h"

namespace vrk::occam2::graph {

std::int64_t flat_size(const TypeTable& types, TypeId type) {
  const Type& t = types[type];
  if (t.kind != TypeKind::array) return 1;
  std::int64_t inner = flat_size(types, t.element);
  if (t.size < 0 || inner >= kOpenSize) return kOpenSize;
  if (inner == 0 || t.size == 0) return 0;
  return t.size > kOpenSize / inner ? kOpenSize : t.size * inner;
}

void normalize(std::vector<Interval>& parts) {
  std::sort(parts.begin(), parts.end(), [](const Interval& a, const Interval& b) {
    return a.begin != b.begin ? a.begin < b.begin : a.end < b.end;
  });
  std::size_t kept = 0;
  for (const Interval& part : parts) {
    if (part.begin >= part.end) continue;
    if (kept > 0 && part.begin <= parts[kept - 1].end) {
      parts[kept - 1].end = std::max(parts[kept - 1].end, part.end);
    } else {
      parts[kept++] = part;
    }
  }
  parts.resize(kept);
}

namespace {

// The count of elements of the outermost array of each item, or -1 when it is not known.
std::int64_t item_count(const TypeTable& types, const ChannelSet& set) {
  return set.size >= 0 ? set.size : types[set.type].size;
}

// Calls place(item_start, item_length) for each item of `set`; false once the runs would pass
// `max_runs` (the caller then takes every element of the items).
template <typename Place>
bool for_each_item(const ChannelSet& set, std::int64_t item_length, std::uint64_t& work, std::uint64_t max_runs,
                   Place place) {
  for (const Interval& part : set.parts) {
    std::int64_t length = item_length > 0 ? item_length : part.end - part.begin;
    for (std::int64_t start = part.begin; start < part.end; start += length) {
      if (++work > max_runs) return false;
      place(start, length);
    }
  }
  return true;
}

}  // namespace

ChannelSet subscript(const TypeTable& types, const ChannelSet& set,
                     const std::optional<std::vector<std::int64_t>>& indices, std::uint64_t& work,
                     std::uint64_t max_runs) {
  const Type& t = types[set.type];
  if (t.kind != TypeKind::array) return set;  // the resolver has reported it
  ChannelSet result{set.channel, t.element, -1, {}};
  if (!indices) {
    result.parts = set.parts;
    return result;
  }
  std::int64_t width = flat_size(types, t.element);
  std::int64_t count = item_count(types, set);
  std::int64_t item_length = count >= 0 && width < kOpenSize ? count * width : 0;
  std::uint64_t budget = work + max_runs;
  bool whole = for_each_item(set, item_length, work, budget, [&](std::int64_t start, std::int64_t length) {
    for (std::int64_t index : *indices) {
      if (index < 0 || index >= kOpenSize || (count >= 0 && index >= count)) continue;
      std::int64_t first = start + index * width;
      if (first + width <= start + length) result.parts.push_back({first, first + width});
    }
    work += indices->size();
  });
  if (!whole || work > budget) {
    result.parts = set.parts;
    return result;
  }
  normalize(result.parts);
  return result;
}

ChannelSet segment(const TypeTable& types, const ChannelSet& set, std::optional<std::int64_t> start,
                   std::optional<std::int64_t> count, std::uint64_t& work, std::uint64_t max_runs) {
  const Type& t = types[set.type];
  std::int64_t items = item_count(types, set);
  if (t.kind != TypeKind::array || !start || !count || *start < 0 || *count < 0 ||
      (items >= 0 && *start + *count > items)) {
    return set;
  }
  std::int64_t width = flat_size(types, t.element);
  if (width >= kOpenSize) return set;
  ChannelSet result{set.channel, set.type, *count, {}};
  std::int64_t item_length = items >= 0 ? items * width : 0;
  bool whole = for_each_item(set, item_length, work, work + max_runs, [&](std::int64_t item_start, std::int64_t) {
    result.parts.push_back({item_start + *start * width, item_start + (*start + *count) * width});
  });
  if (!whole) return set;
  normalize(result.parts);
  return result;
}

}  // namespace vrk::occam2::graph
