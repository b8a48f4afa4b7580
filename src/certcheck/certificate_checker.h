// The independent checker of certificates that a graph has no Hamiltonian cycle: it shares
// no code with the solvers, reads the graph as plain edges and the certificate as text (the
// README's section "Certificates"), and accepts only what its own small rules confirm.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <utility>
#include <vector>

namespace hc::certcheck {

struct CheckResult {
  bool accepted = false;
  int64_t line = 0;    // the first failing line (0: the graph or the file itself)
  std::string step;    // that line's text, shortened
  std::string reason;  // why it fails
  int64_t work = 0;    // the checker's own count of its work (tokens, propagation, states)
};

// Checks `certificate` against the graph on nodes 0..n-1 with these edges (loops dropped,
// repeated edges counted once). Never throws; a bad graph or text is a rejection.
CheckResult checkCertificate(int32_t n, const std::vector<std::pair<int32_t, int32_t>>& edges,
                             std::istream& certificate);
// The same for a file: a regular file, else one rejection naming the path.
CheckResult checkCertificateFile(int32_t n, const std::vector<std::pair<int32_t, int32_t>>& edges,
                                 const std::string& path);

}  // namespace hc::certcheck
