// Replicated PAR expansion.
//
// Handel-C has no replicated par, so `PAR i = base FOR count` is unrolled into `count` copies of
// its body, each preceded by the assignment of its index value. The translation actions bracket
// the construct in the Fragment list with markers: the start marker "$$$$$" before the replicator's
// text, an index marker "#$#$#" before the body and another after it. When the construct completes,
// the stretch from the start marker on is rewritten in place: markers and replicator text go, and
// the body is appended once per replica. A base or count that is not a literal number cannot be
// unrolled: the whole stretch is replaced by an error banner.
#pragma once

#include <cstdint>

#include "output/banners.h"
#include "output/fragments.h"
#include "support/dlist.h"
#include "support/string.h"

namespace vrk {

// The texts the replicated PAR actions and the expansion share.
inline constexpr string::rep kReplicationMarker = VRK_STATIC_TEXT("$$$$$");
inline constexpr string::rep kIndexMarker = VRK_STATIC_TEXT("#$#$#");
inline constexpr string::rep kParOpen = VRK_STATIC_TEXT("par\n{\n");
inline constexpr string::rep kParClose = VRK_STATIC_TEXT("}  /* par */\n");

// What one replicator contributes to its construct's expansion.
struct ReplicatorValues {
  string index_name;
  bool literal = false;    // base and count were each a single number literal
  bool too_large = false;  // a literal base or count beyond 32 bits
  std::int64_t base = 0;
  std::int64_t count = 0;
};

// How a replicated PAR came out: unrolled, or replaced by one of the two banners.
enum class Expansion { unrolled, variables, too_large };

class ReplicatedParExpander {
 public:
  // Upper bound on the fragments one expansion may add (as unrolling_weight counts them); beyond it the construct is replaced by
  // banners::kReplicatedParTooLarge instead of exhausting memory.
  static constexpr std::int64_t kFragmentBudget = 4'000'000;
  // Upper bound on the fragments all expansions of one translation may add together: without it
  // a short source that repeats a large replicated PAR would still exhaust memory.
  static constexpr std::int64_t kTranslationBudget = 2 * kFragmentBudget;

  explicit ReplicatedParExpander(std::int64_t translation_budget = kTranslationBudget)
      : translation_budget_(translation_budget) {}

  // Unrolls the construct in place: `start_marker` and `first_index_marker` are its own markers;
  // the second index marker is the list's last fragment. Says which way it went.
  Expansion expand(FragmentList& fragments, FragmentList::node* start_marker, FragmentList::node* first_index_marker,
                   const ReplicatorValues& values);

 private:
  void unroll(FragmentList& fragments, const ReplicatorValues& values);
  static void erase_from(FragmentList& fragments, FragmentList::node* from, const FragmentList::node* until);

  dlist body_;  // the body's fragments, between the take-out and the copies
  std::int64_t translation_budget_;
  std::int64_t unrolled_ = 0;  // fragments added by the expansions so far
};

}  // namespace vrk
