// The Handel-C name of each declaration, chosen once: the occam name with its dots as
// underscores, an underscore after a word Handel-C keeps for itself, and a number after a name
// already taken where it would be seen. Globals (the outermost level, constants, PROCs and
// FUNCTIONs lifted to the top) are unique among themselves; the names inside an outermost PROC,
// its nested PROCs included, are unique in it and differ from every global, so that no
// declaration hides another and a lifted PROC's free names keep their names as parameters.
#include "occam2/resolve/resolver_pass.h"
#include "scanner/keywords.h"
#include "scanner/occam2_literals.h"

namespace vrk::occam2 {

namespace {

// Names a translation must not declare besides the language's words: the macros of the standard
// library it includes, and the words some versions of Handel-C keep.
bool is_library_name(std::string_view name) {
  static constexpr std::string_view kNames[] = {
      "abs",  "addsat", "adjs", "adju",     "bitrev",   "copy", "decode", "decsat",    "div",       "exp2",  "incsat",
      "is_signed", "lmo", "lmz", "log2ceil", "log2floor", "lsb", "max",   "min",       "mod",       "msb",   "population",
      "rmo",  "rmz",    "sign", "subsat",   "top",      "zeros", "ones",  "family",    "part",      "intwidth",
      "external_divide", "internal_divide", "trysema", "releasesema", "signed", "NULL",  "TRUE",      "FALSE", "True",
      "False"};
  for (std::string_view word : kNames) {
    if (word == name) return true;
  }
  return false;
}

// A FUNCTION that defines an operator ("+", "**", "NOT") is op_ and a word for each symbol:
// op_plus, op_star_star, op_NOT.
std::string operator_function_spelling(std::string_view quoted) {
  struct Word {
    char symbol;
    std::string_view word;
  };
  static constexpr Word kWords[] = {
      {'+', "plus"},  {'-', "minus"}, {'*', "star"},    {'/', "slash"},  {'\\', "backslash"}, {'=', "equal"},
      {'<', "less"},  {'>', "greater"}, {'@', "at"},    {'$', "dollar"}, {'%', "percent"},   {'^', "caret"},
      {'&', "and"},   {'!', "bang"},  {'?', "query"},   {'[', "open"},   {']', "close"},     {'~', "tilde"}};
  std::string name = "op";
  std::string_view symbols = quoted.substr(1, quoted.size() - 2);
  bool in_word = false;
  for (char c : symbols) {
    const Word* word = nullptr;
    for (const Word& w : kWords) {
      if (w.symbol == c) word = &w;
    }
    if (word != nullptr) {
      name += '_';
      name += word->word;
      in_word = false;
    } else {
      if (!in_word) name += '_';
      name += is_name_character(c) && c != '.' ? c : '_';
      in_word = true;
    }
  }
  return name;
}

std::string handel_c_spelling(std::string_view occam_name) {
  if (occam_name.size() >= 2 && occam_name.front() == '"') return operator_function_spelling(occam_name);
  std::string name(occam_name);
  for (char& c : name) {
    if (c == '.') c = '_';
  }
  if (is_handel_c_reserved(name) || is_library_name(name) || name.starts_with("__")) name += '_';
  return name;
}

}  // namespace

NameId ResolverPass::target_name(NameId occam_name, bool global) {
  std::string base = handel_c_spelling(tree.names.spelling(occam_name));
  std::string name = base;
  for (unsigned n = 1; global_names_.contains(name) || local_names_.contains(name); ++n) {
    name = base + "_" + std::to_string(n);
  }
  (global ? global_names_ : local_names_).insert(name);
  return tree.names.intern(name);
}

NameId ResolverPass::helper_name(NameId base, std::string_view suffix) {
  std::string stem(tree.names.spelling(base));
  stem += suffix;
  std::string name = stem;
  for (unsigned n = 1; global_names_.contains(name) || local_names_.contains(name); ++n) {
    name = stem + "_" + std::to_string(n);
  }
  (definitions_.empty() ? global_names_ : local_names_).insert(name);
  return tree.names.intern(name);
}

NameId ResolverPass::fresh_global_name(std::string_view base) {
  std::string name(base);
  for (unsigned n = 1; global_names_.contains(name) || local_names_.contains(name); ++n) {
    name = std::string(base) + "_" + std::to_string(n);
  }
  global_names_.insert(name);
  return tree.names.intern(name);
}

}  // namespace vrk::occam2
