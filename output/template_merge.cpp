#include "output/template_merge.h"

namespace vrk {

bool TemplateMerge::copy_template(std::string_view name, OutputBuffer& output) {
  std::optional<std::string> content = store_.load(name, missing_);
  if (!content) return false;
  output.write(*content);
  return true;
}

std::string TemplateMerge::write_opening(OutputBuffer& output) {
  std::string_view unread;
  if (!copy_header_template(output)) {
    unread = kHeaderTemplate;
  } else if (!copy_board_template(output)) {
    unread = kBoardTemplate;
  } else if (!open_consts_area()) {
    unread = kMainTemplate;
  } else {
    return {};
  }
  return unreadable_template(unread, missing_);
}

bool TemplateMerge::open_consts_area() {
  fragments_.append(string(kConstsAreaOpener));
  fragments_.append(string(kBooleanConstants));
  std::optional<std::string> main_text = store_.load(kMainTemplate, missing_);
  if (!main_text) return false;
  fragments_.append(string(*main_text));
  // The declarations were just appended and nothing removes them: no later call needs to look for
  // them, and the CONSTs area stays as it is, so what follows it may be written early.
  constants_settled_ = true;
  return true;
}

bool TemplateMerge::boolean_constants_present() const {
  for (const FragmentList::node* n = fragments_.first(); n != nullptr; n = n->next) {
    if (FragmentList::begins_with(n, "const TRUE = 1")) return true;
  }
  return false;
}

// The walks run once: afterwards the declarations are either present or can never be placed
// (no CONSTs area), and nothing later removes them or adds an opener.
void TemplateMerge::ensure_boolean_constants() {
  if (constants_settled_) return;
  constants_settled_ = true;
  if (boolean_constants_present()) return;
  for (FragmentList::node* n = fragments_.first(); n != nullptr; n = n->next) {
    if (FragmentList::begins_with(n, "\n/* CONSTs area */")) {
      fragments_.insert_after(n, string(kBooleanConstants));
      return;
    }
  }
}

}  // namespace vrk
