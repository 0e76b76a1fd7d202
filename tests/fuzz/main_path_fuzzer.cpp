// libFuzzer target: the whole vrk program, as run from the command line, over real files.
//
// Each input becomes a scratch directory: an occam source, the three templates in msgs/, files
// the source may include, a previous output file, and an OUTPUT argument that may be ordinary or
// one vrk must refuse (the source, a template, a dangling link to vrk.deb, a path in a missing
// directory) or may have to refuse (a file the source may include). Then run_vrk runs exactly as
// main() would, in the default or the occam 2 mode, and the target checks what must hold after
// any run:
//   - the status is 0, 1 or 2 (3 would be an internal error);
//   - after 0 or 1 the output is the run's: it begins with the two header templates (or, in the
//     default mode after a stop before the first token, is empty: no template was read then);
//   - after 2 the previous output is there byte for byte; the templates, the source and the
//     included files never change, unless one is the OUTPUT of a run that was not refused;
//   - vrk.deb, when there is one, begins with the banner; no temporary file is left, and no
//     descriptor stays open;
//   - every record of the memory manager came back once the translation is released.
// A finding removes the scratch directory before it aborts; one left by a run that was ended
// outright (a time-out) is removed by the next fuzzer that starts.
//
// Input layout: the last byte chooses the case (a plain occam file, ending in a line feed, is an
// ordinary run of the default mode; its bits pick another OUTPUT, make the header template a link
// to /dev/zero, choose the occam 2 mode, put the included files in inc/ searched with -I, or set
// a small --max-input); the rest is the source, optionally followed by the header, board and
// main templates and up to three files 1.inc, 2.inc, 3.inc, each after the separator
// "\n%%%%\n" (templates not given get short defaults).
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sanitizer/common_interface_defs.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "driver/program.h"
#include "support/memory.h"

namespace {

constexpr std::string_view kSeparator = "\n%%%%\n";
constexpr std::string_view kPreviousOutput = "/* previous output */\n";
constexpr const char* kOutputChoices[] = {"out.hc",     "sub/out.hc",   "link.hc",        "msgs/main.txt",
                                          "source.occ", "missing/o.hc", "./sub/../out.hc", "sub/"};
constexpr const char* kIncludeOutput = "1.inc";  // OUTPUT instead of out.hc with kOutputIsIncluded
constexpr std::size_t kIncludedFiles = 3;
// Bits of the choice byte above those that pick the OUTPUT.
constexpr unsigned kHeaderIsADevice = 8;    // msgs/header.txt -> /dev/zero
constexpr unsigned kOccam2Mode = 16;        // --occam2
constexpr unsigned kIncludeFolder = 32;     // the included files in inc/, with -I inc
constexpr unsigned kSmallInputLimit = 64;   // --max-input=1K
constexpr unsigned kOutputIsIncluded = 128; // OUTPUT is the file 1.inc (inc/1.inc)
constexpr std::string_view kScratchPrefix = "vrk-main-path-fuzz-";
int g_report_fd = 2;
std::string g_scratch;

void remove_tree(const std::string& path);

void remove_scratch() {
  if (g_scratch.empty()) return;
  if (::chdir("/") != 0) { /* removed by absolute path all the same */ }
  remove_tree(g_scratch);
  g_scratch.clear();
}

[[noreturn]] void finding(const std::string& what) {
  std::string line = "main_path_fuzzer: " + what + "\n";
  if (::write(g_report_fd, line.data(), line.size()) < 0) { /* nothing more to tell */ }
  remove_scratch();
  std::abort();
}

void write_file(const std::string& path, std::string_view bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) finding("cannot prepare " + path);
  if (!bytes.empty() && ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    finding("cannot write " + path);
  }
  ::close(fd);
}

std::string read_file(const std::string& path) {
  std::string text;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return text;
  char block[1 << 14];
  for (ssize_t n; (n = ::read(fd, block, sizeof block)) > 0;) text.append(block, static_cast<std::size_t>(n));
  ::close(fd);
  return text;
}

bool exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

void remove_tree(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return;
  if (S_ISDIR(info.st_mode)) {
    if (DIR* dir = ::opendir(path.c_str())) {
      while (const dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) remove_tree(path + "/" + e->d_name);
      }
      ::closedir(dir);
    }
    ::rmdir(path.c_str());
  } else {
    ::unlink(path.c_str());
  }
}

int open_descriptors() {
  int count = 0;
  if (DIR* d = ::opendir("/proc/self/fd")) {
    while (const dirent* e = ::readdir(d)) count += e->d_name[0] != '.';
    ::closedir(d);
  }
  return count;
}

bool holds_temporary_file(const std::string& dir) {
  bool found = false;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (const dirent* e = ::readdir(d)) found = found || std::strstr(e->d_name, ".vrk-") != nullptr;
    ::closedir(d);
  }
  return found;
}

struct Case {
  std::string source, header = "/* header */\n", board = "/* board */\n", main = "void main(void)\n{\n";
  std::string included[kIncludedFiles];
  unsigned choice = 0;
  bool occam2() const { return (choice & kOccam2Mode) != 0; }
  std::string include_dir() const { return (choice & kIncludeFolder) != 0 ? "run/inc/" : "run/"; }
  std::string output() const {
    if ((choice & kOutputIsIncluded) == 0) return kOutputChoices[choice % std::size(kOutputChoices)];
    return ((choice & kIncludeFolder) != 0 ? "inc/" : "") + std::string(kIncludeOutput);
  }
};

Case split(std::string_view data) {
  Case c;
  if (data.empty()) return c;
  c.choice = static_cast<unsigned char>(data.back()) ^ '\n';
  data.remove_suffix(1);
  std::string* parts[] = {&c.source, &c.header, &c.board, &c.main, &c.included[0], &c.included[1], &c.included[2]};
  for (std::string* part : parts) {
    std::size_t end = data.find(kSeparator);
    *part = std::string(data.substr(0, end));
    if (end == std::string_view::npos) break;
    data.remove_prefix(end + kSeparator.size());
  }
  return c;
}

// Everything the run reads or may be asked to overwrite, fresh for each input.
void prepare(const Case& c) {
  remove_tree("run");
  if (::mkdir("run", 0755) != 0 || ::mkdir("run/msgs", 0755) != 0 || ::mkdir("run/sub", 0755) != 0) {
    finding("cannot prepare the scratch directory");
  }
  write_file("run/source.occ", c.source);
  if (c.choice & kHeaderIsADevice) {
    if (::symlink("/dev/zero", "run/msgs/header.txt") != 0) finding("cannot prepare the device link");
  } else {
    write_file("run/msgs/header.txt", c.header);
  }
  write_file("run/msgs/harp2_h.txt", c.board);
  write_file("run/msgs/main.txt", c.main);
  write_file("run/out.hc", kPreviousOutput);
  write_file("run/sub/out.hc", kPreviousOutput);
  if (::symlink("vrk.deb", "run/link.hc") != 0) finding("cannot prepare the link");
  if (::mkdir("run/inc", 0755) != 0) finding("cannot prepare the include folder");
  for (std::size_t i = 0; i < kIncludedFiles; ++i) {
    write_file(c.include_dir() + std::to_string(i + 1) + ".inc", c.included[i]);
  }
}

// The command line of the case: its options, the source and OUTPUT.
std::vector<std::string> arguments(const Case& c) {
  std::vector<std::string> args{"vrk"};
  if (c.occam2()) args.emplace_back("--occam2");
  if ((c.choice & kIncludeFolder) != 0) args.emplace_back("-Iinc");
  if ((c.choice & kSmallInputLimit) != 0) args.emplace_back("--max-input=1K");
  args.emplace_back("source.occ");
  args.push_back(c.output());
  return args;
}

// The run's standard output and error go nowhere; sanitizer reports still reach the terminal.
int run_quietly(const Case& c) {
  int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  int saved_out = ::dup(1), saved_err = ::dup(2);
  ::dup2(null, 1);
  ::dup2(null, 2);
  std::vector<std::string> args = arguments(c);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  if (::chdir("run") != 0) finding("cannot enter the scratch directory");
  int status = vrk::run_vrk(static_cast<int>(args.size()), argv.data());
  if (::chdir("..") != 0) finding("cannot leave the scratch directory");
  ::dup2(saved_out, 1);
  ::dup2(saved_err, 2);
  ::close(saved_out);
  ::close(saved_err);
  ::close(null);
  return status;
}

std::string ending_a_line(const std::string& text) { return text.empty() || text.back() == '\n' ? text : text + "\n"; }

void check_written_output(const Case& c, const std::string& path, int status) {
  const std::string written = read_file(path);
  // In the default mode the templates are read at the program's first token: a run that stops on
  // an over-long line before it reads none, and writes an empty translation.
  const bool stopped_before_templates = !c.occam2() && status == 1 && written.empty();
  if ((c.choice & kHeaderIsADevice) != 0 && !stopped_before_templates) finding("a device was read as a template");
  // The occam 2 mode ends each template's last line, so that the next part starts a line of its own.
  const std::string opening = c.occam2() ? ending_a_line(c.header) + ending_a_line(c.board) : c.header + c.board;
  if (written.rfind(opening, 0) != 0 && !stopped_before_templates) finding("output without the header templates");
}

void check_outcome(const Case& c, int status) {
  if (status < 0 || status > 2) finding("exit status " + std::to_string(status));
  const std::string output = c.output();
  const std::string path = "run/" + output;
  const bool refusable = output != "out.hc" && output != "sub/out.hc" && output != "./sub/../out.hc" &&
                         (c.choice & kOutputIsIncluded) == 0;
  // An included file as OUTPUT is refused only when the source does include it.
  const std::string previous = (c.choice & kOutputIsIncluded) != 0 ? c.included[0] : std::string(kPreviousOutput);
  if (status <= 1) {
    if (refusable) finding("a run writing " + output + " was not refused");
    check_written_output(c, path, status);
  } else if (!refusable && read_file(path) != previous) {
    finding("a failed run harmed the previous output");
  }
  if (read_file("run/source.occ") != c.source) finding("the source changed");
  if (read_file("run/msgs/main.txt") != c.main || read_file("run/msgs/harp2_h.txt") != c.board) {
    finding("a template changed");
  }
  for (std::size_t i = 0; i < kIncludedFiles; ++i) {
    const bool written = i == 0 && (c.choice & kOutputIsIncluded) != 0 && status <= 1;
    if (!written && read_file(c.include_dir() + std::to_string(i + 1) + ".inc") != c.included[i]) {
      finding("an included file changed");
    }
  }
  if (exists("run/vrk.deb") && read_file("run/vrk.deb").rfind("--\n-- ", 0) != 0) finding("vrk.deb is no whole log");
  if (holds_temporary_file("run") || holds_temporary_file("run/sub") || holds_temporary_file("run/msgs") ||
      holds_temporary_file("run/inc")) {
    finding("a temporary file was left");
  }
}

// Scratch directories of fuzzers that were ended outright (a time-out, a memory limit) and
// could not remove their own: named after their process, which is gone.
void remove_abandoned_scratches(const std::string& base) {
  DIR* dir = ::opendir(base.c_str());
  if (dir == nullptr) return;
  while (const dirent* e = ::readdir(dir)) {
    std::string_view name = e->d_name;
    if (!name.starts_with(kScratchPrefix)) continue;
    long pid = std::strtol(e->d_name + kScratchPrefix.size(), nullptr, 10);
    if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) remove_tree(base + "/" + e->d_name);
  }
  ::closedir(dir);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // In memory where possible: every input creates and removes a handful of files.
  const char* base = std::getenv("TMPDIR");
  if (base == nullptr) base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  remove_abandoned_scratches(base);
  std::string scratch = std::string(base) + "/" + std::string(kScratchPrefix) + std::to_string(::getpid()) + "-XXXXXX";
  if (::mkdtemp(scratch.data()) == nullptr || ::chdir(scratch.c_str()) != 0) finding("no scratch directory");
  g_scratch = scratch;
  std::atexit(remove_scratch);
  __sanitizer_set_death_callback(remove_scratch);  // a sanitizer's report ends the process
  g_report_fd = ::dup(2);
  __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<std::intptr_t>(g_report_fd)));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Case c = split(std::string_view(reinterpret_cast<const char*>(data), size));
  prepare(c);
  const long records_before = vrk::std_memory_mgr().records_in_use();
  const int descriptors_before = open_descriptors();
  const int status = run_quietly(c);
  if (open_descriptors() != descriptors_before) finding("a descriptor was left open");
  check_outcome(c, status);
  vrk::release_finished_translation();
  if (vrk::std_memory_mgr().records_in_use() != records_before) finding("records of the memory manager leaked");
  return 0;
}
