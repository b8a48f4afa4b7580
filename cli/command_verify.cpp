// `verify GRAPH CYCLE`: is the cycle file a Hamiltonian cycle of the graph? Exit 0 yes,
// 1 no (the first fault named) or unreadable input.
#include <iostream>

#include "io/cycle_files.h"
#include "commands.h"
#include "core/hamiltonian_cycle_check.h"
#include "solve_common.h"

namespace hc::cli {

int runVerify(const VerifyOptions& options, const CommonOptions& common) {
  startSeededRun(1u);
  SolveInput input;
  if (std::string problem = loadForSolving(options.graph, input); !problem.empty()) return fail(problem);
  CycleFileContents contents;
  if (FileStatus s = readCycleFile(options.cycle, contents); !s) return fail(s.error);

  std::vector<int32_t> cycle = contents.sequence;
  CycleCheck check;
  if (contents.isEdgeSet) check = cycleFromEdges(input.edges.nodes(), contents.edges, cycle);
  if (check) check = isHamiltonianCycle(input.edges, cycle);

  if (common.json) {
    Json j;
    j["command"] = "verify";
    j["graph"] = input.name;
    j["nodes"] = input.edges.nodes();
    j["edges"] = input.edges.edges();
    j["hamiltonianCycle"] = check.ok;
    if (!check.ok) j["fault"] = check.fault;
    printJson(j);
  } else if (check) {
    std::cout << "yes: " << options.cycle << " is a Hamiltonian cycle of " << input.name << "\n";
  } else {
    std::cout << "no: " << options.cycle << " is not a Hamiltonian cycle of " << input.name << ": " << check.fault << "\n";
  }
  return check ? 0 : 1;
}

}  // namespace hc::cli
