// One hard graph across many machines: `solve GRAPH --cube I/K` solves part I of the graph's
// split into K parts (solve/cube_split.h) and records its verdict with the part's branch;
// `join GRAPH RESULT...` reads the parts' records and settles the whole graph's verdict:
//  - Hamiltonian as soon as one part found a cycle (checked against the graph as loaded);
//  - non-Hamiltonian when every open part is refuted, with one certificate when asked: the
//    split's tree as `split` steps, each part's sub-proof in its place and the leaves the
//    split refuted proved here, the whole checked by the independent checker before it is
//    written;
//  - otherwise undecided, naming the parts that are missing or undecided.
// The join recomputes the split itself, so a record of another graph, of another K, or of a
// branch that is not the part's, is refused with one line naming the file.
//
// A part can be split again (a nested split, `--cube 5/16 --cube 3/8`): its path names the
// part of the whole graph's split, then the part of that part's split, and so on. The join
// settles a part by its own decided record or, failing that, by the records of all the parts
// of its split (recursively), and puts that split's `split` steps in the part's place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/edge_snapshot.h"
#include "core/graph.h"
#include "core/stop_token.h"
#include "run/run_method.h"
#include "solve/cube_split.h"

namespace hc {

// "I/K" of --cube: 0 <= I < K <= kMaxCubeParts. An empty string and a message when not.
std::string parseCubeIndex(const std::string& text, int32_t& index, int32_t& parts);

// One level of a part's path: part `part` of a split into `parts`.
struct CubeIndex {
  int32_t part = 0;
  int32_t parts = 0;
  auto operator<=>(const CubeIndex&) const = default;
};
// A part of the whole graph's split, then a part of that part's split, and so on.
using CubePath = std::vector<CubeIndex>;
// How deep a path goes: a part and its splits again, seven times over.
inline constexpr size_t kMaxCubeDepth = 8;

// "5/16 3/8" (the levels as --cube takes them, one after the other).
std::string cubePathText(const CubePath& path);
// The --cube values in order, each checked by parseCubeIndex, at most kMaxCubeDepth of them.
std::string parseCubePath(const std::vector<std::string>& texts, CubePath& path);

// A fingerprint of the graph as loaded: 16 hex digits of a hash of its node count and its
// edges (ends ordered, sorted), so a part's record names the graph it was run on.
std::string graphFingerprint(const EdgeSnapshot& graph);

// What the split (the whole tree, or the path to this part) says of one part before anything
// is solved: the branch to solve, or that the part has nothing to solve (its branch went to
// an earlier part, or was refuted), or that the split met a Hamiltonian cycle.
struct CubePart {
  int32_t index = 0;
  int32_t parts = 0;
  std::vector<BranchEdge> branch;
  bool empty = false;
  std::vector<int32_t> cycle;  // the split's own cycle, when it met one
  CubePath path;               // the whole path (cubePartOf: the one level {index, parts})
  bool stopped = false;        // cubePartAlong: a stop ended a split; nothing else holds
};
CubePart cubePartOf(const CubeSplit& split, int32_t index);

// The part at `path` (not empty), as a worker finds it: each level's split followed only
// down the path to its part (index and parts: the first level). A part whose level met a
// cycle carries it, and a part below an empty one is empty. `stop` (may be null) ends it
// early (stopped).
CubePart cubePartAlong(const Graph& graph, const CubePath& path, const StopToken* stop);

// Solves the part: the portfolio with the part's branch (`solve` as given, its seed the
// request's), or the split's own answer (its cycle; an empty part is refuted with nothing to
// prove, decided by the cube split). The certificate (when asked) is the branch's: the lines after
// its first two are the sub-proof the join puts in place.
RunOutcome runCubePart(Graph& graph, const EdgeSnapshot& asLoaded, const SolveOptions& solve,
                       const CubePart& part, const RunRequest& request);

// One part's record as a result file holds it (the command line reads the file).
struct PartRecord {
  std::string file = {};  // where it was read, for messages
  int32_t index = -1;
  int32_t parts = 0;
  CubePath nested = {};  // the levels below the first, for a part of a nested split
  std::string fingerprint = {};
  std::vector<BranchEdge> branch = {};
  bool empty = false;
  Verdict verdict = Verdict::kUndecided;
  std::vector<int32_t> cycle = {};
  DecidedBy decidedBy = DecidedBy::kNone;
  std::string stoppedText = {};
  double seconds = 0.0;
  bool certified = false;
  std::string proof = {};  // the sub-proof's file ("" when none), as recorded
};

struct JoinRequest {
  std::string proof;    // the file the whole certificate goes to ("": none asked for)
  int32_t threads = 1;  // for proving the leaves the split refuted
  const StopToken* stop = nullptr;
};

struct JoinOutcome {
  std::string error;   // a bad record: one line; nothing else holds then
  RunOutcome outcome;  // the verdict, the cycle, method, seconds
  int32_t parts = 0;
  int32_t openParts = 0;
  int32_t foundBy = -1;            // the part whose cycle decided
  CubePath foundByPath;            // the whole path of that part
  std::vector<int32_t> missing;    // open parts no record was given for
  std::vector<int32_t> undecided;  // open parts whose records are undecided
  // The same, the deepest open parts with their whole paths, in the order of the parts: the
  // parts above (a path of one level) and the parts of nested splits alike.
  std::vector<CubePath> missingPaths;
  std::vector<CubePath> undecidedPaths;
  double partSeconds = 0.0;  // the parts' seconds in all
  double largestPartSeconds = 0.0;
  // With JoinRequest::proof and a certified non-Hamiltonian verdict, the certificate was
  // written there (through a temporary file beside it, checked before it was put in place);
  // proofError: it could not be written (the verdict stands, uncertified).
  bool proofWritten = false;
  std::string proofError;
};

// Settles the whole graph's verdict from the records (see the top of this file).
JoinOutcome joinParts(const Graph& graph, const EdgeSnapshot& asLoaded,
                      const std::vector<PartRecord>& records, const JoinRequest& request);

}  // namespace hc
