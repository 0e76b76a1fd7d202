#include "occam2/graph/network.h"

#include "occam2/graph/walk.h"

namespace vrk::occam2 {

NetworkBuild build_network(const Tree& tree, const Resolution& resolution, Diagnostics& diagnostics,
                           const NetworkLimits& limits) {
  graph::Walk walk = graph::walk_program(tree, resolution, diagnostics, limits);
  NetworkBuild build;
  if (!walk.problem.empty()) {
    build.problem = std::move(walk.problem);
    return build;
  }
  graph::connect(tree, resolution, limits, walk);
  build.network = std::move(walk.network);
  return build;
}

}  // namespace vrk::occam2
