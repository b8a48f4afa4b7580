// `verify GRAPH CYCLE`: is the cycle file a Hamiltonian cycle of the graph? Exit 0 yes,
// 1 no (the first fault named) or unreadable input.
#include <iostream>

#include "commands.h"
#include "core/random.h"
#include "io/cycle_files.h"

namespace hc::cli {

int runVerify(const GraphAndFile& options, const CommonOptions& common) {
  startRunSeedStream(1u, SeedScope::kProcess, false);
  const RunInput input = loadRunInput(options.graph, commandLineFormatOptions());
  if (!input) return fail(input.loaded.error);
  CycleFileContents contents;
  if (FileStatus s = readCycleFile(options.file, contents); !s) return fail(s.error);
  const CycleCheck check = checkCycleContents(input.asLoaded, contents);

  if (common.json) {
    Json j;
    j["command"] = "verify";
    j["graph"] = input.name;
    j["nodes"] = input.asLoaded.nodes();
    j["edges"] = input.asLoaded.edges();
    j["hamiltonianCycle"] = check.ok;
    if (!check.ok) j["fault"] = check.fault;
    printJson(j);
  } else if (check) {
    std::cout << "yes: " << options.file << " is a Hamiltonian cycle of " << input.name << "\n";
  } else {
    std::cout << "no: " << options.file << " is not a Hamiltonian cycle of " << input.name << ": "
              << check.fault << "\n";
  }
  return check ? 0 : 1;
}

}  // namespace hc::cli
