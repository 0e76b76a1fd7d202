// From what the walk found to what is drawn: idle branches left out, and the uses of each channel
// turned into edges. The elements of a channel (or array of channels) are swept once: each run of
// elements with the same processes at each end is one edge per element, or one edge for the run
// when it is long, when copies drawn as one stand at an end, or when an end is loose.
#include <algorithm>
#include <map>
#include <utility>

#include "occam2/graph/walk.h"

namespace vrk::occam2::graph {

namespace {

// A channel's name and type as its declaration spells them, and its elements' subscripts; made
// once per channel, for the labels of all its edges.
class ChannelLabels {
 public:
  ChannelLabels(const Tree& tree, const Resolution& resolution, const Channel& channel)
      : tree_(tree), r_(resolution), symbol_(channel.symbol) {
    name_ = std::string(tree.names.spelling(resolution.symbol(symbol_).name));
    for (TypeId type = r_.symbol(symbol_).type; r_.types[type].kind == TypeKind::array; type = r_.types[type].element) {
      dims_.push_back(r_.types[type].size);
    }
    // An array of channels of a protocol vrk keeps unsupported is drawn as one channel.
    NodeId declared = declared_type(tree, resolution, symbol_);
    if (dims_.empty() && declared != kNone && tree.kind(declared) == Kind::array_type) name_ += "[]";
    protocol_ = protocol();
  }

  // "link[3]: INT", "link[1..5]: INT", "m[0][1]..m[1][2]: BYTE"
  std::string of(Interval run) const {
    std::string text;
    if (run.end - run.begin == 1) {
      text = element(run.begin);
    } else if (dims_.size() == 1) {
      text = name_ + "[" + std::to_string(run.begin) + ".." +
             (run.end >= kOpenSize ? std::string() : std::to_string(run.end - 1)) + "]";
    } else {
      text = element(run.begin) + ".." + element(run.end - 1);
    }
    return text + ": " + protocol_;
  }

 private:
  std::string element(std::int64_t flat) const {
    std::string text = name_;
    if (dims_.empty()) return text;
    std::vector<std::int64_t> indices(dims_.size());
    for (std::size_t k = dims_.size(); k-- > 1;) {
      if (dims_[k] <= 0) return text + "[" + std::to_string(flat) + "]";
      indices[k] = flat % dims_[k];
      flat /= dims_[k];
    }
    indices[0] = flat;
    for (std::int64_t index : indices) text += "[" + std::to_string(index) + "]";
    return text;
  }

  // What the channel carries, as its declaration (or the program's formal) writes it.
  std::string protocol() const {
    NodeId type = declared_channel(tree_, declared_type(tree_, r_, symbol_));
    if (type != kNone) {
      NodeId carried = tree_.node(type).a;
      bool any = carried == kNone || (tree_.kind(carried) == Kind::unsupported_type &&
                                      static_cast<Construct>(tree_.node(carried).detail) == Construct::any_protocol);
      if (any) return "ANY";
      if (tree_.kind(carried) == Kind::named_type) return std::string(tree_.name_of(tree_.node(carried).a));
    }
    const Type& chan = r_.types[r_.types.innermost(r_.symbol(symbol_).type)];
    return r_.types.spelling(chan.element);
  }

  const Tree& tree_;
  const Resolution& r_;
  SymbolId symbol_;
  std::string name_;
  std::vector<std::int64_t> dims_;
  std::string protocol_;
};

// Whom a run of elements joins: the processes that output on them and those that input from them.
struct Run {
  Interval elements;
  std::vector<ProcessId> writers;
  std::vector<ProcessId> readers;
};

class Connector {
 public:
  Connector(const Tree& tree, const Resolution& resolution, const NetworkLimits& limits, Walk& walk)
      : tree_(tree), resolution_(resolution), limits_(limits), walk_(walk), network_(walk.network) {}

  void run() {
    leave_out_idle();
    std::vector<std::vector<ChannelUse>> uses(walk_.channels.size());
    for (const ChannelUse& use : walk_.uses) uses[use.channel].push_back(use);
    for (std::uint32_t c = 0; c < walk_.channels.size(); ++c) {
      if (walk_.channels[c].environment) add_environment_end(c, uses[c]);
      ChannelLabels labels(tree_, resolution_, walk_.channels[c]);
      for (const Run& run : runs(walk_.channels[c], uses[c])) draw(c, run, labels);
    }
    keep_environment_if_joined();
  }

 private:
  // A process is drawn when it is a PROC's instance, uses a channel, or holds what is drawn.
  void leave_out_idle() {
    drawn_.assign(network_.processes.size(), false);
    for (std::size_t i = network_.processes.size(); i-- > 0;) {
      Process& p = network_.processes[i];
      std::vector<ProcessId> kept;
      for (ProcessId child : p.children) {
        if (drawn_[child]) kept.push_back(child);
      }
      p.children = std::move(kept);
      drawn_[i] = p.kind == ProcessKind::environment || p.runs_proc || p.acts || !p.children.empty();
    }
    std::erase_if(network_.top, [&](ProcessId p) { return !drawn_[p]; });
  }

  // The environment takes the end its formal's direction gives it, or the end no process takes.
  void add_environment_end(std::uint32_t c, std::vector<ChannelUse>& uses) {
    Channel& channel = walk_.channels[c];
    if (channel.environment_end == Direction::none) {
      bool inputs = false, outputs = false;
      for (const ChannelUse& use : uses) {
        inputs = inputs || use.direction == Direction::input;
        outputs = outputs || use.direction == Direction::output;
      }
      if (inputs != outputs) channel.environment_end = inputs ? Direction::output : Direction::input;
      if (!inputs && !outputs) channel.environment_end = Direction::output;
    }
    if (channel.environment_end != Direction::none) {
      uses.push_back({walk_.environment, c, {0, channel.elements}, channel.environment_end});
    }
  }

  // The channel's elements in runs with the same ends, in order.
  std::vector<Run> runs(const Channel& channel, const std::vector<ChannelUse>& uses) const {
    struct Event {
      std::int64_t at;
      int change;
      ProcessId process;
      Direction direction;
    };
    std::vector<Event> events;
    for (const ChannelUse& use : uses) {
      std::int64_t begin = std::max<std::int64_t>(use.elements.begin, 0);
      std::int64_t end = std::min(use.elements.end, channel.elements);
      if (begin >= end) continue;
      events.push_back({begin, 1, use.process, use.direction});
      events.push_back({end, -1, use.process, use.direction});
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.at < b.at; });
    std::map<std::pair<ProcessId, Direction>, int> active;
    std::vector<Run> found;
    std::size_t next = 0;
    for (std::int64_t at = 0; at < channel.elements;) {
      for (; next < events.size() && events[next].at <= at; ++next) {
        std::pair<ProcessId, Direction> end_of{events[next].process, events[next].direction};
        if ((active[end_of] += events[next].change) == 0) active.erase(end_of);
      }
      std::int64_t end = next < events.size() ? std::min(events[next].at, channel.elements) : channel.elements;
      Run run{{at, end}, {}, {}};
      for (const auto& entry : active) {
        (entry.first.second == Direction::output ? run.writers : run.readers).push_back(entry.first.first);
      }
      if (!found.empty() && found.back().elements.end == at && found.back().writers == run.writers &&
          found.back().readers == run.readers) {
        found.back().elements.end = end;
      } else {
        found.push_back(std::move(run));
      }
      at = end;
    }
    return found;
  }

  bool has_copies(const std::vector<ProcessId>& processes) const {
    return std::any_of(processes.begin(), processes.end(),
                       [&](ProcessId p) { return network_.processes[p].kind == ProcessKind::copies; });
  }

  void draw(std::uint32_t c, const Run& run, const ChannelLabels& labels) {
    const Channel& channel = walk_.channels[c];
    bool loose = run.writers.empty() || run.readers.empty();
    if (channel.elements >= kOpenSize) {
      // Of an open array, only the elements some process uses.
      auto only_environment = [&](const std::vector<ProcessId>& ps) {
        return std::all_of(ps.begin(), ps.end(), [&](ProcessId p) { return p == walk_.environment; });
      };
      if (only_environment(run.writers) && only_environment(run.readers)) return;
    }
    std::int64_t length = run.elements.end - run.elements.begin;
    bool element_by_element = !loose && run.writers.size() == 1 && run.readers.size() == 1 &&
                              !has_copies(run.writers) && !has_copies(run.readers) && length <= limits_.elements_drawn;
    if (!element_by_element) {
      join(run, labels.of(run.elements), loose, channel);
      return;
    }
    for (std::int64_t e = run.elements.begin; e < run.elements.end; ++e) {
      join(run, labels.of({e, e + 1}), loose, channel);
    }
  }

  void join(const Run& run, const std::string& label, bool loose, const Channel& channel) {
    std::vector<ProcessId> from = run.writers.empty() ? std::vector<ProcessId>{loose_end(channel)} : run.writers;
    std::vector<ProcessId> to = run.readers.empty() ? std::vector<ProcessId>{loose_end(channel)} : run.readers;
    for (ProcessId f : from) {
      for (ProcessId t : to) network_.edges.push_back({f, t, label, loose});
    }
  }

  // A point for a loose end, in the drawing of the process that declares the channel.
  ProcessId loose_end(const Channel& channel) {
    ProcessId where = channel.environment ? kTop : channel.declarer;
    while (where != kTop && !(drawn_[where] && !network_.processes[where].children.empty())) {
      where = network_.processes[where].parent;
    }
    auto id = static_cast<ProcessId>(network_.processes.size());
    Process point;
    point.kind = ProcessKind::loose_end;
    point.parent = where;
    network_.processes.push_back(point);
    drawn_.push_back(true);
    if (where == kTop) {
      network_.top.push_back(id);
    } else {
      network_.processes[where].children.push_back(id);
    }
    return id;
  }

  void keep_environment_if_joined() {
    ProcessId environment = walk_.environment;
    bool joined = std::any_of(network_.edges.begin(), network_.edges.end(),
                              [&](const Edge& e) { return e.from == environment || e.to == environment; });
    if (!joined) std::erase(network_.top, environment);
  }

  const Tree& tree_;
  const Resolution& resolution_;
  const NetworkLimits& limits_;
  Walk& walk_;
  Network& network_;
  std::vector<bool> drawn_;
};

}  // namespace

void connect(const Tree& tree, const Resolution& resolution, const NetworkLimits& limits, Walk& walk) {
  Connector(tree, resolution, limits, walk).run();
}

}  // namespace vrk::occam2::graph
