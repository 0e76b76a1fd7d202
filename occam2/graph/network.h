// The process network of an occam 2 program: the processes that run in parallel and the channels
// between them, as a designer draws the design on a whiteboard.
//
// A process is a PROC instance (a call that is a branch of a PAR), a branch written in place, the
// copies of a replicated PAR too many to draw one by one, or the environment the program's channel
// formals lead to. A process whose own body runs processes in parallel holds them: its network is
// drawn inside it. Each channel is an edge from the process that outputs on it to the one that
// inputs from it, found by following actual parameters through PROC formals down to the `!` and
// `?` that use them; a channel with an end nobody uses ends at a loose_end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "occam2/resolve/resolution.h"
#include "occam2/tree/tree.h"
#include "scanner/diagnostics.h"

namespace vrk::occam2 {

using ProcessId = std::uint32_t;
inline constexpr ProcessId kTop = 0xffffffffu;  // the parent of what is drawn outside every process

enum class ProcessKind : std::uint8_t {
  environment,  // what the program PROC's channel formals lead to
  instance,     // a PROC called as a branch of a PAR (or the program PROC itself)
  in_place,     // a branch of a PAR written in place, or the outermost process
  copies,       // the copies of a replicated PAR, drawn as one
  loose_end,    // where a channel with an end nobody uses ends
};

struct Process {
  ProcessKind kind = ProcessKind::in_place;
  ProcessId parent = kTop;
  std::string label;                // "cell [2]", "WHILE at line 31"
  std::vector<ProcessId> children;  // the network it runs, drawn inside it
  bool acts = false;                // it uses channels itself, beside what its children do
  bool runs_proc = false;           // a PROC instance, or copies of one: drawn even when it uses no channel
};

struct Edge {
  ProcessId from = kTop;
  ProcessId to = kTop;
  std::string label;   // "link[3]: INT"
  bool loose = false;  // one end is a loose_end
};

struct Network {
  std::vector<Process> processes;  // also those left out of the drawing (in no children list)
  std::vector<ProcessId> top;      // drawn outside every process, in order
  std::vector<Edge> edges;
};

struct NetworkLimits {
  std::int64_t copies = 64;                      // a replicated PAR of more copies is one process
  std::uint32_t processes = 1024;                // beyond, a PAR runs as part of the process around it
  std::int64_t elements_drawn = 64;              // a longer run of an array's elements with the same ends is one edge
  std::uint64_t steps = std::uint64_t{1} << 22;  // work allowed before giving up (more for a large program)
  std::uint32_t call_depth = 256;                // PROC calls nested deeper give up
};

struct NetworkBuild {
  Network network;
  std::string problem;  // why no network could be made; empty when it was
};

// The network of a resolved program. Beyond `limits.processes` the PARs met are not split and a
// warning names the first; beyond the steps or the call depth no network is made and `problem`
// says why.
NetworkBuild build_network(const Tree& tree, const Resolution& resolution, Diagnostics& diagnostics,
                           const NetworkLimits& limits = {});

// The network in Graphviz's DOT language, laid out left to right: processes with a network of
// their own as clusters, the others as nodes, one edge per channel. The same network gives the
// same bytes.
std::string dot_text(const Network& network);

}  // namespace vrk::occam2
