// Test helper: replaces the error handler with one that records the report
// and returns, for the lifetime of the guard.
#ifndef VRK_TESTS_SUPPORT_RECORDING_HANDLER_H
#define VRK_TESTS_SUPPORT_RECORDING_HANDLER_H

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
  RecordingHandler(const RecordingHandler&) = delete;
  RecordingHandler& operator=(const RecordingHandler&) = delete;

 private:
  static void record(int code, const char* message) {
    Report& r = last_report();
    r.code = code;
    r.message = message;
    ++r.count;
  }
  ErrorHandler previous_;
};

}  // namespace vrk::testing

#endif
