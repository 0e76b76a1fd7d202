// Insertion, removal and bulk release of list nodes.
#include "support/dlist.h"

#include <utility>

#include "support/error.h"

namespace vrk {

dlist::node* dlist::insert_beside(node* n, const string& s, side where) {
  if (n == nullptr) return append(s);
  node* fresh;
  if (where == side::after) {
    fresh = new_node(n->next, n, s);
    if (n->next != nullptr) {
      n->next->prev = fresh;
    } else {
      last_ = fresh;
    }
    n->next = fresh;
  } else {
    fresh = new_node(n, n->prev, s);
    if (n->prev != nullptr) {
      n->prev->next = fresh;
    } else {
      first_ = fresh;
    }
    n->prev = fresh;
  }
  ++count_;
  return fresh;
}

void dlist::unlink(node* n) noexcept {
  if (n->prev != nullptr) {
    n->prev->next = n->next;
  } else {
    first_ = n->next;
  }
  if (n->next != nullptr) {
    n->next->prev = n->prev;
  } else {
    last_ = n->prev;
  }
  --count_;
}

string dlist::remove_node(node* n) {
  if (n == nullptr) {
    error(999, "dlist: delete nil-item");
    return string();
  }
  unlink(n);
  string element = std::move(n->element);
  delete_node(n);
  return element;
}

string dlist::pop_front() {
  if (first_ == nullptr) {
    error(999, "dlist: pop on empty list.");
    return string();
  }
  return remove_node(first_);
}

string dlist::pop_back() {
  if (last_ == nullptr) {
    error(999, "dlist: Pop on empty list.");
    return string();
  }
  return remove_node(last_);
}

void dlist::clear() {
  if (first_ == nullptr) return;
  node* head = first_;
  node* tail = last_;
  for (node* n = head; n != nullptr;) {
    node* next = n->next;
    n->~node();
    MemoryManager::store_link(n, next);
    n = next;
  }
  first_ = last_ = nullptr;
  count_ = 0;
  std_memory_mgr().release_chain(head, tail, sizeof(node));
}

}  // namespace vrk
