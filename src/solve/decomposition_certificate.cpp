// Separator leaves and fragment steps from the decomposition rules' own searches (see
// decomposition_certificate.h), each checked on the branch before it is written.
#include "solve/decomposition_certificate.h"

#include <algorithm>
#include <array>

#include "certcheck/witness_leaves.h"
#include "decompose/three_edge_cuts.h"
#include "decompose/triconnected_components.h"

namespace hc {

namespace {

using certcheck::BranchState;

// The small sides the cut search looks for, as the decomposition rules take them.
constexpr int32_t kMaxFragmentNodes = 5000;

PartGraph partOfBranch(const BranchState& b) {
  PartGraph part;
  part.nodeCount = b.nodes();
  for (size_t e = 0; e < b.edges().size(); ++e)
    if (const certcheck::EdgeStatus s = b.status(static_cast<int32_t>(e)); s != certcheck::kDeleted)
      part.edges.push_back({b.edges()[e].first, b.edges()[e].second, s == certcheck::kForced});
  return part;
}

// A pair of poles with three pieces or more between them, checked as the checker will.
bool writeSeparatorPair(CertificateWriter& writer, const PartGraph& part, const StopToken& stop) {
  SpqrTree tree;
  if (buildSpqrTree(part, stop, tree) != SpqrStatus::kBuilt || tree.nodes.size() < 2) return false;
  BranchState& b = writer.branch();
  for (const SpqrNode& node : tree.nodes) {
    if (node.kind != SkeletonKind::kBond) continue;
    const auto virtuals =
        std::count_if(node.edges.begin(), node.edges.end(), [&](int32_t e) { return tree.isVirtual(e); });
    if (virtuals < 3) continue;
    std::array<int32_t, 2> poles{tree.edgeA[static_cast<size_t>(node.edges[0])],
                                 tree.edgeB[static_cast<size_t>(node.edges[0])]};
    std::sort(poles.begin(), poles.end());
    const uint32_t stamp = b.stamp();
    for (int32_t v : poles) b.marks()[static_cast<size_t>(v)] = stamp;
    if (!certcheck::checkSeparatorLeaf(b, poles, stamp).empty()) continue;
    writer.write(certificateNodeLine("separator", poles));
    return true;
  }
  return false;
}

}  // namespace

bool writeDecompositionProof(CertificateWriter& writer, const NestedProver& prove, const StopToken& stop,
                             int32_t fragmentsToTry) {
  BranchState& b = writer.branch();
  if (b.nodes() < 4 || !b.contradiction().empty()) return false;
  const PartGraph part = partOfBranch(b);
  if (writeSeparatorPair(writer, part, stop)) return true;

  std::vector<ThreeEdgeCut> cuts = findThreeEdgeCuts(part, kMaxFragmentNodes, stop);
  std::stable_sort(cuts.begin(), cuts.end(), [](const ThreeEdgeCut& x, const ThreeEdgeCut& y) {
    return x.side.size() < y.side.size();
  });
  int32_t tried = 0;
  for (const ThreeEdgeCut& cut : cuts) {
    if (tried >= fragmentsToTry || stop.stopRequested()) break;
    const uint32_t stamp = b.stamp();
    for (int32_t v : cut.side) b.marks()[static_cast<size_t>(v)] = stamp;
    std::array<int32_t, 3> inner{};
    if (!certcheck::checkFragmentCut(b, cut.side, stamp, inner).empty()) continue;
    ++tried;
    // The pairs of cut edges in the checker's order: 1 and 2, 1 and 3, 2 and 3.
    std::array<std::string, 3> bodies;
    const std::array<std::array<int32_t, 2>, 3> pairs{{{0, 1}, {0, 2}, {1, 2}}};
    bool refuted = true;
    for (size_t k = 0; k < 3 && refuted; ++k) {
      const std::vector<certcheck::Edge> edges = certcheck::fragmentGraph(
          b, cut.side, inner[static_cast<size_t>(pairs[k][0])], inner[static_cast<size_t>(pairs[k][1])]);
      refuted = prove(static_cast<int32_t>(cut.side.size()) + 1, edges, bodies[k]);
    }
    if (!refuted) continue;
    writer.write(certificateNodeLine("fragment", cut.side));
    for (const std::string& body : bodies) writer.body() += body;
    return true;
  }
  return false;
}

}  // namespace hc
