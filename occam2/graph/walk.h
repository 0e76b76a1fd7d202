// What the walk over a program finds, before it becomes a drawing: the processes, every channel
// made (a declaration met in one instance of its PROC, or a formal of the program) and every use
// of a channel's elements by a process. Shared by the files of the graph layer only.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "occam2/graph/network.h"

namespace vrk::occam2::graph {

// Half-open runs of the flattened elements of one channel or array of channels.
struct Interval {
  std::int64_t begin = 0;
  std::int64_t end = 0;
};

// The elements of an array of channels whose size is not known (an open array formal of the program).
inline constexpr std::int64_t kOpenSize = std::int64_t{1} << 31;
inline constexpr std::uint32_t kNoChannel = 0xffffffffu;

// What an element names: items of `type` (a channel, or an array of them) of one channel made
// by the walk, covering `parts` of its flattened elements.
struct ChannelSet {
  std::uint32_t channel = kNoChannel;
  TypeId type = TypeTable::kUnknown;
  std::int64_t size = -1;  // the items' count of elements when a segment narrowed them, or -1: the type's
  std::vector<Interval> parts;
  bool empty() const { return channel == kNoChannel || parts.empty(); }
};

struct Channel {
  SymbolId symbol = kNoSymbol;                  // its declaration, or the program's formal
  std::int64_t elements = 1;                    // flattened
  ProcessId declarer = kTop;                    // the process whose body declares it
  bool environment = false;                     // a channel formal of the program
  Direction environment_end = Direction::none;  // the end the environment takes: input reads it
};

struct ChannelUse {
  ProcessId process = kTop;
  std::uint32_t channel = kNoChannel;
  Interval elements;
  Direction direction = Direction::none;  // input or output
};

struct Walk {
  Network network;
  std::vector<Channel> channels;
  std::vector<ChannelUse> uses;
  ProcessId environment = kTop;
  std::string problem;
};

// ---- channel_sets.cpp
// The number of channels a value of `type` holds, flattened (kOpenSize when a size is not known).
std::int64_t flat_size(const TypeTable& types, TypeId type);
// Sorts runs and joins those that touch.
void normalize(std::vector<Interval>& parts);
// The elements at `indices` of every item of `set` (each element when the indices are not known).
// `work` grows by the runs made; past `max_runs` every element of the items stands for them.
ChannelSet subscript(const TypeTable& types, const ChannelSet& set,
                     const std::optional<std::vector<std::int64_t>>& indices, std::uint64_t& work,
                     std::uint64_t max_runs);
// [set FROM start FOR count] of every item; the whole items when the bounds are not known.
ChannelSet segment(const TypeTable& types, const ChannelSet& set, std::optional<std::int64_t> start,
                   std::optional<std::int64_t> count, std::uint64_t& work, std::uint64_t max_runs);

// ---- declared_types.cpp
// The type a declaration or formal writes for `symbol` (a formal without one shares the type
// written before it), or none.
NodeId declared_type(const Tree& tree, const Resolution& resolution, SymbolId symbol);
// The channel type that type is, or holds as an array's element (through every dimension), or none.
NodeId declared_channel(const Tree& tree, NodeId type);
// Whether `symbol` names a channel or an array of channels: by its type, or by the type written
// for it when that type is one vrk keeps unsupported (CHAN OF ANY, a variant PROTOCOL's channels).
bool names_channels(const Tree& tree, const Resolution& resolution, SymbolId symbol);

// ---- walk.cpp
// Walks the program from its program PROC (or its outermost process) and records what it finds.
Walk walk_program(const Tree& tree, const Resolution& resolution, Diagnostics& diagnostics,
                  const NetworkLimits& limits);

// ---- connect.cpp
// Leaves out the in-place branches that use no channel and hold nothing drawn, and turns the uses
// into edges, one per channel (per run of elements when a run is drawn as one), with loose ends.
void connect(const Tree& tree, const Resolution& resolution, const NetworkLimits& limits, Walk& walk);

}  // namespace vrk::occam2::graph
