// One translation in the occam 2 mode: the parse engine over the occam 2 scanner's tokens, with
// the occam 2 grammar's tables and actions.
//
// Each parse stack entry carries its symbol's Handel-C text; the actions build every construct's
// text from its parts. At the end the program is assembled in the Fragment list: the CONSTs area,
// the definitions (macro procs and macro exprs), main's opening template, main's body.
#pragma once

#include <string_view>

#include "parser/occam2/context.h"
#include "parser/translation_state.h"
#include "scanner/occam2_scanner.h"

namespace vrk {

class Occam2Translation {
 public:
  Occam2Translation(const TranslationFiles& files, Occam2ScannerOptions options);

  // Parses the whole source once and writes the output; the same statuses as the default mode's
  // translation, with the scanner's own errors (bad indentation, include loops) counted as
  // syntax errors.
  ExitStatus run();

  // The token source.
  int next_token() { return scanner_.yylex(); }
  bool stopped() const { return scanner_.stopped() || stop_status_ != ExitStatus::success; }
  // The action sink.
  using Entry = occam2::Entry;
  bool reduce(int rule, StackView<Entry>& view);
  void pushed(StackView<Entry>& view);
  void syntax_error(std::string_view message);

 private:
  bool start_output();
  std::string program_call();
  void write_program(FragmentList::node* main_opening);

  OutputBuffer& output_;
  Diagnostics diagnostics_;
  FragmentList fragments_;
  Occam2Scanner scanner_;
  TemplateMerge templates_;
  occam2::Occam2State state_;
  ExitStatus stop_status_ = ExitStatus::success;
};

}  // namespace vrk
