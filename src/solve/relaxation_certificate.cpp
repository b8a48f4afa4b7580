// The linear relaxation's certificate (see relaxation_certificate.h).
#include "solve/relaxation_certificate.h"

#include <sstream>
#include <string>
#include <vector>

#include "certcheck/certificate_text.h"
#include "certcheck/proof_parts.h"
#include "certcheck/witness_leaves.h"

namespace hc {

namespace {

// The proof as a `separator` leaf or a `relaxation` part, once the checker's code accepts it
// in the branch.
bool writeProof(CertificateWriter& writer, const RelaxationProof& proof) {
  BranchState& b = writer.branch();
  std::vector<int32_t> separator;
  for (const auto& [v, y] : proof.nodes)
    if (y < 0) separator.push_back(v);
  if (!separator.empty()) {
    const uint32_t stamp = b.stamp();
    for (int32_t v : separator) b.marks()[static_cast<size_t>(v)] = stamp;
    if (certcheck::checkSeparatorLeaf(b, separator, stamp).empty()) {
      writer.write(certificateNodeLine("separator", separator));
      return true;
    }
  }
  std::string part = "relaxation\n";
  for (const auto& [v, y] : proof.nodes) part += "node " + std::to_string(v) + ' ' + std::to_string(y) + '\n';
  for (const auto& [y, set] : proof.cuts) {
    part += "cut " + std::to_string(y);
    for (int32_t v : set) part += ' ' + std::to_string(v);
    part += '\n';
  }
  for (const RelaxationBlossom& blossom : proof.blossoms) {
    part += "blossom " + std::to_string(blossom.multiplier);
    for (int32_t v : blossom.handle) part += ' ' + std::to_string(v);
    part += " teeth";
    for (const auto& [u, v] : blossom.teeth) part += ' ' + std::to_string(u) + ' ' + std::to_string(v);
    part += '\n';
  }
  part += "end";
  std::istringstream in(part);
  certcheck::CertificateLines lines(in);
  try {
    lines.next();
    certcheck::checkRelaxationPart(b, lines);
  } catch (const certcheck::Rejection&) {
    return false;
  }
  writer.write(part);
  return true;
}

}  // namespace

bool writeRelaxationProof(CertificateWriter& writer, const RelaxationProof& found, const StopToken& stop) {
  if (!found.nodes.empty() && writeProof(writer, found)) return true;
  const BranchState& b = writer.branch();
  std::vector<PartEdge> edges;
  for (size_t e = 0; e < b.edges().size(); ++e)
    if (const certcheck::EdgeStatus s = b.status(static_cast<int32_t>(e)); s != kDeleted)
      edges.push_back({b.edges()[e].first, b.edges()[e].second, s == kForced});
  const LinearRelaxationResult relaxation = solveLinearRelaxation(b.nodes(), edges, stop);
  return relaxation.outcome == RelaxationOutcome::kNoCycle && writeProof(writer, relaxation.proof);
}

}  // namespace hc
