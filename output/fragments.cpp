#include "output/fragments.h"

#include <cstdint>

namespace vrk {

namespace {
constexpr std::string_view kCommentOpen = "\n\n/* ";
constexpr std::string_view kCommentClose = " */\n\n";
}  // namespace

string comment_fragment(std::string_view text) { return string::joined(kCommentOpen, text, kCommentClose); }

// No other fragment begins like a comment: action texts, banners and token texts never do.
long unrolling_weight(const string& fragment) {
  if (!fragment.begins_with(kCommentOpen)) return 1;
  return fragment.length() - static_cast<long>(kCommentOpen.size() + kCommentClose.size()) + 2;
}

FragmentList::node* FragmentList::insert_after(node* where, const string& text) {
  cursor_ = where ? list_.insert_beside(where, text, dlist::side::after) : list_.append(text);
  return cursor_;
}

namespace {
// A bit per node address, so that most fragments are found not held without a walk of the list.
std::uint64_t held_bit(const FragmentList::node* n) {
  return std::uint64_t{1} << ((reinterpret_cast<std::uintptr_t>(n) / alignof(FragmentList::node)) % 64);
}
}  // namespace

long FragmentList::write_front(OutputBuffer& out, std::span<const node* const> held) {
  std::uint64_t held_bits = cursor_ != nullptr ? held_bit(cursor_) : 0;
  for (const node* h : held) held_bits |= held_bit(h);
  auto is_held = [this, held, held_bits](const node* n) {
    if ((held_bits & held_bit(n)) == 0) return false;
    if (n == cursor_) return true;
    for (const node* h : held) {
      if (h == n) return true;
    }
    return false;
  };
  // The fragment before a held one stays too: a rewrite may delete from the held fragment to the
  // end (an unrolling of no copies), and the fragment before it must then be the last, as it is
  // when nothing was written early.
  // The walk goes front to back, so whether a fragment is held was already found when it was the
  // next one: each fragment is looked up once.
  bool current_held = first() != nullptr && is_held(first());
  auto kept = [&is_held, &current_held](const node* n) {
    const bool next_held = n->next != nullptr && is_held(n->next);
    const bool keep = current_held || next_held;
    current_held = next_held;
    return keep;
  };
  return list_.remove_front(kept, [&out](const string& text) { out.write(text.view()); });
}

void FragmentList::write(OutputBuffer& out) {
  for (cursor_ = first(); cursor_ != nullptr; cursor_ = cursor_->next) out.write(cursor_->element.view());
}

}  // namespace vrk
