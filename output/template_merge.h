// The templates in the default mode's output.
//
// Two templates (the general header and the board header) are copied straight to the output
// file when the program's first token has been read; the Fragment list then begins with the
// CONSTs area, the boolean constant declarations and the opening of `main` from a third template.
// When TRUE or FALSE is used, ensure_boolean_constants puts the declarations back after the
// CONSTs area opener should they be missing; it never adds a second copy.
#pragma once

#include <string>
#include <string_view>

#include "output/fragments.h"
#include "output/streams.h"
#include "output/templates.h"

namespace vrk {

inline constexpr std::string_view kConstsAreaOpener = "\n/* CONSTs area */\n\n";
inline constexpr std::string_view kBooleanConstants = "const TRUE = 1;\nconst FALSE = 0;\n\n";

class TemplateMerge {
 public:
  TemplateMerge(TemplateStore& store, FragmentList& fragments) : store_(store), fragments_(fragments) {}

  // Copies the general or the board header template, byte for byte, to `output`.
  bool copy_header_template(OutputBuffer& output) { return copy_template(kHeaderTemplate, output); }
  bool copy_board_template(OutputBuffer& output) { return copy_template(kBoardTemplate, output); }
  // Starts the Fragment list: the CONSTs area opener, the boolean constants and the main template
  // as three fragments.
  bool open_consts_area();
  // The opening every translation writes: both header templates to `output`, then the CONSTs
  // area. Returns the problem as a message naming the template that could not be read and every
  // place tried, or an empty string.
  std::string write_opening(OutputBuffer& output);

  // Makes sure the boolean constants are declared. Only the first call walks the list: once the
  // declarations are in place nothing removes them, and without a CONSTs area they never can be.
  void ensure_boolean_constants();

  // What could not be found, after one of the operations above returned false.
  const std::string& missing() const { return missing_; }

 private:
  bool copy_template(std::string_view name, OutputBuffer& output);
  bool boolean_constants_present() const;

  TemplateStore& store_;
  FragmentList& fragments_;
  std::string missing_;
  bool constants_settled_ = false;
};

}  // namespace vrk
