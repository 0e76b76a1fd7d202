// Everything one translation's scanner and actions share: the Fragment list and its helpers, the
// scanner, and the state the actions keep between rules.
//
// Nothing here is process-wide: the driver builds one over its three files, tests and the fuzzer
// build as many as they like over memory buffers.
#pragma once

#include <string_view>

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
};

class TranslationState {
 public:
  explicit TranslationState(const TranslationFiles& files)
      : output(files.output),
        streams{files.debug_log, files.diagnostics},
        scanner(files.source, fragments, streams),
        templates(files.templates, fragments) {}

  // Stops the translation with `status` after reporting `message` on standard error.
  void stop(int status, std::string_view message) {
    streams.diagnostics.write(message);
    streams.diagnostics.write("\n");
    stop_status_ = status;
  }
  bool stopped() const { return stop_status_ != 0 || scanner.stop_status() != 0; }
  // The status the translation stopped with, 0 while it runs.
  int stop_status() const { return scanner.stop_status() != 0 ? scanner.stop_status() : stop_status_; }

  OutputBuffer& output;
  DiagnosticStreams streams;
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
