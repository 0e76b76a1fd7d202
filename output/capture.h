// Token text emission and capture.
//
// A number operand normally reaches the output as its Handel-C text. While an array type's
// dimension is being read (the name capture switch) the text is kept instead of appended, so the
// declaration can place it after each declared name; while a replicator's base or count is being
// read (the base and count capture switches) the text is also kept for the replicator.
#pragma once

#include <string_view>

#include "output/fragments.h"
#include "support/string.h"

namespace vrk {

struct TokenCapture {
  bool name_switch = false;
  string captured_name;

  bool base_switch = false;
  string base_text;
  bool base_captured = false;
  bool base_overflowed = false;  // the base was a hexadecimal number wider than 32 bits

  bool count_switch = false;
  string count_text;
  bool count_captured = false;
  bool count_overflowed = false;

  // Appends the Handel-C text of a number operand, or keeps it for a declaration or a replicator.
  // `overflowed`: the number is wider than 32 bits (its text is then the banner).
  void emit_or_capture(FragmentList& fragments, const string& text, bool overflowed);

  // Starts a replicator: the base is captured next, the count not yet.
  void begin_replicator_base();
  // Moves the capture from the base to the count.
  void begin_replicator_count();
};

}  // namespace vrk
