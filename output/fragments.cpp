#include "output/fragments.h"

namespace vrk {

FragmentList::node* FragmentList::insert_after(node* where, const string& text) {
  cursor_ = where ? list_.insert_beside(where, text, dlist::side::after) : list_.append(text);
  return cursor_;
}

long FragmentList::write_front(OutputBuffer& out, std::span<const node* const> held) {
  auto is_held = [this, held](const node* n) {
    if (n == cursor_) return true;
    for (const node* h : held) {
      if (h == n) return true;
    }
    return false;
  };
  // The fragment before a held one stays too: a rewrite may delete from the held fragment to the
  // end (an unrolling of no copies), and the fragment before it must then be the last, as it is
  // when nothing was written early.
  auto kept = [is_held](const node* n) { return is_held(n) || (n->next != nullptr && is_held(n->next)); };
  return list_.remove_front(kept, [&out](const string& text) { out.write(text.view()); });
}

void FragmentList::write(OutputBuffer& out) {
  for (cursor_ = first(); cursor_ != nullptr; cursor_ = cursor_->next) out.write(cursor_->element.view());
}

}  // namespace vrk
