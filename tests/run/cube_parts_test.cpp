// The split of a graph into parts and their join, on small graphs whose Hamiltonian cycles
// are all listed by brute force: every cycle lies in exactly one open part's branch and in
// no branch the split refuted; the split is the same every time, and a worker's path to its
// part is the whole tree's; and the parts, each solved
// on its own and joined, give the true verdict, a non-Hamiltonian one with a certificate the
// checker accepts (the join checks it, and so does this test again). The same holds with a
// part split again, its parts' records joined in place of its own.
#include "run/cube_parts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "certcheck/certificate_checker.h"
#include "solve/solve_zoo.h"
#include "support/test_graphs.h"

namespace hc::testing {
namespace {

// Every Hamiltonian cycle of the graph, each as its set of edges (smaller end first).
std::vector<EdgeSet> allCycles(int32_t n, const EdgeList& edges) {
  std::vector<std::vector<int32_t>> adj(static_cast<size_t>(n));
  for (auto [a, b] : edges) {
    adj[static_cast<size_t>(a)].push_back(b);
    adj[static_cast<size_t>(b)].push_back(a);
  }
  std::vector<EdgeSet> cycles;
  std::vector<int32_t> path{0};
  std::vector<bool> used(static_cast<size_t>(n), false);
  used[0] = true;
  auto walk = [&](auto&& self) -> void {
    const int32_t at = path.back();
    if (static_cast<int32_t>(path.size()) == n) {
      const auto& back = adj[static_cast<size_t>(at)];
      if (n >= 3 && path[1] < at && std::find(back.begin(), back.end(), 0) != back.end()) {
        EdgeSet cycle;
        for (int32_t i = 0; i < n; ++i)
          cycle.insert(std::minmax(path[static_cast<size_t>(i)], path[static_cast<size_t>((i + 1) % n)]));
        cycles.push_back(cycle);
      }
      return;
    }
    for (int32_t next : adj[static_cast<size_t>(at)])
      if (!used[static_cast<size_t>(next)]) {
        used[static_cast<size_t>(next)] = true;
        path.push_back(next);
        self(self);
        path.pop_back();
        used[static_cast<size_t>(next)] = false;
      }
  };
  walk(walk);
  return cycles;
}

bool inBranch(const EdgeSet& cycle, const std::vector<BranchEdge>& branch) {
  for (const BranchEdge& e : branch)
    if (cycle.count(std::minmax(e.u, e.v)) != static_cast<size_t>(e.forced)) return false;
  return true;
}

TEST(CubeParts, PartsCoverEveryCycleOnceAndJoinToTheTrueVerdict) {
  std::vector<std::pair<int32_t, EdgeList>> graphs;
  const auto all = zoo();
  for (size_t k = 0; k < all.size(); k += 3) graphs.push_back(all[k]);
  std::mt19937 rng(37);
  for (int32_t n : {12, 14, 16}) graphs.emplace_back(n, randomRegularEdges(rng, n, 3));
  graphs.emplace_back(22, generalizedPetersenEdges(11, 2));  // non-Hamiltonian, needs real parts
  graphs.emplace_back(16, generalizedPetersenEdges(8, 3));
  const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "hc-cube-parts-test";
  std::filesystem::create_directories(scratch);
  int64_t open = 0;
  for (const auto& [n, edges] : graphs) {
    const std::vector<EdgeSet> cycles = allCycles(n, edges);
    Graph graph = makeGraph(n, edges);
    const EdgeSnapshot asLoaded(graph);
    for (const int32_t parts : {1, 4, 16}) {
      SCOPED_TRACE(std::to_string(n) + " nodes, " + std::to_string(edges.size()) +
                   " edges, K = " + std::to_string(parts));
      const CubeSplit split = splitIntoCubes(graph, parts);
      const CubeSplit again = splitIntoCubes(graph, parts);
      ASSERT_FALSE(split.stopped);
      ASSERT_EQ(split.partLeaf.size(), static_cast<size_t>(parts));
      open += openParts(split);
      std::vector<PartRecord> records;
      auto solvePart = [&](const CubePart& part, RunOutcome& outcome) {
        std::string name = "part";
        for (const CubeIndex& level : part.path) name += "-" + std::to_string(level.part);
        std::string certificate;
        outcome = runCubePart(graph, asLoaded, SolveOptions{.threads = 1}, part,
                              {.seed = 1, .certificate = &certificate});
        PartRecord r{.file = (scratch / (name + ".json")).string(),
                     .index = part.path[0].part,
                     .parts = part.path[0].parts,
                     .nested = CubePath(part.path.begin() + 1, part.path.end()),
                     .fingerprint = graphFingerprint(asLoaded),
                     .branch = part.branch,
                     .empty = part.empty,
                     .verdict = outcome.verdict,
                     .cycle = outcome.cycle,
                     .seconds = outcome.seconds,
                     .certified = outcome.certified};
        if (outcome.certified) {
          r.proof = (scratch / (name + ".proof")).string();
          std::ofstream(r.proof, std::ios::binary) << certificate;
        }
        records.push_back(r);
      };
      for (int32_t i = 0; i < parts; ++i) {
        const CubePart part = cubePartOf(split, i);
        ASSERT_EQ(part.branch, cubePartOf(again, i).branch);
        // A worker follows only its own path, to the same part (unless one of them met a
        // cycle on the way, which decides the graph).
        const CubePart own = cubePartOf(splitIntoCubes(graph, parts, nullptr, i), i);
        if (own.cycle.empty() && part.cycle.empty()) {
          ASSERT_EQ(own.branch, part.branch);
          ASSERT_EQ(own.empty, part.empty);
        }
        if (!part.cycle.empty()) {
          ASSERT_FALSE(cycles.empty());
        }
        RunOutcome outcome;
        solvePart(part, outcome);
        const bool anyCycle = std::any_of(cycles.begin(), cycles.end(), [&](const EdgeSet& c) {
          return part.cycle.empty() && !part.empty && inBranch(c, part.branch);
        });
        if (anyCycle) {
          EXPECT_EQ(outcome.verdict, Verdict::kHamiltonian);
        }
        if (cycles.empty()) {
          ASSERT_EQ(outcome.verdict, Verdict::kNonHamiltonian);
        }
      }
      // Each cycle in exactly one open part's branch, in no refuted leaf.
      if (split.cycle.empty())
        for (const EdgeSet& cycle : cycles) {
          int32_t holding = 0;
          for (size_t node = 0; node < split.nodes.size(); ++node)
            if (split.nodes[node].isLeaf() && inBranch(cycle, branchOf(split, static_cast<int32_t>(node)))) {
              EXPECT_FALSE(split.nodes[node].refuted);
              ++holding;
            }
          EXPECT_EQ(holding, 1);
        }
      // The open part with the most open edges split again into 4, its own record dropped:
      // every cycle of its branch in exactly one open part of that split, which a worker finds
      // as the join does.
      int32_t resplit = -1;
      int64_t most = -1;
      for (int32_t i = 0; parts == 4 && split.cycle.empty() && i < parts; ++i)
        if (const int32_t leaf = split.partLeaf[static_cast<size_t>(i)];
            leaf >= 0 && split.nodes[static_cast<size_t>(leaf)].openEdges > most) {
          resplit = i;
          most = split.nodes[static_cast<size_t>(leaf)].openEdges;
        }
      if (resplit >= 0) {
        const std::vector<BranchEdge> above = cubePartOf(split, resplit).branch;
        records.erase(records.begin() + resplit);
        const CubeSplit nested = splitIntoCubes(graph, 4, nullptr, -1, above);
        for (int32_t j = 0; j < 4; ++j) {
          CubePart part = cubePartOf(nested, j);
          part.path = {{resplit, parts}, {j, 4}};
          const CubePart own = cubePartAlong(graph, part.path, nullptr);
          if (own.cycle.empty() && part.cycle.empty()) {
            ASSERT_EQ(own.branch, part.branch);
            ASSERT_EQ(own.empty, part.empty);
          }
          RunOutcome outcome;
          solvePart(part, outcome);
        }
        if (nested.cycle.empty())
          for (const EdgeSet& cycle : cycles) {
            if (!inBranch(cycle, above)) continue;
            int32_t holding = 0;
            for (size_t node = 0; node < nested.nodes.size(); ++node)
              if (nested.nodes[node].isLeaf() &&
                  inBranch(cycle, branchOf(nested, static_cast<int32_t>(node)))) {
                EXPECT_FALSE(nested.nodes[node].refuted);
                ++holding;
              }
            EXPECT_EQ(holding, 1);
          }
      }
      const std::string wanted = (scratch / "joined.proof").string();
      std::filesystem::remove(wanted);
      const JoinOutcome joined = joinParts(graph, asLoaded, records, {.proof = wanted});
      ASSERT_TRUE(joined.error.empty()) << joined.error;
      EXPECT_EQ(joined.outcome.verdict, cycles.empty() ? Verdict::kNonHamiltonian : Verdict::kHamiltonian);
      EXPECT_EQ(joined.proofWritten, cycles.empty());
      EXPECT_EQ(std::filesystem::exists(wanted), cycles.empty());
      for (const auto& entry : std::filesystem::directory_iterator(scratch))  // nor a temporary file left
        EXPECT_NE(entry.path().filename().string().rfind(".joined.proof", 0), 0u) << entry.path();
      if (cycles.empty()) {
        ASSERT_TRUE(joined.outcome.certified) << joined.outcome.certificateNote;
        const certcheck::CheckResult checked = certcheck::checkCertificateFile(n, edges, wanted);
        EXPECT_TRUE(checked.accepted) << checked.line << ": " << checked.reason;
        // The folder of results moved elsewhere: each proof is found beside its record.
        const std::filesystem::path moved = scratch / "moved";
        std::filesystem::create_directories(moved);
        for (PartRecord& r : records) {
          r.file = (moved / std::filesystem::path(r.file).filename()).string();
          if (!r.proof.empty())
            std::filesystem::rename(r.proof, moved / std::filesystem::path(r.proof).filename());
        }
        const JoinOutcome again = joinParts(graph, asLoaded, records, {.proof = wanted});
        EXPECT_TRUE(again.outcome.certified) << again.outcome.certificateNote;
        std::filesystem::remove_all(moved);
      }
    }
  }
  EXPECT_GT(open, 100);  // the split has real work to share out, not only refuted roots
  std::filesystem::remove_all(scratch);
}

}  // namespace
}  // namespace hc::testing
