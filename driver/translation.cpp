#include "driver/translation.h"

#include "parser/engine.h"

namespace vrk {

Translation::Translation(const TranslationFiles& files)
    : output(files.output),
      streams(files.debug_log, files.diagnostics, files.style),
      scanner(files.source, fragments, streams),
      templates(files.templates, fragments) {}

int Translation::run() {
  Parser parser(*this);
  int result = parser.yyparse();
  if (scanner.stop_status() != 0) return scanner.stop_status();
  if (stop_status_ != 0) return stop_status_;
  if (result == 0) {
    fragments.append(string(kMainClosing));
    fragments.write(output);
    // The recovered translation is written, but a program with syntax errors is not a success.
    if (parser.yynerrs > 0) return 1;
  }
  return result;
}

}  // namespace vrk
