// The Handel-C name of each declaration, chosen once: the occam name with its dots as
// underscores, an underscore after a word Handel-C keeps for itself, and a number after a name
// that is taken where it would be seen. Globals (the outermost level's declarations, constants,
// tables, PROCs and FUNCTIONs, which go to the top) differ from every other global and from the
// local names in sight; a local name differs from the globals and from the local names in sight
// where it is declared, so that no declaration hides another, a lifted PROC's free names keep
// their names as its parameters, and the declarations of sibling blocks may share one.
#include "occam2/resolve/resolver_pass.h"
#include "occam2/scanner/literals.h"
#include "scanner/word_table.h"

namespace vrk::occam2 {

namespace {

// The words a name must not be spelt as in Handel-C: the C89/C99 keywords, Handel-C's own words,
// and main, which the translation defines itself.
struct ReservedWord {
  std::string_view word;
  int code = 1;
};
constexpr ReservedWord kHandelCWords[] = {
    {"auto"}, {"break"}, {"case"}, {"char"}, {"const"}, {"continue"}, {"default"}, {"do"}, {"double"},
    {"else"}, {"enum"}, {"extern"}, {"float"}, {"for"}, {"goto"}, {"if"}, {"int"}, {"long"},
    {"register"}, {"return"}, {"short"}, {"signed"}, {"sizeof"}, {"static"}, {"struct"}, {"switch"},
    {"typedef"}, {"union"}, {"unsigned"}, {"void"}, {"volatile"}, {"while"}, {"inline"}, {"restrict"},
    {"par"}, {"seq"}, {"chan"}, {"chanin"}, {"chanout"}, {"ram"}, {"rom"}, {"wom"}, {"mpram"},
    {"signal"}, {"prialt"}, {"ifselect"}, {"select"}, {"width"}, {"macro"}, {"expr"}, {"proc"},
    {"shared"}, {"let"}, {"in"}, {"set"}, {"interface"}, {"with"}, {"sema"}, {"try"}, {"reset"},
    {"typeof"}, {"assert"}, {"delay"}, {"undefined"}, {"external"}, {"internal"}, {"clock"}, {"main"},
};
const WordTable<256> kHandelCTable(kHandelCWords);

bool is_handel_c_reserved(std::string_view word) { return kHandelCTable.code_of(word) != 0; }

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

// Every name given is interned, so a spelling never interned is free.
bool ResolverPass::name_taken(std::string_view name) const {
  NameId id = tree.names.find(name);
  if (id == Names::kNotInterned || id >= name_uses_.size()) return false;
  return name_uses_[id].global || name_uses_[id].visible > 0;
}

ResolverPass::NameUse& ResolverPass::name_use(NameId name) {
  if (name >= name_uses_.size()) name_uses_.resize(tree.names.size());
  return name_uses_[name];
}

// `base`, or `base` with the first number after it that is not taken. A global base remembers the
// number it got to, so that many globals of one name cost no more than one each; a local one is
// free again once its scope has closed.
NameId ResolverPass::unique_name(const std::string& base, bool global) {
  std::string name = base;
  if (name_taken(name)) {
    unsigned local_next = 0;
    unsigned& next = global ? global_suffixes_[base] : local_next;
    do {
      name = base + "_" + std::to_string(++next);
    } while (name_taken(name));
  }
  NameId id = tree.names.intern(name);
  if (global) {
    name_use(id).global = true;
  } else {
    ++name_use(id).visible;
    visible_log_.push_back(id);
  }
  return id;
}

// The spelling is made once for each occam name: most names are declared many times over.
NameId ResolverPass::target_name(NameId occam_name, bool global) {
  if (occam_name >= handel_c_bases_.size()) handel_c_bases_.resize(tree.names.size());
  std::string& base = handel_c_bases_[occam_name];
  if (base.empty()) base = handel_c_spelling(tree.names.spelling(occam_name));
  return unique_name(base, global);
}

NameId ResolverPass::helper_name(NameId base, std::string_view suffix) {
  return unique_name(std::string(tree.names.spelling(base)) + std::string(suffix), false);
}

NameId ResolverPass::fresh_global_name(std::string_view base) { return unique_name(std::string(base), true); }

// Local names whose scope has closed are free again.
void ResolverPass::release_names(std::size_t mark) {
  while (visible_log_.size() > mark) {
    NameUse& use = name_use(visible_log_.back());
    if (use.visible > 0) --use.visible;
    visible_log_.pop_back();
  }
}

}  // namespace vrk::occam2
