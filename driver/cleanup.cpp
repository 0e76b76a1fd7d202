#include "driver/cleanup.h"

#include <unistd.h>

#include <climits>
#include <cstring>
#include <iterator>

#include "support/error.h"

namespace vrk {

namespace {

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
static_assert(std::size(kCleanupSignals) + 1 == CleanupOnSignals::kHandled);

// Fixed storage, since the signal handler may neither allocate nor follow a moving container.
constexpr int kMaxTemporaries = 8;
char g_paths[kMaxTemporaries][PATH_MAX];
volatile sig_atomic_t g_listed[kMaxTemporaries];

sigset_t cleanup_signal_set() {
  sigset_t set;
  sigemptyset(&set);
  for (int sig : kCleanupSignals) sigaddset(&set, sig);
  return set;
}

extern "C" void remove_temporaries_and_die(int sig) {
  remove_temporaries();
  struct sigaction default_action {};
  default_action.sa_handler = SIG_DFL;
  sigemptyset(&default_action.sa_mask);
  ::sigaction(sig, &default_action, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, sig);
  ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
  ::raise(sig);
}

}  // namespace

SignalsHeld::SignalsHeld() {
  sigset_t set = cleanup_signal_set();
  ::sigprocmask(SIG_BLOCK, &set, &previous_);
}

SignalsHeld::~SignalsHeld() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }

bool add_temporary(const std::string& path) {
  if (path.size() >= PATH_MAX) return false;
  for (int i = 0; i < kMaxTemporaries; ++i) {
    if (g_listed[i]) continue;
    std::memcpy(g_paths[i], path.c_str(), path.size() + 1);
    g_listed[i] = 1;
    return true;
  }
  return false;
}

void drop_temporary(const std::string& path) {
  for (int i = 0; i < kMaxTemporaries; ++i) {
    if (g_listed[i] && path == g_paths[i]) g_listed[i] = 0;
  }
}

void remove_temporaries() noexcept {
  for (int i = 0; i < kMaxTemporaries; ++i) {
    if (!g_listed[i]) continue;
    ::unlink(g_paths[i]);
    g_listed[i] = 0;
  }
}

CleanupOnSignals::CleanupOnSignals() {
  struct sigaction cleanup {};
  cleanup.sa_handler = remove_temporaries_and_die;
  cleanup.sa_mask = cleanup_signal_set();  // one cleanup at a time
  int k = 0;
  for (int sig : kCleanupSignals) {
    ::sigaction(sig, nullptr, &previous_[k]);
    if (previous_[k].sa_handler != SIG_IGN) ::sigaction(sig, &cleanup, nullptr);
    ++k;
  }
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  ::sigaction(SIGXFSZ, &ignore, &previous_[k]);
  set_stop_hook(remove_temporaries);
}

CleanupOnSignals::~CleanupOnSignals() {
  set_stop_hook(nullptr);
  int k = 0;
  for (int sig : kCleanupSignals) ::sigaction(sig, &previous_[k++], nullptr);
  ::sigaction(SIGXFSZ, &previous_[k], nullptr);
}

}  // namespace vrk
