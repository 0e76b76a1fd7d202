#include "output/fragments.h"

namespace vrk {

FragmentList::node* FragmentList::insert_after(node* where, const string& text) {
  cursor_ = where ? list_.insert_beside(where, text, dlist::side::after) : list_.append(text);
  return cursor_;
}

long FragmentList::write_front(OutputBuffer& out, std::span<const node* const> held) {
  auto kept = [this, held](const node* n) {
    if (n == cursor_) return true;
    for (const node* h : held) {
      if (h == n) return true;
    }
    return false;
  };
  return list_.remove_front(kept, [&out](const string& text) { out.write(text.view()); });
}

void FragmentList::write(OutputBuffer& out) {
  for (cursor_ = first(); cursor_ != nullptr; cursor_ = cursor_->next) out.write(cursor_->element.view());
}

}  // namespace vrk
