// Test helper: while a RecordingHandler lives, reports are recorded in
// last_report() and error() returns to its caller.
#pragma once

#include <string>

#include "support/error.h"

namespace vrk::testing {

struct Report {
  int code = 0;
  std::string message;
  int count = 0;
};

inline Report& last_report() {
  static Report report;
  return report;
}

class RecordingHandler {
 public:
  RecordingHandler() : previous_(set_error_handler(&record)) { last_report() = Report{}; }
  ~RecordingHandler() { set_error_handler(previous_); }

 private:
  static void record(int code, const char* message) {
    last_report() = Report{code, message, last_report().count + 1};
  }
  ErrorHandler previous_;
};

}  // namespace vrk::testing
