// The process exit statuses of vrk.
#pragma once

namespace vrk {

enum class ExitStatus : int {
  success = 0,             // the program was accepted without a syntax error
  translation_failed = 1,  // syntax errors (the output is still written unless the parse was
                           // abandoned), or a source line too long to read
  unusable_input = 2,      // a bad command line, or a file or template that cannot be used
  internal_error = 3,      // the support library stopped the program
};

constexpr int exit_code(ExitStatus status) { return static_cast<int>(status); }

}  // namespace vrk
