// The occam 2 scanner's directives: #INCLUDE, conditional compilation with #IF, #ELIF, #ELSE,
// #ENDIF, #DEFINE and #UNDEF, and the directives it skips with a warning (#USE, #PRAGMA, ...).
#include <string>
#include <vector>

#include "scanner/occam2_literals.h"
#include "scanner/occam2_scanner.h"
#include "scanner/occam2_tokens.h"

namespace vrk {

using namespace occam2::token;

namespace {

bool is_hex_letter(char c) { return c >= 'A' && c <= 'F'; }
bool is_conditional(std::string_view word) { return word == "IF" || word == "ELIF" || word == "ELSE" || word == "ENDIF"; }

}  // namespace

// The word of a directive line: '#' and an upper-case word with a letter that is no hex digit (so
// "#F5C5" stays a number); empty when the line is none.
std::string_view Occam2Scanner::directive_word(std::size_t start) const {
  if (at(start) != '#') return {};
  std::size_t end = start + 1;
  bool beyond_hex = false;
  for (; is_upper(at(end)); ++end) beyond_hex = beyond_hex || !is_hex_letter(at(end));
  if (!beyond_hex || occam2::is_name_character(at(end))) return {};
  return std::string_view(line_).substr(start + 1, end - start - 1);
}

void Occam2Scanner::handle_directive(std::size_t start, std::string_view word) {
  SourcePosition where = here(start);
  std::size_t rest = start + 1 + word.size();
  if (is_conditional(word)) return handle_condition(word, rest, where);
  if (!active()) return;
  if (word == "INCLUDE") {
    tokenize_directive_rest(rest);
    return include(where);
  }
  if (word == "DEFINE" || word == "UNDEF") {
    tokenize_directive_rest(rest);
    return word == "DEFINE" ? define(where) : undefine(where);
  }
  skip_directive(word, rest, where);
}

// The directive's operands as tokens in the queue, which the directive empties again.
void Occam2Scanner::tokenize_directive_rest(std::size_t start) {
  queue_.clear();
  own_.clear();
  tokenize(start, false);
}

bool Occam2Scanner::has_open_condition() const {
  return conditions_.size() > frames_.back()->conditions_at_entry;
}

// #IF, #ELIF, #ELSE and #ENDIF, also in lines that are skipped, so that nesting is followed.
void Occam2Scanner::handle_condition(std::string_view word, std::size_t rest, SourcePosition where) {
  if (word == "IF") {
    bool enclosing = active();
    bool value = enclosing && condition_value(rest, where);
    conditions_.push_back({enclosing, value || !enclosing, false, value, where, line_file_});
    return;
  }
  if (!has_open_condition()) {
    error(where, line_file_, "#" + std::string(word) + " without #IF", "#" + std::string(word));
    return;
  }
  Condition& c = conditions_.back();
  if (word == "ENDIF") {
    conditions_.pop_back();
  } else if (c.in_else) {
    error(where, line_file_, "#" + std::string(word) + " after #ELSE", "#" + std::string(word));
    c.active = false;
  } else if (word == "ELSE") {
    c.in_else = true;
    c.active = !c.taken;
    c.taken = true;
  } else {
    c.active = !c.taken && condition_value(rest, where);
    c.taken = c.taken || c.active;
  }
}

// Evaluates the condition after #IF or #ELIF; a condition that cannot be evaluated is reported
// and taken as FALSE.
bool Occam2Scanner::condition_value(std::size_t rest, SourcePosition where) {
  tokenize_directive_rest(rest);
  std::vector<occam2::ConditionToken> tokens;
  for (const Token& t : queue_) tokens.push_back({t.code, lexeme_of(t)});
  occam2::ConditionResult result = occam2::evaluate_condition(tokens, symbols_);
  queue_.clear();
  if (!result.error.empty()) error(where, line_file_, "cannot evaluate the condition: " + result.error, "#IF");
  for (const std::string& name : result.undefined) warn(where, line_file_, name + " is not defined; it counts as FALSE");
  return result.value;
}

// Conditions a file opened and did not close are reported at its end and closed.
void Occam2Scanner::close_conditions_of_file() {
  while (has_open_condition()) {
    const Condition& c = conditions_.back();
    error(c.where, c.file, "#IF without #ENDIF", "#IF");
    conditions_.pop_back();
  }
}

void Occam2Scanner::include(SourcePosition where) {
  bool named = queue_.size() == 1 && queue_.front().code == STRING;
  std::string literal = named ? std::string(lexeme_of(queue_.front())) : std::string();
  queue_.clear();
  if (!named) return error(where, line_file_, "#INCLUDE needs one file name in quotes", "#INCLUDE");
  std::string name = occam2::string_value(literal);
  if (frames_.size() > kMaxIncludeDepth) {
    return error(where, line_file_, "includes nested more than " + std::to_string(kMaxIncludeDepth) + " deep: \"" + name + "\"",
                 "#INCLUDE");
  }
  occam2::IncludeFile file = occam2::IncludeFile::find(name, frames_.back()->directory, options_.include_dirs);
  switch (file.status) {
    case occam2::IncludeFile::Status::not_found:
      return warn(where, line_file_, "cannot find include file \"" + name + "\"");
    case occam2::IncludeFile::Status::not_regular:
      return error(where, line_file_, "cannot include \"" + name + "\": " + file.path + " is not a regular file", "#INCLUDE");
    case occam2::IncludeFile::Status::unreadable:
      return error(where, line_file_, "cannot open include file \"" + name + "\" (" + file.path + ")", "#INCLUDE");
    case occam2::IncludeFile::Status::opened:
      break;
  }
  if (!refuse_include_loop(file, where)) enter_file(std::move(file));
}

// An include of a file that is open already would never end: it is reported with the files
// that lead back to it, and skipped.
bool Occam2Scanner::refuse_include_loop(const occam2::IncludeFile& file, SourcePosition where) {
  auto name_of = [&](std::size_t frame) { return file_names_[static_cast<std::size_t>(frames_[frame]->file)]; };
  for (std::size_t i = 0; i < frames_.size(); ++i) {
    if (!frames_[i]->identity.same_as(file.identity)) continue;
    std::string message = "include loop: " + name_of(i) + " includes itself";
    for (std::size_t j = i + 1; j < frames_.size(); ++j) message += (j == i + 1 ? " through " : " -> ") + name_of(j);
    error(where, line_file_, message, "#INCLUDE");
    return true;
  }
  return false;
}

// Reads the included file's lines next, standing at the directive's column.
void Occam2Scanner::enter_file(occam2::IncludeFile file) {
  auto frame = std::make_unique<Frame>();
  frame->own_reader = std::make_unique<SourceReader>(file.fd, SourceReader::LineLimit::none);
  frame->reader = frame->own_reader.get();
  frame->file = file_id(file.path);
  frame->directory = occam2::directory_of(file.path);
  frame->identity = file.identity;
  frame->base_column = content_column_;
  frame->conditions_at_entry = conditions_.size();
  frame->opened = std::move(file);
  frames_.push_back(std::move(frame));
}

// #DEFINE NAME, optionally followed by an integer, TRUE, FALSE or a string.
void Occam2Scanner::define(SourcePosition where) {
  auto lexeme = [&](std::size_t i) { return lexeme_of(queue_[i]); };
  std::size_t count = queue_.size();
  if (count == 0 || queue_[0].code != NAME) {
    queue_.clear();
    return error(where, line_file_, "#DEFINE needs a name", "#DEFINE");
  }
  occam2::SymbolValue value;
  bool negative = count == 3 && queue_[1].code == '-';
  int code = count >= 2 ? queue_[negative ? 2 : 1].code : 0;
  bool known = count == 1 || count == (negative ? 3u : 2u);
  if (count > 1 && code == NUMBER && known) {
    value.kind = occam2::SymbolValue::Kind::integer;
    known = occam2::integer_value(lexeme(negative ? 2 : 1), value.number);
    if (negative) value.number = -value.number;
  } else if (count == 2 && code == BOOLEAN) {
    value = {occam2::SymbolValue::Kind::boolean, lexeme(1) == "TRUE" ? 1 : 0, {}};
  } else if (count == 2 && code == STRING) {
    value = {occam2::SymbolValue::Kind::string, 0, std::string(lexeme(1))};
  } else if (count != 1) {
    known = false;
  }
  std::string name(lexeme(0));
  queue_.clear();
  if (!known) return error(where, line_file_, "#DEFINE " + name + " needs an integer, TRUE, FALSE or a string as its value", "#DEFINE");
  symbols_.define(std::move(name), std::move(value));
}

void Occam2Scanner::undefine(SourcePosition where) {
  bool named = queue_.size() == 1 && queue_[0].code == NAME;
  std::string name = named ? std::string(lexeme_of(queue_[0])) : std::string();
  queue_.clear();
  if (!named) return error(where, line_file_, "#UNDEF needs a name", "#UNDEF");
  symbols_.undefine(name);
}

// #USE, #PRAGMA, #IMPORT, #OPTION, #COMMENT, #RELAX and unknown directives have no effect on the
// translation; #ERROR and #WARNING show their text.
void Occam2Scanner::skip_directive(std::string_view word, std::size_t rest, SourcePosition where) {
  std::string message = "directive #" + std::string(word) + " skipped";
  if (word == "ERROR" || word == "WARNING") {
    std::size_t from = occam2::skip_blanks(line_, rest);
    std::string_view text = std::string_view(line_).substr(from, line_.size() - 1 - from);
    if (!text.empty()) message += ": " + std::string(text);
  }
  warn(where, line_file_, message);
  // The lines indented under #LIBRARY describe the library (NATIVELIB "libx.so"): skipped too.
  if (word == "LIBRARY") library_column_ = content_column_;
}

}  // namespace vrk
