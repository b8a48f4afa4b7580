#include "run/cube_parts.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "certcheck/certificate_checker.h"
#include "core/hamiltonian_cycle_check.h"
#include "io/file_access.h"

namespace hc {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string certificateHeader(const EdgeSnapshot& graph) {
  return "hamcycles-certificate 1\ngraph " + std::to_string(graph.nodes()) + " " +
         std::to_string(graph.edges()) + "\n";
}

// The text after a certificate's first two lines (its header), or nothing with `fault` set.
std::string bodyOf(const std::string& certificate, const EdgeSnapshot& graph, std::string& fault) {
  const std::string header = certificateHeader(graph);
  if (certificate.compare(0, header.size(), header) != 0) {
    fault = "it does not begin with the header of this graph's certificates (\"graph " +
            std::to_string(graph.nodes()) + " " + std::to_string(graph.edges()) + "\")";
    return {};
  }
  std::string body = certificate.substr(header.size());
  if (!body.empty() && body.back() != '\n') body += '\n';
  return body;
}

std::string partName(int32_t index, int32_t parts) {
  return "part " + std::to_string(index) + " of " + std::to_string(parts);
}

// A part's sub-proof file as recorded: as it stands, else beside the result file that named it.
std::string proofPathOf(const PartRecord& record) {
  namespace fs = std::filesystem;
  const fs::path recorded(record.proof);
  std::error_code ec;
  if (recorded.is_absolute() || fs::exists(recorded, ec)) return record.proof;
  const fs::path folder = fs::path(record.file).parent_path();
  for (const fs::path& candidate : {folder / recorded, folder / recorded.filename()})
    if (fs::exists(candidate, ec)) return candidate.string();
  return record.proof;
}

}  // namespace

std::string parseCubeIndex(const std::string& text, int32_t& index, int32_t& parts) {
  const std::string usage =
      "--cube takes I/K, part I (0-based) of K parts, 0 <= I < K <= " + std::to_string(kMaxCubeParts) +
      " (got \"" + text + "\")";
  const size_t slash = text.find('/');
  if (slash == std::string::npos) return usage;
  auto number = [](std::string_view digits, int32_t& out) {
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), out);
    return !digits.empty() && error == std::errc() && end == digits.data() + digits.size() &&
           digits[0] != '-';
  };
  const std::string_view all(text);
  if (!number(all.substr(0, slash), index) || !number(all.substr(slash + 1), parts) || parts < 1 ||
      parts > kMaxCubeParts || index < 0 || index >= parts)
    return usage;
  return {};
}

std::string graphFingerprint(const EdgeSnapshot& graph) {
  std::vector<std::pair<int32_t, int32_t>> edges = graph.edgeList();
  for (auto& [u, v] : edges)
    if (u > v) std::swap(u, v);
  std::sort(edges.begin(), edges.end());
  uint64_t hash = 1469598103934665603ull;  // FNV-1a, 64 bits
  auto mix = [&hash](int64_t value) {
    for (int byte = 0; byte < 8; ++byte) {
      hash ^= static_cast<uint64_t>(value >> (8 * byte)) & 0xffu;
      hash *= 1099511628211ull;
    }
  };
  mix(graph.nodes());
  for (auto [u, v] : edges) mix((static_cast<int64_t>(u) << 32) | static_cast<uint32_t>(v));
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

CubePart cubePartOf(const CubeSplit& split, int32_t index) {
  CubePart part;
  part.index = index;
  part.parts = split.parts;
  part.cycle = split.cycle;
  if (!part.cycle.empty()) return part;
  const int32_t leaf = split.partLeaf[static_cast<size_t>(index)];
  part.empty = leaf < 0;
  if (!part.empty) part.branch = branchOf(split, leaf);
  return part;
}

RunOutcome runCubePart(Graph& graph, const EdgeSnapshot& asLoaded, const SolveOptions& solve,
                       const CubePart& part, const RunRequest& request) {
  const std::string comment = "# the sub-proof of " + partName(part.index, part.parts) +
                              " of the split: " + branchText(part.branch) + "\n";
  if (!part.cycle.empty() || part.empty) {
    RunOutcome outcome;
    outcome.seed = request.seed;
    outcome.decidedBy = DecidedBy::kCubeSplit;
    if (!part.cycle.empty()) {
      std::vector<int32_t> cycle = part.cycle;
      if (const CycleCheck check = isHamiltonianCycle(asLoaded, cycle); !check) {
        outcome.cycleFault = check.fault;
        outcome.stopped = StoppedBy::kMethodLimit;
        outcome.stoppedText = "undecided";
        outcome.decidedBy = DecidedBy::kNone;
        return outcome;
      }
      std::rotate(cycle.begin(), std::find(cycle.begin(), cycle.end(), 0), cycle.end());
      outcome.verdict = Verdict::kHamiltonian;
      outcome.cycle = std::move(cycle);
    } else {
      // Nothing is left to prove: the part's share of the split went to an earlier part.
      outcome.verdict = Verdict::kNonHamiltonian;
      outcome.certified = true;
      if (request.certificate != nullptr)
        *request.certificate = certificateHeader(asLoaded) + "# " + partName(part.index, part.parts) +
                               " is empty: its share of the split went to an earlier part\n";
    }
    return outcome;
  }
  SolveOptions options = solve;
  options.branch = part.branch;
  // Without the decomposition rules: a branch's forced and deleted edges leave small cuts
  // all over the graph, so the rules apply almost everywhere and decide the part piece by
  // piece, far slower than the portfolio does, and often through a reduced graph, whose
  // refutation has no certificate step (a part without a sub-proof leaves the whole graph
  // without one).
  options.useDecomposition = false;
  RunOutcome outcome = runMethod(graph, asLoaded, options, request);
  if (request.certificate != nullptr && outcome.certified) {
    std::string& text = *request.certificate;
    text.insert(std::min(text.size(), certificateHeader(asLoaded).size()), comment);
  }
  return outcome;
}

JoinOutcome joinParts(const Graph& graph, const EdgeSnapshot& asLoaded,
                      const std::vector<PartRecord>& records, const JoinRequest& request) {
  const Clock::time_point start = Clock::now();
  JoinOutcome join;
  RunOutcome& outcome = join.outcome;
  if (records.empty()) {
    join.error = "no part's result to join";
    return join;
  }
  const PartRecord& first = records.front();
  const std::string fingerprint = graphFingerprint(asLoaded);
  for (const PartRecord& r : records) {
    if (r.fingerprint != fingerprint)
      join.error = r.file + ": the result of another graph (fingerprint " + r.fingerprint +
                   ", this graph's is " + fingerprint + ")";
    else if (r.parts != first.parts)
      join.error = r.file + ": " + partName(r.index, r.parts) + ", while " + first.file +
                   " is of a split into " + std::to_string(first.parts) + " parts";
    else if (r.index < 0 || r.index >= r.parts)
      join.error = r.file + ": part " + std::to_string(r.index) + " is not one of " + std::to_string(r.parts);
    if (!join.error.empty()) return join;
  }
  join.parts = first.parts;
  const CubeSplit split = splitIntoCubes(graph, join.parts, request.stop);
  if (split.stopped) {
    outcome.stopped = StoppedBy::kInterrupted;
    outcome.stoppedText = "interrupted";
    outcome.seconds = secondsSince(start);
    return join;
  }
  join.openParts = split.cycle.empty() ? openParts(split) : 0;

  // Each part's record that counts: a decided one before an undecided one. A cycle counts
  // whatever branch it was found on (a worker may meet one on its way down the split).
  std::vector<const PartRecord*> best(static_cast<size_t>(join.parts), nullptr);
  for (const PartRecord& r : records) {
    const CubePart part = cubePartOf(split, r.index);
    if (split.cycle.empty() && r.verdict != Verdict::kHamiltonian &&
        (part.branch != r.branch || part.empty != r.empty)) {
      join.error = r.file + ": its branch (" + branchText(r.branch) + ") is not " +
                   partName(r.index, r.parts) + " of this graph's split (" +
                   (part.empty ? std::string("an empty part") : branchText(part.branch)) + ")";
      return join;
    }
    if (r.verdict == Verdict::kHamiltonian) {
      if (const CycleCheck check = isHamiltonianCycle(asLoaded, r.cycle); !check) {
        join.error = r.file + ": its cycle is not a Hamiltonian cycle of the graph (" + check.fault + ")";
        return join;
      }
    }
    join.partSeconds += r.seconds;
    join.largestPartSeconds = std::max(join.largestPartSeconds, r.seconds);
    const PartRecord*& slot = best[static_cast<size_t>(r.index)];
    if (slot == nullptr || (slot->verdict == Verdict::kUndecided && r.verdict != Verdict::kUndecided) ||
        (slot->verdict == Verdict::kNonHamiltonian && !slot->certified && r.certified))
      slot = &r;
  }
  auto finish = [&] {
    outcome.seconds = secondsSince(start);
    return join;
  };
  for (const PartRecord* r : best)
    if (r != nullptr && r->verdict == Verdict::kHamiltonian) {
      outcome.verdict = Verdict::kHamiltonian;
      outcome.cycle = r->cycle;
      std::rotate(outcome.cycle.begin(), std::find(outcome.cycle.begin(), outcome.cycle.end(), 0),
                  outcome.cycle.end());
      outcome.decidedBy = r->decidedBy;
      join.foundBy = r->index;
      return finish();
    }
  for (int32_t i = 0; i < join.parts; ++i) {
    if (!split.cycle.empty() || split.partLeaf[static_cast<size_t>(i)] < 0) continue;
    const PartRecord* r = best[static_cast<size_t>(i)];
    if (r == nullptr)
      join.missing.push_back(i);
    else if (r->verdict == Verdict::kUndecided)
      join.undecided.push_back(i);
  }
  if (!split.cycle.empty()) {
    // Every part reports the split's own cycle; a record that did not was refused above.
    outcome.verdict = Verdict::kHamiltonian;
    outcome.cycle = split.cycle;
    outcome.decidedBy = DecidedBy::kCubeSplit;
    return finish();
  }
  if (!join.missing.empty() || !join.undecided.empty()) {
    outcome.stopped = StoppedBy::kMethodLimit;
    outcome.stoppedText = "parts missing or undecided";
    return finish();
  }
  outcome.verdict = Verdict::kNonHamiltonian;
  outcome.decidedBy = DecidedBy::kCubeSplit;
  if (request.proof.empty()) return finish();

  // The certificate: the split's tree in preorder, each leaf's proof in its place.
  std::string& text = join.certificate;
  text = certificateHeader(asLoaded) + "# joined from the " + std::to_string(join.parts) +
         " parts of the split (" + std::to_string(join.openParts) + " open)\n";
  std::string note;
  std::vector<int32_t> pending{0};
  while (!pending.empty() && note.empty()) {
    const int32_t at = pending.back();
    pending.pop_back();
    const CubeNode& node = split.nodes[static_cast<size_t>(at)];
    if (!node.isLeaf()) {
      text += "split " + std::to_string(node.u) + " " + std::to_string(node.v) + "\n";
      pending.push_back(node.deletedChild);
      pending.push_back(node.forcedChild);
      continue;
    }
    std::string certificate, fault;
    if (node.refuted) {
      // A branch the split's pruning refuted: proved here (it is over in a moment).
      SolveOptions options;
      options.threads = request.threads;
      options.branch = branchOf(split, at);
      options.certificate = &certificate;
      const SolveResult solved = solveGraph(graph, options, request.stop);
      if (solved.verdict != kNotHamiltonian || !solved.certified)
        note = "the branch " + branchText(options.branch) + ", which the split refuted, has no certificate" +
               (solved.certificateNote.empty() ? "" : " (" + solved.certificateNote + ")");
    } else {
      const PartRecord& r = *best[static_cast<size_t>(node.part)];
      const std::string path = proofPathOf(r);
      if (!r.certified || r.proof.empty()) {
        note = partName(r.index, r.parts) + " has no certificate (" + r.file + ")";
      } else if (const FileStatus read = readInputFile(path, certificate, request.stop); !read.ok) {
        note = partName(r.index, r.parts) + "'s sub-proof cannot be read: " + read.error;
      }
    }
    if (!note.empty()) break;
    const std::string body = bodyOf(certificate, asLoaded, fault);
    if (!fault.empty()) {
      note = partName(node.part, join.parts) + "'s sub-proof: " + fault;
      break;
    }
    text += body;
  }
  if (note.empty()) {
    std::istringstream in(text);
    const certcheck::CheckResult checked =
        certcheck::checkCertificate(asLoaded.nodes(), asLoaded.edgeList(), in);
    if (!checked.accepted)
      note = "the joined certificate fails the check at line " + std::to_string(checked.line) + " (" +
             checked.reason + ")";
  }
  outcome.certified = note.empty();
  outcome.certificateNote = note;
  if (!outcome.certified) text.clear();
  return finish();
}

}  // namespace hc
