// Everything one translation's scanner and actions share: the Fragment list and its helpers, the
// scanner, and the state the actions keep between rules.
//
// Nothing here is process-wide: the driver builds one over its three files, tests and the fuzzer
// build as many as they like over memory buffers.
#pragma once

#include <array>
#include <string_view>

#include "output/capture.h"
#include "output/fragments.h"
#include "output/replicated_par.h"
#include "output/streams.h"
#include "output/template_merge.h"
#include "output/text_cache.h"
#include "parser/action_state.h"
#include "parser/table_lookup.h"
#include "scanner/scanner.h"
#include "scanner/translation_files.h"
#include "support/exit_status.h"

namespace vrk {

class TranslationState {
 public:
  explicit TranslationState(const TranslationFiles& files)
      : output(files.output),
        diagnostics(files.debug_log, files.diagnostics, files.style),
        scanner(files.source, fragments, diagnostics),
        templates(files.templates, fragments) {}

  // Stops the translation with `status` after reporting `message` on standard error.
  void stop(ExitStatus status, std::string_view message) {
    diagnostics.program_message(message);
    stop_status_ = status;
  }
  bool stopped() const { return stop_status_ != ExitStatus::success || scanner.stopped(); }
  // True once an action stopped the translation (a template could not be read).
  bool action_stopped() const { return stop_status_ != ExitStatus::success; }

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
  // The status the translation stopped with; success while it runs.
  ExitStatus stop_status() const { return scanner.stopped() ? scanner.stop_status() : stop_status_; }

  OutputBuffer& output;
  Diagnostics diagnostics;
  FragmentList fragments;
  TextCache texts;
  Scanner scanner;
  TokenCapture capture;
  DeclarationState declarations;
  ReplicatorState replicator;
  // The values of each completed replicator, by the stack index of its entry (marked
  // MarkKind::replicator), until its construct completes.
  std::array<ReplicatorValues, YYMAXDEPTH> completed_replicators;
  TemplateMerge templates;
  ReplicatedParExpander expander;

 private:
  ExitStatus stop_status_ = ExitStatus::success;
  bool early_writing_ = false;
};

}  // namespace vrk
