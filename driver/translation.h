// One translation: everything the scanner, the parse engine and the actions share.
//
// The driver builds a Translation over its three files and runs it once; tests and the fuzzer
// build as many as they like over memory buffers. Nothing here is process-wide.
#pragma once

#include "driver/capture.h"
#include "driver/fragments.h"
#include "driver/rep_par.h"
#include "driver/streams.h"
#include "driver/templates.h"
#include "driver/text_cache.h"
#include "parser/action_state.h"
#include "scanner/scanner.h"

namespace vrk {

struct TranslationFiles {
  SourceReader& source;
  OutputBuffer& output;
  OutputBuffer& debug_log;
  OutputBuffer& diagnostics;
  TemplateStore& templates;
  DiagnosticStyle style = {};
};

inline constexpr std::string_view kMainClosing = "\n\n}  /* main */\n";

class Translation {
 public:
  explicit Translation(const TranslationFiles& files);

  // Parses the whole source once. On acceptance the closing text of `main` is appended and the
  // Fragment list written to the output. Returns the exit status: 0 accepted with no syntax
  // error, 1 accepted after syntax errors, abandoned or stopped on an over-long line, 2 when a
  // template or the source could not be read.
  int run();

  // Stops the translation with `status` after reporting `message` on standard error.
  void stop(int status, std::string_view message) {
    streams.program_message(message);
    stop_status_ = status;
  }
  bool stopped() const { return stop_status_ != 0 || scanner.stop_status() != 0; }

  // Called once the header templates are in the output: from here on the settled front of the
  // Fragment list may be written early, when the output can be cut back to this point should the
  // translation not be written after all.
  void begin_early_writing() {
    if (!output.can_truncate()) return;
    output.set_mark();
    early_writing_ = true;
  }
  bool writes_early() const { return early_writing_; }
  // How many fragments may gather before the settled front is next written out: few enough that
  // the fragments, their texts and the records they go back to are still in the processor's cache,
  // enough that finding what is settled costs next to nothing.
  static constexpr long kEarlyWriteInterval = 1L << 10;
  long early_write_interval = kEarlyWriteInterval;

  OutputBuffer& output;
  Diagnostics streams;
  FragmentList fragments;
  TextCache texts;
  Scanner scanner;
  TokenCapture capture;
  DeclarationState declarations;
  ReplicatorState replicator;
  TemplateMerge templates;
  ReplicatedParExpander expander;

 private:
  int finish_unwritten(int status);

  int stop_status_ = 0;
  bool early_writing_ = false;
};

}  // namespace vrk
