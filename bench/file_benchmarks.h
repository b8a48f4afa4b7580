// Benchmarks over graph files named in an environment variable (paths separated by
// blanks): one benchmark per file, named "<prefix>/<path>", run once, in milliseconds.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <sstream>
#include <string>

namespace hc::bench {

using FileBenchmark = void (*)(benchmark::State&, const std::string& path);

// Call from a namespace-scope initialiser, before main runs the benchmarks.
inline bool registerPerFile(const char* variable, const std::string& prefix, FileBenchmark run) {
  const char* list = std::getenv(variable);
  std::istringstream paths(list != nullptr ? list : "");
  for (std::string path; paths >> path;)
    benchmark::RegisterBenchmark((prefix + "/" + path).c_str(), run, path)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
  return true;
}

}  // namespace hc::bench
