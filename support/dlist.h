// Doubly linked list of strings.
//
// The header holds both ends and the element count; nodes are records of the
// standard memory manager, each holding one reference to its element.  The
// first node's prev and the last node's next are null.  clear() hands every
// node back to the manager as one pre-linked chain: a node's next pointer is
// its first word, which is exactly the manager's free-list link.
//
// The class is the support library's public API: pop_front and pop_back are
// part of it and tested with it, though the translator itself does not use them.
#pragma once

#include <new>

#include "support/memory.h"
#include "support/string.h"

namespace vrk {

class dlist {
 public:
  struct node {
    node* next;
    node* prev;
    string element;
  };
  enum class side { after, before };

  dlist() noexcept = default;
  ~dlist() { clear(); }
  dlist(const dlist&) = delete;
  dlist& operator=(const dlist&) = delete;

  node* first() const noexcept { return first_; }
  node* last() const noexcept { return last_; }
  long count() const noexcept { return count_; }
  bool empty() const noexcept { return count_ == 0; }

  node* append(const string& s);
  // n == nullptr appends.
  node* insert_beside(node* n, const string& s, side where);
  void set_element(node* n, const string& s) { n->element = s; }
  string remove_node(node* n);  // nullptr -> error(999, "dlist: delete nil-item")
  string pop_front();           // empty -> error(999, "dlist: pop on empty list.")
  string pop_back();            // empty -> error(999, "dlist: Pop on empty list.")
  void clear();
  // Removes nodes from the front while `take(element)` is called for each, in order, stopping
  // before the last node and before the first for which `keep(node)` is true; one walk, and the
  // nodes go back to the manager as one chain. Returns how many were removed.
  template <class Keep, class Take>
  long remove_front(Keep keep, Take take);

 private:
  static node* new_node(node* next, node* prev, const string& s) {
    void* record = std_memory_mgr().allocate(sizeof(node));
    return new (record) node{next, prev, s};
  }
  static void delete_node(node* n) {
    n->~node();
    std_memory_mgr().release(n, sizeof(node));
  }
  void unlink(node* n) noexcept;

  node* first_ = nullptr;
  node* last_ = nullptr;
  long count_ = 0;
};

inline dlist::node* dlist::append(const string& s) {
  node* n = new_node(nullptr, last_, s);
  if (last_ != nullptr) {
    last_->next = n;
  } else {
    first_ = n;
  }
  last_ = n;
  ++count_;
  return n;
}

template <class Keep, class Take>
long dlist::remove_front(Keep keep, Take take) {
  node* head = first_;
  node* n = head;
  node* tail = nullptr;
  long removed = 0;
  while (n != last_ && !keep(n)) {
    node* next = n->next;
    take(n->element);
    n->~node();
    MemoryManager::store_link(n, next);
    tail = n;
    n = next;
    ++removed;
  }
  if (removed == 0) return 0;
  MemoryManager::store_link(tail, nullptr);
  first_ = n;
  n->prev = nullptr;
  count_ -= removed;
  std_memory_mgr().release_chain(head, tail, sizeof(node));
  return removed;
}

}  // namespace vrk
