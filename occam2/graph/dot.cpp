// The network in Graphviz's DOT language. Node names are made here (env, n1, n2, ..., end1, ...,
// numbered in the order they are drawn), so no occam name needs quoting as an identifier; labels
// are always quoted strings.
#include <string>

#include "occam2/graph/network.h"

namespace vrk::occam2 {

namespace {

constexpr const char* kHeader =
    "// The process network of an occam 2 program, written by vrk --graph.\n"
    "// Render it with Graphviz: dot -Tsvg NET.dot -o NET.svg\n"
    "digraph network {\n"
    "  graph [rankdir=LR, fontname=\"Helvetica\", fontsize=11, style=rounded, color=\"#888888\"];\n"
    "  node [shape=box, style=filled, fillcolor=\"#dae8fc\", color=\"#6c8ebf\", fontname=\"Helvetica\", fontsize=11];\n"
    "  edge [fontname=\"Helvetica\", fontsize=9];\n";

// The attributes each kind of process is drawn with, beyond its label.
std::string_view attributes(ProcessKind kind) {
  switch (kind) {
    case ProcessKind::environment:
      return ", style=\"filled,dashed\", fillcolor=\"#fff2cc\", color=\"#d6b656\"";
    case ProcessKind::instance:
      return "";
    case ProcessKind::in_place:
      return ", style=\"filled,rounded\", fillcolor=\"#f5f5f5\", color=\"#666666\"";
    case ProcessKind::copies:
      return ", shape=box3d";
    case ProcessKind::loose_end:
      return "";
  }
  return "";
}

// A DOT string: quotes and backslashes escaped, line breaks as \n; bytes that are no printable
// ASCII (a file name's) become '?', so the text is valid UTF-8 whatever the source held.
std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (byte < 0x20 || byte >= 0x7f) {
      out += '?';
    } else {
      out += c;
    }
  }
  return out + "\"";
}

class DotWriter {
 public:
  explicit DotWriter(const Network& network) : network_(network), ids_(network.processes.size()) {}

  std::string text() {
    for (ProcessId p : network_.top) name(p);
    out_ = kHeader;
    for (ProcessId p : network_.top) process(p, 1);
    for (const Edge& edge : network_.edges) {
      out_ += "  " + ids_[edge.from] + " -> " + ids_[edge.to] + " [label=" + quoted(edge.label);
      out_ += edge.loose ? ", style=dashed];\n" : "];\n";
    }
    out_ += "}\n";
    return out_;
  }

 private:
  // Names in the order of drawing, depth first.
  void name(ProcessId p) {
    const Process& process = network_.processes[p];
    if (process.kind == ProcessKind::environment) {
      ids_[p] = "env";
    } else if (process.kind == ProcessKind::loose_end) {
      ids_[p] = "end" + std::to_string(++loose_ends_);
    } else {
      ids_[p] = "n" + std::to_string(++nodes_);
    }
    for (ProcessId child : process.children) name(child);
  }

  void process(ProcessId p, int depth) {
    const Process& process = network_.processes[p];
    std::string indent(static_cast<std::size_t>(2 * depth), ' ');
    if (process.kind == ProcessKind::loose_end) {
      out_ += indent + ids_[p] + " [shape=point, width=0.06, label=\"\"];\n";
      return;
    }
    if (process.children.empty()) {
      node(p, indent);
      return;
    }
    out_ += indent + "subgraph cluster_" + ids_[p] + " {\n";
    out_ += indent + "  label=" + quoted(process.label) + ";\n";
    if (process.acts) node(p, indent + "  ");
    for (ProcessId child : process.children) this->process(child, depth + 1);
    out_ += indent + "}\n";
  }

  void node(ProcessId p, const std::string& indent) {
    const Process& process = network_.processes[p];
    out_ += indent + ids_[p] + " [label=" + quoted(process.label) + std::string(attributes(process.kind)) + "];\n";
  }

  const Network& network_;
  std::vector<std::string> ids_;
  std::string out_;
  int nodes_ = 0;
  int loose_ends_ = 0;
};

}  // namespace

std::string dot_text(const Network& network) { return DotWriter(network).text(); }

}  // namespace vrk::occam2
