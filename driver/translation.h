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
  int stop_status_ = 0;
};

}  // namespace vrk
