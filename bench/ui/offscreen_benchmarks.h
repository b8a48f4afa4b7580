// The main of a window benchmark: a QApplication (offscreen unless a platform is named),
// then every registered benchmark.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

namespace hc::bench {

inline int runOffscreenBenchmarks(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace hc::bench
