// The fixed text every Handel-C file begins with.
//
// Two templates (the general header and the board header) are copied straight to the output
// file when the program's first token has been read; the Fragment list then begins with the
// CONSTs area, the boolean constant declarations and the opening of `main` from a third template.
// When TRUE or FALSE is used, ensure_boolean_constants puts the declarations back after the
// CONSTs area opener should they be missing; it never adds a second copy.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/fragments.h"
#include "output/streams.h"

namespace vrk {

// Where template files come from.
class TemplateStore {
 public:
  virtual ~TemplateStore() = default;
  // The whole content of template `name` ("header.txt", "harp2_h.txt", "main.txt"), or nothing
  // when it cannot be read; `where` then names what was tried.
  virtual std::optional<std::string> load(std::string_view name, std::string& where) = 0;
};

// Largest template read; a bigger one (or a device posing as one) is refused.
inline constexpr std::size_t kMaxTemplateBytes = std::size_t{16} << 20;

// Looks for each template in a list of directories, first match wins. Only regular files of at
// most kMaxTemplateBytes are read.
class DirectoryTemplates : public TemplateStore {
 public:
  explicit DirectoryTemplates(std::vector<std::string> directories) : directories_(std::move(directories)) {}
  std::optional<std::string> load(std::string_view name, std::string& where) override;
  // Every path a template may be read from.
  std::vector<std::string> candidates() const;

 private:
  std::vector<std::string> directories_;
};

// Templates held in memory, for in-process translations (tests, fuzzing).
class MemoryTemplates : public TemplateStore {
 public:
  MemoryTemplates(std::string header, std::string board, std::string main_opening)
      : header_(std::move(header)), board_(std::move(board)), main_(std::move(main_opening)) {}
  std::optional<std::string> load(std::string_view name, std::string& where) override;

 private:
  std::string header_, board_, main_;
};

inline constexpr std::string_view kHeaderTemplate = "header.txt";
inline constexpr std::string_view kBoardTemplate = "harp2_h.txt";
inline constexpr std::string_view kMainTemplate = "main.txt";

// The message for a template that could not be read, naming every place tried.
std::string unreadable_template(std::string_view name, std::string_view tried);

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
