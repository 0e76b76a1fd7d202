#include "driver/occam2_translation.h"

#include <utility>

#include "driver/translation.h"
#include "parser/engine.h"
#include "parser/occam2/actions.h"
#include "parser/occam2/generated_tables.h"
#include "scanner/occam2_tokens.h"

namespace vrk {

Occam2Translation::Occam2Translation(const TranslationFiles& files, Occam2ScannerOptions options)
    : output_(files.output),
      diagnostics_(files.debug_log, files.diagnostics, files.style),
      scanner_(files.source, diagnostics_, std::move(options)),
      templates_(files.templates, fragments_),
      state_(diagnostics_, templates_) {}

namespace {
// The tokens whose text an action reads: names, literals, operators, and the type words whose
// banners name them. The others (keywords, brackets, separators) stand for themselves.
bool carries_text(int code) {
  using namespace occam2::token;
  switch (code) {
    case NAME: case NUMBER: case REAL_NUMBER: case CHARACTER: case STRING: case BOOLEAN:
    case '+': case '-': case '*': case '/': case '\\': case '=': case '~':
    case ARITH_WORD: case MINUS: case AFTER: case BIT_OP: case SHIFT_OP: case RELATIONAL_OP:
    case NOT: case BITNOT: case AND: case OR: case MOSTPOS: case MOSTNEG: case INT16: case INT32: case INT64:
      return true;
    default:
      return false;
  }
}
}  // namespace

// A token's entry gets its Handel-C text, where it stands and the comment lines before it. Layout
// tokens leave those comments to the first token of the next line.
[[gnu::always_inline]] inline void Occam2Translation::pushed(StackView<Entry>& view) {
  int top = view.below() + 1;
  int symbol = view.accessing_symbol(top);
  if (symbol < 0 || symbol == occam2::token::ERROR_TOKEN) return;
  Entry& entry = view.result();
  entry.position = scanner_.token_position();
  if (symbol == occam2::token::EOL || symbol == occam2::token::INDENT || symbol == occam2::token::OUTDENT) return;
  if (carries_text(symbol)) entry.text = state_.rope.copy(scanner_.token_text());
  std::string comments = scanner_.take_comments();
  if (!comments.empty()) entry.lead = state_.rope.copy(comments);
}

// Comment lines before a symbol other than the first go into its text; the first symbol's are
// the action's to place, and what it leaves goes on to the left-hand side.
[[gnu::always_inline]] inline bool Occam2Translation::reduce(int rule, StackView<Entry>& view) {
  // Most reductions only hand a part on (an operand that is an element, a process that is a
  // construct): the first symbol's entry, comment lines and all, is the result.
  if (occam2::actions::kCopiesFirstSymbol[rule]) {
    view.result() = view.rhs(1);
    return true;
  }
  occam2::Occam2Context context{state_, view, {}};
  Entry& result = view.result();
  int length = view.rhs_length();
  if (length > 0) {
    result.position = view.rhs(1).position;
    context.lead = std::exchange(view.rhs(1).lead, {});
    for (int k = 2; k <= length; ++k) {
      Entry& part = view.rhs(k);
      if (!part.lead.empty()) part.text = state_.rope.join(std::exchange(part.lead, {}), part.text);
    }
  } else {
    result.position = scanner_.token_position();
  }
  occam2::actions::run_action(rule, context);
  if (!context.lead.empty()) result.lead = state_.rope.join(context.lead, result.lead);
  return true;
}

void Occam2Translation::syntax_error(std::string_view message) {
  diagnostics_.parse_error(message, scanner_.last_token(), scanner_.line_number());
}

bool Occam2Translation::start_output() {
  std::string problem = templates_.write_opening(output_);
  if (problem.empty()) return true;
  diagnostics_.program_message(problem);
  stop_status_ = ExitStatus::unusable_input;
  return false;
}

// When the outermost level holds only definitions, main runs the last PROC defined there: a
// channel for each of its channel formals, a banner for any other formal.
std::string Occam2Translation::program_call() {
  const occam2::ProgramProc& proc = state_.program_proc;
  std::string text;
  for (std::size_t i = 0; i < proc.formals.size(); ++i) {
    if (proc.channel_formal[i]) {
      text += "chan " + proc.formals[i] + ";\n\n";
    } else {
      diagnostics_.unsupported(proc.position, "the program's parameter " + proc.formals[i] + ", which is not a channel");
      text += occam2::actions::occam_banner("PROC parameter " + proc.formals[i] + " of the program");
    }
  }
  return text + proc.name + " (" + occam2::actions::comma_separated(proc.formals) + ");\n";
}

// The output after the header templates: the CONSTs area, the definitions, main's opening, main's
// body and its closing.
void Occam2Translation::write_program(FragmentList::node* main_opening) {
  occam2::ByteChunks& body = state_.main_body;
  body.append(scanner_.take_comments());
  if (!state_.outermost_process && state_.program_proc.defined) body.append(program_call());
  for (const FragmentList::node* n = fragments_.first(); n != main_opening; n = FragmentList::next(n)) {
    output_.write(n->element.view());
  }
  output_.write(state_.definitions);
  output_.write(main_opening->element.view());
  body.write([this](std::string_view bytes) { output_.write(bytes); });
  output_.write(kMainClosing);
}

ExitStatus Occam2Translation::run() {
  if (!start_output()) return stop_status_;
  FragmentList::node* main_opening = fragments_.last();
  Engine<Occam2Translation, Occam2Translation> engine(occam2::tables::kTables, *this, *this);
  int result = engine.yyparse();
  if (scanner_.stopped()) return scanner_.stop_status();
  if (result != 0) return ExitStatus::translation_failed;
  write_program(main_opening);
  bool errors = engine.yynerrs > 0 || scanner_.error_count() > 0;
  return errors ? ExitStatus::translation_failed : ExitStatus::success;
}

}  // namespace vrk
