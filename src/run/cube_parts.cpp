#include "run/cube_parts.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>

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
std::string_view bodyOf(const std::string& certificate, const EdgeSnapshot& graph, std::string& fault) {
  const std::string header = certificateHeader(graph);
  if (certificate.compare(0, header.size(), header) != 0) {
    fault = "it does not begin with the header of this graph's certificates (\"graph " +
            std::to_string(graph.nodes()) + " " + std::to_string(graph.edges()) + "\")";
    return {};
  }
  return std::string_view(certificate).substr(header.size());
}

std::string partName(int32_t index, int32_t parts) {
  return "part " + std::to_string(index) + " of " + std::to_string(parts);
}

// "part 3 of 16" for a part of the whole graph's split, "part 3/16 5/8" for a nested one.
std::string partName(const CubePath& path) {
  return path.size() == 1 ? partName(path[0].part, path[0].parts) : "part " + cubePathText(path);
}

CubePath pathOf(const PartRecord& r) {
  CubePath path{{r.index, r.parts}};
  path.insert(path.end(), r.nested.begin(), r.nested.end());
  return path;
}

// A part's sub-proof file as recorded: as it stands, else beside the result file that named it.
std::string proofPathOf(const PartRecord& record) {
  namespace fs = std::filesystem;
  const fs::path recorded(record.proof);
  std::error_code ec;
  if (fs::exists(recorded, ec)) return record.proof;
  // A folder of results moved or copied elsewhere: the proof beside its record.
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

std::string cubePathText(const CubePath& path) {
  std::string text;
  for (const CubeIndex& level : path)
    text += (text.empty() ? "" : " ") + std::to_string(level.part) + "/" + std::to_string(level.parts);
  return text;
}

std::string parseCubePath(const std::vector<std::string>& texts, CubePath& path) {
  if (texts.size() > kMaxCubeDepth)
    return "--cube is given " + std::to_string(texts.size()) + " times: a part's path is at most " +
           std::to_string(kMaxCubeDepth) + " levels deep";
  path.clear();
  for (const std::string& text : texts) {
    CubeIndex level;
    if (std::string problem = parseCubeIndex(text, level.part, level.parts); !problem.empty()) return problem;
    path.push_back(level);
  }
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
  part.path = {{index, split.parts}};
  if (!part.cycle.empty()) return part;
  const int32_t leaf = split.partLeaf[static_cast<size_t>(index)];
  part.empty = leaf < 0;
  if (!part.empty) part.branch = branchOf(split, leaf);
  return part;
}

CubePart cubePartAlong(const Graph& graph, const CubePath& path, const StopToken* stop) {
  CubePart part;
  std::vector<BranchEdge> base;
  for (const CubeIndex& level : path) {
    const CubeSplit split = splitIntoCubes(graph, level.parts, stop, level.part, base);
    if (split.stopped) {
      part = CubePart{};
      part.stopped = true;
      break;
    }
    part = cubePartOf(split, level.part);
    if (!part.cycle.empty() || part.empty) break;
    base = part.branch;
  }
  part.index = path.front().part;
  part.parts = path.front().parts;
  part.path = path;
  return part;
}

RunOutcome runCubePart(Graph& graph, const EdgeSnapshot& asLoaded, const SolveOptions& solve,
                       const CubePart& part, const RunRequest& request) {
  const CubePath path = part.path.empty() ? CubePath{{part.index, part.parts}} : part.path;
  const std::string comment =
      "# the sub-proof of " + partName(path) + " of the split: " + branchText(part.branch) + "\n";
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
        *request.certificate = certificateHeader(asLoaded) + "# " + partName(path) +
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

namespace {

// The records given for one part, and for the parts of its split again.
struct Slot {
  const PartRecord* own = nullptr;      // the part's own record that counts
  int32_t subParts = 0;                 // the parts of its split again (0: no record has one)
  const PartRecord* splitBy = nullptr;  // the first record of a part of that split
  std::map<int32_t, Slot> children;     // by part
};

// The split of each part the records go below (the whole graph's under the empty path),
// computed once, and everything the join works out from them.
class Joiner {
 public:
  Joiner(const Graph& graph, const EdgeSnapshot& asLoaded, const JoinRequest& request, JoinOutcome& join)
      : graph_(graph), asLoaded_(asLoaded), request_(request), join_(join) {}

  // The split of the part at `above` into `parts` (the first call for `above` decides the
  // number), its branch `base`; null when a stop ended it.
  const CubeSplit* splitOf(const CubePath& above, int32_t parts, const std::vector<BranchEdge>& base) {
    auto [at, fresh] = splits_.try_emplace(above);
    if (fresh) at->second = splitIntoCubes(graph_, parts, request_.stop, -1, base);
    return at->second.stopped ? nullptr : &at->second;
  }
  const CubeSplit* splitAt(const CubePath& above) const {
    const auto at = splits_.find(above);
    return at == splits_.end() ? nullptr : &at->second;
  }

  // What the splits say of the part at `path`, as a worker's cubePartAlong does; stopped when
  // a stop ended a split.
  CubePart expected(const CubePath& path) {
    CubePart part;
    std::vector<BranchEdge> base;
    CubePath above;
    for (const CubeIndex& level : path) {
      const CubeSplit* split = splitOf(above, level.parts, base);
      if (split == nullptr) {
        part.stopped = true;
        return part;
      }
      part = cubePartOf(*split, level.part);
      above.push_back(level);
      if (!part.cycle.empty() || part.empty) break;
      base = part.branch;
    }
    part.path = path;
    return part;
  }

  // The first cycle a split met itself, or none.
  const std::vector<int32_t>* splitCycle() const {
    for (const auto& [above, split] : splits_)
      if (!split.cycle.empty()) return &split.cycle;
    return nullptr;
  }

  // Names the open parts of `split` (the split of the part at `above`) that no decided
  // record settles, by the deepest parts missing or undecided.
  void settle(const CubeSplit& split, const CubePath& above, const Slot* slots) {
    for (int32_t i = 0; i < split.parts; ++i) {
      if (split.partLeaf[static_cast<size_t>(i)] < 0) continue;
      CubePath path = above;
      path.push_back({i, split.parts});
      const Slot* slot = childOf(slots, i);
      if (slot != nullptr && slot->own != nullptr && slot->own->verdict != Verdict::kUndecided) continue;
      if (const CubeSplit* again = slot != nullptr && slot->subParts > 0 ? splitAt(path) : nullptr) {
        settle(*again, path, slot);
        continue;
      }
      const bool undecided = slot != nullptr && slot->own != nullptr;
      (undecided ? join_.undecidedPaths : join_.missingPaths).push_back(path);
      if (path.size() == 1) (undecided ? join_.undecided : join_.missing).push_back(i);
    }
  }

  // Writes the proof of the split of the part at `above` to `out`: its tree in preorder, each
  // leaf's proof in its place (a part's sub-proof, or the proof of its split again), one
  // sub-proof in memory at a time. `note` says why there is none.
  void prove(const CubeSplit& split, const CubePath& above, const Slot* slots, AtomicFileWriter& out,
             std::string& note) {
    if (!above.empty())
      out.write("# " + partName(above) + " split again into " + std::to_string(split.parts) + " parts (" +
                std::to_string(openParts(split)) + " open)\n");
    std::vector<int32_t> pending{0};
    // A failed write ends it too: the writer keeps the failure for the join to report.
    while (!pending.empty() && note.empty() && out.status().ok) {
      const int32_t at = pending.back();
      pending.pop_back();
      const CubeNode& node = split.nodes[static_cast<size_t>(at)];
      if (!node.isLeaf()) {
        out.write("split " + std::to_string(node.u) + " " + std::to_string(node.v) + "\n");
        pending.push_back(node.deletedChild);
        pending.push_back(node.forcedChild);
        continue;
      }
      std::string certificate, fault;
      CubePath path = above;
      if (node.refuted) {
        // A branch the split's pruning refuted: proved here (it is over in a moment).
        SolveOptions options;
        options.threads = request_.threads;
        options.branch = branchOf(split, at);
        options.certificate = &certificate;
        const SolveResult solved = solveGraph(graph_, options, request_.stop);
        if (solved.verdict != kNotHamiltonian || !solved.certified)
          note = "the branch " + branchText(options.branch) +
                 ", which the split refuted, has no certificate" +
                 (solved.certificateNote.empty() ? "" : " (" + solved.certificateNote + ")");
      } else {
        path.push_back({node.part, split.parts});
        const Slot* slot = childOf(slots, node.part);
        if (slot == nullptr || slot->own == nullptr || slot->own->verdict == Verdict::kUndecided) {
          // settle() found it settled by the records of its split again.
          const CubeSplit* again = slot != nullptr ? splitAt(path) : nullptr;
          if (again == nullptr)
            note = partName(path) + " has no record";
          else
            prove(*again, path, slot, out, note);
          continue;
        }
        const PartRecord& r = *slot->own;
        const std::string file = proofPathOf(r);
        if (!r.certified || r.proof.empty()) {
          note = partName(path) + " has no certificate (" + r.file + ")";
        } else if (const FileStatus read = readInputFile(file, certificate, request_.stop); !read.ok) {
          note = partName(path) + "'s sub-proof cannot be read: " + read.error;
        }
      }
      if (!note.empty()) break;
      const std::string_view body = bodyOf(certificate, asLoaded_, fault);
      if (!fault.empty()) {
        note = partName(path) + "'s sub-proof: " + fault;
        break;
      }
      out.write(body);
      if (!body.empty() && body.back() != '\n') out.write("\n");
    }
  }

  static const Slot* childOf(const Slot* slots, int32_t part) {
    if (slots == nullptr) return nullptr;
    const auto at = slots->children.find(part);
    return at == slots->children.end() ? nullptr : &at->second;
  }

 private:
  const Graph& graph_;
  const EdgeSnapshot& asLoaded_;
  const JoinRequest& request_;
  JoinOutcome& join_;
  std::map<CubePath, CubeSplit> splits_;
};

// Why the records do not fit together (one line naming a file), or "": each record's place
// in `top`, each part's own record chosen (a decided one before an undecided one).
std::string placeRecords(const std::vector<PartRecord>& records, Slot& top) {
  for (const PartRecord& r : records) {
    const CubePath path = pathOf(r);
    if (path.size() > kMaxCubeDepth)
      return r.file + ": part " + cubePathText(path) + " is " + std::to_string(path.size()) +
             " levels deep (at most " + std::to_string(kMaxCubeDepth) + ")";
    for (const CubeIndex& level : r.nested)
      if (level.parts < 1 || level.parts > kMaxCubeParts || level.part < 0 || level.part >= level.parts)
        return r.file + ": part " + cubePathText(path) +
               " is not a part (each level I/K has 0 <= I < K <= " + std::to_string(kMaxCubeParts) + ")";
    Slot* slot = &top.children[r.index];
    for (size_t level = 1; level < path.size(); ++level) {
      if (slot->subParts == 0) {
        slot->subParts = path[level].parts;
        slot->splitBy = &r;
      } else if (slot->subParts != path[level].parts) {
        const CubePath above(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(level));
        return r.file + ": part " + cubePathText(path) + ", while " + slot->splitBy->file + " splits part " +
               cubePathText(above) + " into " + std::to_string(slot->subParts) + " parts";
      }
      slot = &slot->children[path[level].part];
    }
    const PartRecord*& own = slot->own;
    if (own == nullptr || (own->verdict == Verdict::kUndecided && r.verdict != Verdict::kUndecided) ||
        (own->verdict == Verdict::kNonHamiltonian && !own->certified && r.certified))
      own = &r;
  }
  return {};
}

}  // namespace

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
  Slot top;
  join.error = placeRecords(records, top);
  if (!join.error.empty()) return join;
  join.parts = first.parts;
  Joiner joiner(graph, asLoaded, request, join);
  auto interrupted = [&] {
    outcome.stopped = StoppedBy::kInterrupted;
    outcome.stoppedText = "interrupted";
    outcome.seconds = secondsSince(start);
    return join;
  };
  const CubeSplit* whole = joiner.splitOf({}, join.parts, {});
  if (whole == nullptr) return interrupted();
  const CubeSplit& split = *whole;
  join.openParts = split.cycle.empty() ? openParts(split) : 0;

  // Each record against the split. A cycle counts whatever branch it was found on (a worker
  // may meet one on its way down the split).
  const PartRecord* found = nullptr;
  for (const PartRecord& r : records) {
    const CubePath path = pathOf(r);
    const CubePart part = joiner.expected(path);
    if (part.stopped) return interrupted();
    if (part.cycle.empty() && r.verdict != Verdict::kHamiltonian &&
        (part.branch != r.branch || part.empty != r.empty)) {
      join.error = r.file + ": its branch (" + branchText(r.branch) + ") is not " + partName(path) +
                   " of this graph's split (" +
                   (part.empty ? std::string("an empty part") : branchText(part.branch)) + ")";
      return join;
    }
    if (r.verdict == Verdict::kHamiltonian) {
      if (const CycleCheck check = isHamiltonianCycle(asLoaded, r.cycle); !check) {
        join.error = r.file + ": its cycle is not a Hamiltonian cycle of the graph (" + check.fault + ")";
        return join;
      }
      if (found == nullptr || path < pathOf(*found)) found = &r;
    }
    join.partSeconds += r.seconds;
    join.largestPartSeconds = std::max(join.largestPartSeconds, r.seconds);
  }
  auto finish = [&] {
    outcome.seconds = secondsSince(start);
    return join;
  };
  if (found != nullptr) {
    outcome.verdict = Verdict::kHamiltonian;
    outcome.cycle = found->cycle;
    std::rotate(outcome.cycle.begin(), std::find(outcome.cycle.begin(), outcome.cycle.end(), 0),
                outcome.cycle.end());
    outcome.decidedBy = found->decidedBy;
    join.foundBy = found->index;
    join.foundByPath = pathOf(*found);
    return finish();
  }
  if (const std::vector<int32_t>* cycle = joiner.splitCycle()) {
    // Every part reports a split's own cycle; a record that did not was refused above.
    outcome.verdict = Verdict::kHamiltonian;
    outcome.cycle = *cycle;
    outcome.decidedBy = DecidedBy::kCubeSplit;
    return finish();
  }
  joiner.settle(split, {}, &top);
  if (!join.missingPaths.empty() || !join.undecidedPaths.empty()) {
    outcome.stopped = StoppedBy::kMethodLimit;
    outcome.stoppedText = "parts missing or undecided";
    return finish();
  }
  outcome.verdict = Verdict::kNonHamiltonian;
  outcome.decidedBy = DecidedBy::kCubeSplit;
  if (request.proof.empty()) return finish();

  // The certificate: the split's tree in preorder, each leaf's proof in its place, written
  // as it is put together (gigabytes at K = 1024 need not fit in memory), checked from the
  // file and only then put in place.
  AtomicFileWriter out(request.proof);
  out.write(certificateHeader(asLoaded) + "# joined from the " + std::to_string(join.parts) +
            " parts of the split (" + std::to_string(join.openParts) + " open)\n");
  std::string note;
  joiner.prove(split, {}, &top, out, note);
  if (note.empty() && out.flush().ok) {
    const certcheck::CheckResult checked =
        certcheck::checkCertificateFile(asLoaded.nodes(), asLoaded.edgeList(), out.temporaryPath());
    if (!checked.accepted)
      note = "the joined certificate fails the check at line " + std::to_string(checked.line) + " (" +
             checked.reason + ")";
  }
  if (note.empty() && out.commit().ok) join.proofWritten = true;
  join.proofError = out.status().error;
  outcome.certified = note.empty() && join.proofWritten;
  outcome.certificateNote = !note.empty() ? note : join.proofError;
  return finish();
}

}  // namespace hc
