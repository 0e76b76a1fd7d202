// Scanner benchmark: each mode's scanner alone over one program, with nothing parsed or written
// but the token trace, which goes to /dev/null as it would go to a log.
//
//   vrk_scan_bench SOURCE [RUNS]
//
// For the default scanner and then the occam 2 one, scans SOURCE RUNS times (3 by default), each
// pass from a fresh descriptor, and prints the tokens delivered and the best time of a pass. The
// occam 2 scanner's whole-line comments are taken after every token, as a translation takes them.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "occam2/scanner/scanner.h"
#include "output/fragments.h"
#include "output/streams.h"
#include "scanner/diagnostics.h"
#include "scanner/line_reader.h"
#include "scanner/scanner.h"

namespace {

enum class Mode { classic, occam2 };

// One pass: the tokens delivered, or -1 when the source cannot be opened.
long scan(const char* path, Mode mode) {
  int fd = ::open(path, O_RDONLY);
  int sink = ::open("/dev/null", O_WRONLY);
  if (fd < 0 || sink < 0) return -1;
  long tokens = 0;
  {
    vrk::OutputBuffer log(sink), err(sink);
    vrk::Diagnostics diagnostics(log, err, {true, path});
    if (mode == Mode::occam2) {
      vrk::SourceReader reader(fd, vrk::SourceReader::LineLimit::none);
      vrk::Occam2Scanner scanner(reader, diagnostics, {path, {}});
      while (scanner.yylex() != 0) {
        ++tokens;
        scanner.take_comments();
      }
    } else {
      vrk::SourceReader reader(fd);
      vrk::FragmentList fragments;
      vrk::Scanner scanner(reader, fragments, diagnostics);
      while (scanner.yylex() != 0) ++tokens;
    }
  }
  ::close(fd);
  ::close(sink);
  return tokens;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: vrk_scan_bench SOURCE [RUNS]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  double best[2] = {0, 0};
  for (Mode mode : {Mode::classic, Mode::occam2}) {
    const int m = mode == Mode::occam2 ? 1 : 0;
    long tokens = 0;
    for (int run = 0; run < runs; ++run) {
      auto start = std::chrono::steady_clock::now();
      tokens = scan(argv[1], mode);
      std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
      if (tokens < 0) {
        std::fprintf(stderr, "vrk_scan_bench: cannot open %s\n", argv[1]);
        return 2;
      }
      if (run == 0 || took.count() < best[m]) best[m] = took.count();
    }
    std::printf("%-8s scanner: %9ld tokens, best of %d: %7.1f ms\n", m == 1 ? "occam 2" : "default", tokens, runs,
                best[m]);
  }
  std::printf("occam 2 / default: %.2f\n", best[1] / best[0]);
  return 0;
}
