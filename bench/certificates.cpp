// Certificates of non-Hamiltonian verdicts, end to end: for each file of CERT_GRAPHS (every
// graph of a .g6/.s6 file, or the one graph of any other file), `solve` without a
// certificate, `solve` writing one, and the independent checker reading it back:
//
//   nauty-geng -c -d3 -D3 16 > /tmp/cubic16.g6
//   hamcycles-cli generate petersen 1001 2 --output /tmp/gp1001.g6
//   hamcycles-cli generate knight 4 640 --output /tmp/knight4x640.g6
//   CERT_GRAPHS="/tmp/gp1001.g6 /tmp/knight4x640.g6 /tmp/cubic16.g6" build/bench/bench_certificates
//
// One benchmark per file (one iteration: a census is many graphs already), its counters
// summed over the file's non-Hamiltonian graphs: graphs, certified, accepted, bytes, and
// the seconds of solving without a certificate (solve_s), with one (to the verdict,
// solve_cert_s), of writing it (write_s) and of checking it (check_s). With CERT_COHC=1
// the proof system runs too, without and with its certificate (cohc_s, cohc_cert_s,
// cohc_certified, cohc_accepted).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>

#include "certcheck/certificate_checker.h"
#include "cohc/search_tree.h"
#include "file_benchmarks.h"
#include "io/graph_file_reader.h"
#include "run/graph_loading.h"
#include "solve/cohc_certificate.h"
#include "solve/solve_graph.h"

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<std::pair<int32_t, int32_t>> edgesOf(const hc::Graph& graph) {
  std::vector<std::pair<int32_t, int32_t>> edges;
  for (const hc::Node& node : graph.nodes)
    for (int32_t i = 0; i < node.degree; ++i)
      if (node.id < node.neighborArray[i]) edges.emplace_back(node.id, node.neighborArray[i]);
  return edges;
}

void certifyFile(benchmark::State& state, const std::string& path) {
  hc::GraphFileReader reader;
  if (const std::string error = reader.open(path); !error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  double graphs = 0, certified = 0, accepted = 0, bytes = 0, solve = 0, solveCert = 0, write = 0, check = 0;
  double cohc = 0, cohcCert = 0, cohcCertified = 0, cohcAccepted = 0;
  const char* withCohc = std::getenv("CERT_COHC");
  const bool runCohc = withCohc != nullptr && std::string(withCohc) == "1";
  for (auto _ : state) {
    hc::GraphRecord record;
    bool tooLong = false;
    while (reader.next(record, tooLong)) {
      if (tooLong) continue;
      hc::LoadedGraph loaded = hc::loadGraphRecord(record);
      if (!loaded) continue;
      const hc::Graph& graph = *loaded.graph;
      hc::SolveOptions options;
      Clock::time_point start = Clock::now();
      const hc::SolveResult plain = hc::solveGraph(graph, options);
      const double plainSeconds = since(start);
      if (plain.verdict != hc::kNotHamiltonian) continue;
      std::string certificate;
      options.certificate = &certificate;
      const hc::SolveResult written = hc::solveGraph(graph, options);
      start = Clock::now();
      std::istringstream in(certificate);
      const hc::certcheck::CheckResult checked =
          hc::certcheck::checkCertificate(graph.howManyNodes, edgesOf(graph), in);
      check += since(start);
      graphs += 1;
      solve += plainSeconds;
      solveCert += written.seconds;
      write += written.certificateSeconds;
      certified += written.certified;
      accepted += checked.accepted;
      bytes += static_cast<double>(certificate.size());
      if (!runCohc) continue;
      hc::CohcOptions cohcOptions;
      cohcOptions.writeCycleFile = false;
      hc::Graph plainCopy(graph);
      start = Clock::now();
      hc::runCoHC(plainCopy, cohcOptions);
      cohc += since(start);
      hc::Graph recordedCopy(graph);
      hc::CohcCertificate recorder(recordedCopy);
      cohcOptions.observer = &recorder;
      start = Clock::now();
      const hc::CohcResult proved = hc::runCoHC(recordedCopy, cohcOptions);
      std::string tree;
      const bool treeCertified = recorder.finish(proved.verdict, tree);
      cohcCert += since(start);
      cohcCertified += treeCertified;
      std::istringstream treeIn(tree);
      cohcAccepted += hc::certcheck::checkCertificate(graph.howManyNodes, edgesOf(graph), treeIn).accepted;
    }
  }
  state.counters["graphs"] = graphs;
  state.counters["certified"] = certified;
  state.counters["accepted"] = accepted;
  state.counters["bytes"] = bytes;
  state.counters["solve_s"] = solve;
  state.counters["solve_cert_s"] = solveCert;
  state.counters["write_s"] = write;
  state.counters["check_s"] = check;
  if (runCohc) {
    state.counters["cohc_s"] = cohc;
    state.counters["cohc_cert_s"] = cohcCert;
    state.counters["cohc_certified"] = cohcCertified;
    state.counters["cohc_accepted"] = cohcAccepted;
  }
}

const bool registered = hc::bench::registerPerFile("CERT_GRAPHS", "Certificates", certifyFile);

}  // namespace
