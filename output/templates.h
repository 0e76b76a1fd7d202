// The templates every Handel-C file begins with: the general header, the board header and the
// opening of main, each looked up by name in a store. How a translation puts them into its output
// is its own affair (output/template_merge.h for the default mode).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

}  // namespace vrk
