// Temporary files the process must not leave behind, whichever way it ends.
//
// Output files are written to temporary files and renamed into place at the end of a run; each
// one is listed here from its creation until its rename or removal. A signal that ends the
// process (SIGINT, SIGTERM, SIGHUP, SIGPIPE) removes the listed files and is then raised again
// with its default action, so the exit status still tells what ended the process; an abnormal
// stop of the error handler removes them too. Nothing can be done on SIGKILL: the files being
// replaced are untouched then, and only the temporary files stay.
#pragma once

#include <csignal>
#include <string>

namespace vrk {

// While one is alive the cleanup signals wait, so that a temporary file and its entry in the
// list come and go together, and a run's files are renamed into place as one step.
class SignalsHeld {
 public:
  SignalsHeld();
  ~SignalsHeld();
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t previous_;
};

// Lists `path` for removal; false when the list is full or the path too long to keep.
bool add_temporary(const std::string& path);
// Takes `path` off the list (after it was renamed into place or removed).
void drop_temporary(const std::string& path);
// Removes every listed file; safe inside a signal handler.
void remove_temporaries() noexcept;

// For its lifetime: the cleanup signals remove the temporary files before they end the process
// (a signal ignored when the object was made stays ignored), SIGXFSZ is ignored so that a write
// beyond the file-size limit fails like any other write and is reported, and an abnormal stop
// removes the temporary files. The previous dispositions come back afterwards.
class CleanupOnSignals {
 public:
  CleanupOnSignals();
  ~CleanupOnSignals();
  CleanupOnSignals(const CleanupOnSignals&) = delete;
  CleanupOnSignals& operator=(const CleanupOnSignals&) = delete;

  static constexpr int kHandled = 5;  // the four cleanup signals and SIGXFSZ

 private:
  struct sigaction previous_[kHandled];
};

}  // namespace vrk
