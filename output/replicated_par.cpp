#include "output/replicated_par.h"

#include <algorithm>
#include <string>

namespace vrk {

namespace {

constexpr string::rep kAssignText = VRK_STATIC_TEXT(" = ");

}  // namespace

// Removes `from` and every fragment after it up to, not including, `until` (null: to the end).
void ReplicatedParExpander::erase_from(FragmentList& fragments, FragmentList::node* from,
                                       const FragmentList::node* until) {
  while (from != nullptr && from != until) {
    FragmentList::node* next = FragmentList::next(from);
    fragments.remove(from);
    from = next;
  }
}

Expansion ReplicatedParExpander::expand(FragmentList& fragments, FragmentList::node* start_marker,
                                   FragmentList::node* first_index_marker, const ReplicatorValues& values) {
  FragmentList::node* second_index_marker = fragments.last();
  body_.clear();
  std::int64_t body_weight = 0;
  if (values.literal) {
    // Take the body out before the scaffolding around it goes.
    for (FragmentList::node* n = FragmentList::next(first_index_marker); n != second_index_marker;) {
      FragmentList::node* next = FragmentList::next(n);
      body_weight += unrolling_weight(n->element);
      body_.append(fragments.remove(n));
      n = next;
    }
  }
  erase_from(fragments, start_marker, nullptr);
  fragments.set_cursor(fragments.last());

  std::int64_t per_replica = body_weight + 4;
  std::int64_t allowance = std::min(kFragmentBudget, translation_budget_ - unrolled_);
  if (!values.literal) {
    fragments.append(string(banners::kReplicatedParVariables));
    return Expansion::variables;
  }
  if (values.too_large || (values.count > 0 && values.count > allowance / per_replica)) {
    fragments.append(string(banners::kReplicatedParTooLarge));
    return Expansion::too_large;
  }
  unroll(fragments, values);
  if (values.count > 0) unrolled_ += values.count * per_replica;
  return Expansion::unrolled;
}

void ReplicatedParExpander::unroll(FragmentList& fragments, const ReplicatorValues& values) {
  string assign_prefix(values.index_name, string(kAssignText));
  std::int64_t index = values.base;
  for (std::int64_t replica = 1; replica <= values.count; ++replica, ++index) {
    fragments.append(assign_prefix);
    fragments.append(string(std::to_string(index) + ";\n"));
    fragments.append(string(kParOpen));
    for (const dlist::node* n = body_.first(); n != nullptr; n = n->next) fragments.append(n->element);
    fragments.append(string(kParClose));
  }
}

}  // namespace vrk
