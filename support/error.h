// Central error handler of the support library.
//
// Every misuse or exhaustion inside the library is reported through error(),
// which forwards to one process-wide handler.  Codes: 0 is a warning, a
// positive code is fatal, a negative code is reported without stopping.  The
// default handler prints a banner and the message on stderr and, for fatal
// codes, stops the program with the internal-error status 3.  A flush hook
// lets buffered output (the translator's own streams) reach its destination
// before anything is printed or the program stops; a stop hook then removes
// what an abnormal stop must not leave behind (unfinished temporary files).
#ifndef VRK_SUPPORT_ERROR_H
#define VRK_SUPPORT_ERROR_H

namespace vrk {

using ErrorHandler = void (*)(int code, const char* message);
using FlushHook = void (*)();

inline constexpr const char* kLibraryTag = "vrk:";  // starts every banner line
inline constexpr int kInternalErrorStatus = 3;      // exit status of abnormal_stop()

// Reports through the current handler; returns only when the handler does.
void error(int code, const char* message);

// Installs a handler (nullptr restores the default); returns the previous one.
ErrorHandler set_error_handler(ErrorHandler handler);

void default_error_handler(int code, const char* message);

// The hook runs before any abnormal stop and before the default handler
// writes; nullptr removes it.
void set_flush_hook(FlushHook hook);

// The hook runs in abnormal_stop() after the flush hook, right before the
// process ends; nullptr removes it.
void set_stop_hook(FlushHook hook);

// Runs the flush hook (at most once at a time), flushes every stdio stream,
// runs the stop hook and ends the process with status 3 without running
// destructors.
[[noreturn]] void abnormal_stop();

}  // namespace vrk

#endif
