// Soak run: the whole vrk program, in one process, on one large program and then on many small
// ones in a row, watching resident memory and open descriptors.
//
//   vrk_soak BIG.occ RUNS SMALL.occ...
//
// Run in a directory with msgs/ (bench/soak.py prepares one). Each translation is exactly what
// `vrk SOURCE out.hc` does (run_vrk), with standard output and error sent to /dev/null. Prints
// the resident memory (now and peak) and the open descriptors after the large translation and
// after every tenth of the small ones. Exit status 1 when a run fails, when descriptors were
// left open, or when resident memory grew by more than 10% (and 4 MiB) over the small runs
// after the first tenth, which is what a leak from run to run would show.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "driver/program.h"

namespace {

struct Sample {
  long rss_kib = 0, peak_kib = 0;
  int fds = 0;
};

long status_field_kib(const char* field) {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return -1;
  char line[256];
  long value = -1;
  const std::size_t length = std::strlen(field);
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::strncmp(line, field, length) == 0) value = std::atol(line + length);
  }
  std::fclose(status);
  return value;
}

int open_descriptors() {
  DIR* dir = ::opendir("/proc/self/fd");
  if (dir == nullptr) return -1;
  int count = 0;
  while (const dirent* e = ::readdir(dir)) count += e->d_name[0] != '.';
  ::closedir(dir);
  return count - 1;  // the listing's own descriptor
}

Sample sample() { return {status_field_kib("VmRSS:"), status_field_kib("VmHWM:"), open_descriptors()}; }

int translate(const char* source) {
  char program[] = "vrk", output[] = "out.hc";
  std::string source_arg = source;
  char* argv[] = {program, source_arg.data(), output, nullptr};
  return vrk::run_vrk(3, argv);
}

void print(int report, const char* what, const Sample& s) {
  dprintf(report, "%-24s %10.1f MiB %10.1f MiB %8d\n", what, s.rss_kib / 1024.0, s.peak_kib / 1024.0, s.fds);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: vrk_soak BIG.occ RUNS SMALL.occ...\n");
    return 2;
  }
  const long runs = std::atol(argv[2]);
  const int report = ::dup(STDOUT_FILENO);
  const int null = ::open("/dev/null", O_WRONLY);
  ::dup2(null, STDOUT_FILENO);
  ::dup2(null, STDERR_FILENO);
  ::close(null);

  const Sample start = sample();
  dprintf(report, "%-24s %14s %14s %8s\n", "after", "resident", "peak", "open fds");
  print(report, "start", start);
  if (int status = translate(argv[1]); status != 0) {
    dprintf(report, "the large translation failed with status %d\n", status);
    return 1;
  }
  print(report, "large translation", sample());

  Sample first_tenth{};
  const long tenth = runs >= 10 ? runs / 10 : 1;
  for (long i = 1; i <= runs; ++i) {
    const char* source = argv[3 + (i - 1) % (argc - 3)];
    if (int status = translate(source); status != 0) {
      dprintf(report, "small translation %ld (%s) failed with status %d\n", i, source, status);
      return 1;
    }
    if (i % tenth != 0 && i != runs) continue;
    const Sample now = sample();
    const std::string what = std::to_string(i) + " small translations";
    print(report, what.c_str(), now);
    if (i == tenth) first_tenth = now;
    if (now.fds != start.fds) {
      dprintf(report, "descriptors left open: %d, %d at the start\n", now.fds, start.fds);
      return 1;
    }
    const long growth = now.rss_kib - first_tenth.rss_kib;
    if (growth > first_tenth.rss_kib / 10 && growth > 4096) {
      dprintf(report, "resident memory grew by %ld KiB since run %ld\n", growth, tenth);
      return 1;
    }
  }
  dprintf(report, "flat: no descriptor left open, resident memory steady over %ld small translations\n", runs);
  return 0;
}
