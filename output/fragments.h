// The Fragment list: the translation's output, as one ordered list of shared texts.
//
// Everything that follows the two header templates in the Handel-C file passes through here: the
// scanner appends comments, the translation actions append their Handel-C text in the order the
// parse reaches it, and a few passes rewrite the list in place (the boolean constants, an array's
// type word, replicated PAR unrolling). It is written to the output file at the end; when the output
// can be taken back, the front that no later rewrite can reach is written early (write_front).
//
// The list has one shared cursor. Every insertion leaves it on the new fragment; walks use it as
// their walking variable. Nodes stay valid until they are removed, so callers may keep them.
#pragma once

#include <span>
#include <string_view>

#include "output/streams.h"
#include "support/dlist.h"
#include "support/string.h"

namespace vrk {

// The C comment that a whole-line comment of the source becomes, with the comment's characters
// `text`: one fragment.
string comment_fragment(std::string_view text);

// What a fragment counts for in the limits on replicated PAR unrolling: one, and for a comment its
// characters and its two delimiters, one each. The limits were set in those units, when a comment
// was a fragment per character; counted so, they refuse and unroll the same programs.
long unrolling_weight(const string& fragment);

class FragmentList {
 public:
  using node = dlist::node;

  // Adds a new last fragment; the cursor moves onto it.
  void append(const string& text) { cursor_ = list_.append(text); }
  // Adds a new fragment after `where` (appends when `where` is null).
  node* insert_after(node* where, const string& text);
  // The node keeps its place and holds `text` instead; the cursor stays.
  void replace(node* where, const string& text) { list_.set_element(where, text); }
  // Unlinks the node and returns its text; the cursor stays where it was, so a caller that
  // removes the cursor's node moves the cursor itself.
  string remove(node* where) { return list_.remove_node(where); }

  node* first() const { return list_.first(); }
  node* last() const { return list_.last(); }
  static node* next(const node* n) { return n->next; }
  static node* previous(const node* n) { return n->prev; }
  long size() const { return list_.count(); }
  bool empty() const { return list_.empty(); }

  node* cursor() const { return cursor_; }
  void set_cursor(node* n) { cursor_ = n; }

  // Whether a fragment begins with `prefix`, or is exactly `text` (case-sensitive).
  static bool begins_with(const node* n, std::string_view prefix) { return n->element.begins_with(prefix); }
  static bool equals(const node* n, std::string_view text) { return n->element == text; }

  // Writes every fragment's bytes in order, nothing between them; the list is unchanged and the
  // cursor ends at none.
  void write(OutputBuffer& out);

  // Writes the fragments before the first of `held` (in list order) and drops them from the list;
  // `held` are the fragments later rewrites may still reach, which stay with all that follows them.
  // The last fragment and the cursor always stay, so that appending, inserting after the last and
  // walking back from the cursor work as before.
  // Returns the number of fragments written.
  long write_front(OutputBuffer& out, std::span<const node* const> held);

  // Empties the list for a fresh translation.
  void clear() {
    list_.clear();
    cursor_ = nullptr;
  }

 private:
  dlist list_;
  node* cursor_ = nullptr;
};

}  // namespace vrk
