// libFuzzer target: the whole vrk program, as run from the command line, over real files.
//
// Each input becomes a scratch directory: an occam source, the three templates in msgs/, a
// previous output file, and an OUTPUT argument that may be ordinary or one vrk must refuse (the
// source, a template, a dangling link to vrk.deb, a path in a missing directory). Then run_vrk
// runs exactly as main() would, and the target checks what must hold after any run:
//   - the status is 0, 1 or 2 (3 would be an internal error);
//   - after 0 or 1 the output is the run's: it begins with the two header templates (or, after
//     a stop before the first token, is empty);
//   - after 2 the previous output is there byte for byte; the templates and the source never
//     change;
//   - vrk.deb, when there is one, begins with the banner; no temporary file is left, and no
//     descriptor stays open;
//   - every record of the memory manager came back once the translation is released.
//
// Input layout: the last byte chooses the case (a plain occam file, ending in a line feed, is
// an ordinary run, other values pick another OUTPUT or make the header template a link to
// /dev/zero); the rest is the source, optionally followed by the header, board and main
// templates, each after the separator "\n%%%%\n" (templates not given get short defaults).
#include <dirent.h>
#include <fcntl.h>
#include <sanitizer/common_interface_defs.h>
#include <sys/stat.h>
#include <unistd.h>

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
constexpr unsigned kHeaderIsADevice = 8;  // bit of the choice byte: msgs/header.txt -> /dev/zero
int g_report_fd = 2;

[[noreturn]] void finding(const std::string& what) {
  std::string line = "main_path_fuzzer: " + what + "\n";
  if (::write(g_report_fd, line.data(), line.size()) < 0) { /* nothing more to tell */ }
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
  unsigned choice = 0;
};

Case split(std::string_view data) {
  Case c;
  if (data.empty()) return c;
  c.choice = static_cast<unsigned char>(data.back()) ^ '\n';
  data.remove_suffix(1);
  std::string* parts[] = {&c.source, &c.header, &c.board, &c.main};
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
}

// The run's standard output and error go nowhere; sanitizer reports still reach the terminal.
int run_quietly(const char* output) {
  int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  int saved_out = ::dup(1), saved_err = ::dup(2);
  ::dup2(null, 1);
  ::dup2(null, 2);
  char program[] = "vrk", source[] = "source.occ";
  std::string output_arg = output;
  char* argv[] = {program, source, output_arg.data(), nullptr};
  if (::chdir("run") != 0) finding("cannot enter the scratch directory");
  int status = vrk::run_vrk(3, argv);
  if (::chdir("..") != 0) finding("cannot leave the scratch directory");
  ::dup2(saved_out, 1);
  ::dup2(saved_err, 2);
  ::close(saved_out);
  ::close(saved_err);
  ::close(null);
  return status;
}

void check_outcome(const Case& c, const std::string& output, int status) {
  if (status < 0 || status > 2) finding("exit status " + std::to_string(status));
  const std::string path = "run/" + output;
  const bool refusable = output != "out.hc" && output != "sub/out.hc" && output != "./sub/../out.hc";
  if (status <= 1) {
    if (refusable) finding("a run writing " + output + " was not refused");
    if (c.choice & kHeaderIsADevice) finding("a device was read as a template");
    // An over-long first line stops the scanner before the templates are copied.
    const std::string written = read_file(path);
    if (written.rfind(c.header + c.board, 0) != 0 && !(status == 1 && written.empty())) {
      finding("output without the header templates");
    }
  } else if (!refusable && read_file(path) != kPreviousOutput) {
    finding("a failed run harmed the previous output");
  }
  if (read_file("run/source.occ") != c.source) finding("the source changed");
  if (read_file("run/msgs/main.txt") != c.main || read_file("run/msgs/harp2_h.txt") != c.board) {
    finding("a template changed");
  }
  if (exists("run/vrk.deb") && read_file("run/vrk.deb").rfind("--\n-- ", 0) != 0) finding("vrk.deb is no whole log");
  if (holds_temporary_file("run") || holds_temporary_file("run/sub") || holds_temporary_file("run/msgs")) {
    finding("a temporary file was left");
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // In memory where possible: every input creates and removes a handful of files.
  const char* base = std::getenv("TMPDIR");
  if (base == nullptr) base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  std::string scratch = std::string(base) + "/vrk-main-path-fuzz-XXXXXX";
  if (::mkdtemp(scratch.data()) == nullptr || ::chdir(scratch.c_str()) != 0) finding("no scratch directory");
  static const std::string scratch_path = scratch;
  std::atexit([] { remove_tree(scratch_path); });
  g_report_fd = ::dup(2);
  __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<std::intptr_t>(g_report_fd)));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Case c = split(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string output = kOutputChoices[c.choice % std::size(kOutputChoices)];
  prepare(c);
  const long records_before = vrk::std_memory_mgr().records_in_use();
  const int descriptors_before = open_descriptors();
  const int status = run_quietly(output.c_str());
  if (open_descriptors() != descriptors_before) finding("a descriptor was left open");
  check_outcome(c, output, status);
  vrk::release_finished_translation();
  if (vrk::std_memory_mgr().records_in_use() != records_before) finding("records of the memory manager leaked");
  return 0;
}
