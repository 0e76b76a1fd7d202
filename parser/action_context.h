// What a translation action works on: the translation, and the parse stack around its rule.
#pragma once

#include "parser/engine.h"
#include "parser/parse_entry.h"
#include "parser/translation_state.h"

namespace vrk {

struct ActionContext {
  TranslationState& translation;
  StackView<ParseEntry>& stack;

  // The entry of the k-th right-hand-side symbol, counting from 1.
  ParseEntry& rhs(int k) { return stack.rhs(k); }
  // Stack index of the entry just below the right-hand side.
  int below() const { return stack.below(); }
  // The entry the rule's left-hand side will carry.
  ParseEntry& result() { return stack.result(); }
};

}  // namespace vrk
