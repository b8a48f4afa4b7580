// Builds the Petersen graph and the knight's graph of the 8 x 8 board, decides both and
// checks the cycle found. Prints one line per graph; exits 1 if anything is not as known.
#include <hamcycles/hamcycles.h>

#include <cstdio>

int main() {
  try {
    std::printf("hamcycles %s\n", hamcycles::version());
    hamcycles::SolveOptions options;
    options.timeLimitSeconds = 60;
    options.seed = 1;

    bool asKnown = true;
    struct Case {
      hamcycles::Graph graph;
      hamcycles::Verdict known;
    };
    for (const Case& c : {Case{hamcycles::petersen(), hamcycles::Verdict::kNonHamiltonian},
                          Case{hamcycles::knight(8, 8), hamcycles::Verdict::kHamiltonian}}) {
      const hamcycles::SolveResult r = hamcycles::solve(c.graph, options);
      const bool checked =
          r.verdict != hamcycles::Verdict::kHamiltonian || hamcycles::isHamiltonianCycle(c.graph, r.cycle);
      std::printf("%s: %d nodes, %lld edges, %s%s\n", c.graph.name().c_str(), c.graph.nodeCount(),
                  static_cast<long long>(c.graph.edgeCount()), hamcycles::verdictName(r.verdict),
                  r.verdict == hamcycles::Verdict::kHamiltonian
                      ? (checked ? ", cycle checked" : ", cycle WRONG")
                      : "");
      asKnown = asKnown && checked && r.verdict == c.known;
    }
    return asKnown ? 0 : 1;
  } catch (const hamcycles::Error& e) {
    std::fprintf(stderr, "library_example: %s\n", e.what());
    return 1;
  }
}
