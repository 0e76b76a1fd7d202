// Default error handler, flush hook and abnormal stop.
//
// The hook is guarded against re-entry: a hook that itself reports an error
// must not loop back into itself on the way to the stop.
#include "support/error.h"

#include <cstdio>
#include <cstdlib>

namespace vrk {
namespace {

ErrorHandler current_handler = default_error_handler;
FlushHook flush_hook = nullptr;
FlushHook stop_hook = nullptr;
bool flush_hook_running = false;

void run_flush_hook() {
  if (flush_hook == nullptr || flush_hook_running) return;
  flush_hook_running = true;
  flush_hook();
  flush_hook_running = false;
}

const char* banner_for(int code) { return code == 0 ? "WARNING" : "ERROR HANDLER"; }

}  // namespace

void error(int code, const char* message) { current_handler(code, message); }

ErrorHandler set_error_handler(ErrorHandler handler) {
  ErrorHandler previous = current_handler;
  current_handler = handler != nullptr ? handler : default_error_handler;
  return previous;
}

void default_error_handler(int code, const char* message) {
  run_flush_hook();
  std::fprintf(stderr, "\n%s %s\n\t%s\n\n", kLibraryTag, banner_for(code),
               message != nullptr ? message : "");
  std::fflush(stderr);
  if (code > 0) abnormal_stop();
}

void set_flush_hook(FlushHook hook) { flush_hook = hook; }

void set_stop_hook(FlushHook hook) { stop_hook = hook; }

void abnormal_stop() {
  run_flush_hook();
  std::fflush(nullptr);
  // Taken first, so that a stop reported from inside the hook cannot run it again.
  FlushHook last = stop_hook;
  stop_hook = nullptr;
  if (last != nullptr) last();
  std::_Exit(kInternalErrorStatus);
}

}  // namespace vrk
