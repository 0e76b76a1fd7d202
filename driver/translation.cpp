#include "driver/translation.h"

#include "parser/engine.h"

namespace vrk {

Translation::Translation(const TranslationFiles& files)
    : output(files.output),
      streams(files.debug_log, files.diagnostics, files.style),
      scanner(files.source, fragments, streams),
      templates(files.templates, fragments) {}

// A translation that is not written leaves the output with the header templates only: what was
// written early goes again.
int Translation::finish_unwritten(int status) {
  if (early_writing_) output.truncate_to_mark();
  return status;
}

int Translation::run() {
  Parser parser(*this);
  int result = parser.yyparse();
  if (scanner.stop_status() != 0) return finish_unwritten(scanner.stop_status());
  if (stop_status_ != 0) return finish_unwritten(stop_status_);
  if (result != 0) return finish_unwritten(result);
  fragments.append(string(kMainClosing));
  fragments.write(output);
  // The recovered translation is written, but a program with syntax errors is not a success.
  return parser.yynerrs > 0 ? 1 : 0;
}

}  // namespace vrk
