// The figures the Stone Carver driver keeps about one run: its timing, what the solving
// iteration needed, and how many deletions the failed iterations made before a hub or a
// ring ended them. They belong to the run, not to the graph it works on: a fresh record
// per run, handed back in the run's outcome.
#pragma once

#include <cstdint>

namespace hc {

struct StoneCarverStatistics {
  // The clock (seconds since start) when the run began; once it found a cycle, or once the
  // initial pruning decided a graph at print level 1 or more, the elapsed seconds instead.
  double startTime = 0.0;
  double elapsedSeconds = 0.0;  // set when the run found a cycle (or as startTime above)
  int32_t solvedIterations = 0;
  int32_t solvedCuts = 0;
  int32_t solvedSimulationForces = 0;
  double secondsPerIteration = 0.0;
  double inverseIterations = 1.0;
  double cutRatio = 0.0;  // deletions of the solving iteration per edge to remove
  // The iterations that ended with a hub or a ring, and their deletions.
  int32_t hubIterations = 0;
  int32_t ringIterations = 0;
  int32_t cutsToHubTotal = 0;
  int32_t cutsToRingTotal = 0;
  int32_t mostCutsToHub = 0;
  int32_t mostCutsToRing = 0;
  int32_t leastCutsToHub = 1000000000;
  int32_t leastCutsToRing = 1000000000;
  double averageCutsToHub = -1.0;  // -1: none yet
  double averageCutsToRing = -1.0;
};

}  // namespace hc
