#include "output/fragments.h"

namespace vrk {

FragmentList::node* FragmentList::insert_after(node* where, const string& text) {
  cursor_ = where ? list_.insert_beside(where, text, dlist::side::after) : list_.append(text);
  return cursor_;
}

void FragmentList::write(OutputBuffer& out) {
  for (cursor_ = first(); cursor_ != nullptr; cursor_ = cursor_->next) out.write(cursor_->element.view());
}

}  // namespace vrk
