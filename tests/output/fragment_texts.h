// The texts of a Fragment list, first to last, for comparing in tests.
#pragma once

#include <string>
#include <vector>

#include "output/fragments.h"

namespace vrk::testing {

inline std::vector<std::string> fragment_texts(const FragmentList& list) {
  std::vector<std::string> result;
  for (const FragmentList::node* n = list.first(); n != nullptr; n = n->next) result.emplace_back(n->element.view());
  return result;
}

}  // namespace vrk::testing
