// The occam 2 scanner's directives: #INCLUDE, conditional compilation with #IF, #ELIF, #ELSE,
// #ENDIF, #DEFINE and #UNDEF, and the directives it skips with a warning (#USE, #PRAGMA, ...).
#include <string>
#include <vector>

#include "occam2/scanner/literals.h"
#include "occam2/scanner/scanner.h"
#include "occam2/scanner/tokens.h"

namespace vrk {

using namespace occam2::token;

namespace {

// The operands a directive is checked against (#DEFINE has at most three); those after them are
// scanned for errors and counted, not kept.
constexpr std::size_t kKeptOperands = 4;

bool is_hex_letter(char c) { return c >= 'A' && c <= 'F'; }

bool holds_control_byte(std::string_view name) {
  for (char c : name) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) return true;
  }
  return false;
}
bool is_conditional(std::string_view word) { return word == "IF" || word == "ELIF" || word == "ELSE" || word == "ENDIF"; }

}  // namespace

// The word of a directive line: '#' and an upper-case word with a letter that is no hex digit (so
// "#F5C5" stays a number); empty when the line is none.
std::string_view Occam2Scanner::directive_word(std::size_t start) {
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
  if (word == "INCLUDE") return include(where, collect_directive_operands(rest));
  if (word == "DEFINE") return define(where, collect_directive_operands(rest));
  if (word == "UNDEF") return undefine(where, collect_directive_operands(rest));
  skip_directive(word, rest, where);
}

// Scans the operands of a directive from `start` (the line is read whole, and nothing of it is
// dropped while they are kept): the first kKeptOperands go into operands_; returns how many
// there are.
std::size_t Occam2Scanner::collect_directive_operands(std::size_t start) {
  operands_.clear();
  own_.clear();
  std::size_t count = 0;
  for (std::size_t p = start, mark = 0; mark = own_.size(), next_directive_operand(p); ++count) {
    if (count < kKeptOperands) {
      operands_.push_back(token_);
    } else {
      own_.resize(mark);
    }
  }
  return count;
}

// The next operand of a directive line at or after `p`, into token_; false at the line's end.
bool Occam2Scanner::next_directive_operand(std::size_t& p) {
  if (has_token_after_) {  // the number after the '-' of a ##NAME
    has_token_after_ = false;
    token_ = token_after_;
    return true;
  }
  for (;;) {
    p = skip_blanks(p);
    if (at_line_end(p)) return false;
    if (scan_token(p, false)) return true;
  }
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
// The tokens are handed to the evaluation one at a time; those it leaves are still scanned, so that
// every malformed literal of the line is reported.
bool Occam2Scanner::condition_value(std::size_t rest, SourcePosition where) {
  std::size_t p = rest;
  auto next = [&]() -> occam2::ConditionToken {
    own_.clear();
    if (!next_directive_operand(p)) return {};
    return {token_.code, lexeme_of(token_)};
  };
  occam2::ConditionResult result = occam2::evaluate_condition(next, symbols_);
  while (next().code != 0) {
  }
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

void Occam2Scanner::include(SourcePosition where, std::size_t operands) {
  if (operands != 1 || operands_[0].code != STRING) return include_failed(where, "#INCLUDE needs one file name in quotes");
  std::string name = occam2::string_value(lexeme_of(operands_[0]));
  if (holds_control_byte(name)) {
    return include_failed(where, "the include file name \"" + name + "\" holds a control character");
  }
  if (frames_.size() > kMaxIncludeDepth) {
    return include_failed(where, "includes nested more than " + std::to_string(kMaxIncludeDepth) + " deep: \"" + name + "\"");
  }
  occam2::IncludeFile file = occam2::IncludeFile::find(name, frames_.back()->directory, options_.include_dirs);
  switch (file.status) {
    case occam2::IncludeFile::Status::not_found:
      return include_failed(where, "cannot find include file \"" + name + "\"");
    case occam2::IncludeFile::Status::unusable:
      return include_failed(where, "cannot include \"" + name + "\": " + file.problem);
    case occam2::IncludeFile::Status::opened:
      break;
  }
  if (std::string loop = include_loop(file); !loop.empty()) return include_failed(where, loop);
  if (options_.refuse_include) {
    std::string refusal = options_.refuse_include(file.fd, file.path);
    if (!refusal.empty()) {
      diagnostics_.program_message(refusal);
      return stop(ExitStatus::unusable_input);
    }
  }
  enter_file(std::move(file));
}

// An include that failed is reported, and its line becomes a MISSING_INCLUDE token saying why
// (control bytes shown escaped), so that the translation marks where the file's text is missing.
void Occam2Scanner::include_failed(SourcePosition where, const std::string& message) {
  error(where, line_file_, message, "#INCLUDE");
  failed_include_.why.clear();
  append_readable(failed_include_.why, message);
  failed_include_.where = where;
}

// An include of a file that is open already would never end: why, naming the files that lead
// back to it; empty when the file is not open.
std::string Occam2Scanner::include_loop(const occam2::IncludeFile& file) const {
  auto name_of = [&](std::size_t frame) { return file_names_[static_cast<std::size_t>(frames_[frame]->file)]; };
  for (std::size_t i = 0; i < frames_.size(); ++i) {
    if (!frames_[i]->identity.same_as(file.identity)) continue;
    std::string message = "include loop: " + name_of(i) + " includes itself";
    for (std::size_t j = i + 1; j < frames_.size(); ++j) message += (j == i + 1 ? " through " : " -> ") + name_of(j);
    return message;
  }
  return {};
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
void Occam2Scanner::define(SourcePosition where, std::size_t count) {
  auto lexeme = [&](std::size_t i) { return lexeme_of(operands_[i]); };
  if (count == 0 || operands_[0].code != NAME) return error(where, line_file_, "#DEFINE needs a name", "#DEFINE");
  occam2::SymbolValue value;
  bool negative = count == 3 && operands_[1].code == '-';
  int code = count >= 2 ? operands_[negative ? 2 : 1].code : 0;
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
  if (!known) return error(where, line_file_, "#DEFINE " + name + " needs an integer, TRUE, FALSE or a string as its value", "#DEFINE");
  symbols_.define(std::move(name), std::move(value));
}

void Occam2Scanner::undefine(SourcePosition where, std::size_t count) {
  if (count != 1 || operands_[0].code != NAME) return error(where, line_file_, "#UNDEF needs a name", "#UNDEF");
  symbols_.undefine(lexeme_of(operands_[0]));
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
