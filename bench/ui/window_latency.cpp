// How the window copes with a Stone Carver run on a large graph: the run is started from
// the program model on a 10,000-node random cubic graph (fixed seed) while a 5 ms timer
// pings the UI event loop; every iteration report marks the page display dirty and a
// coalescer repaints it at ~30 Hz, as the method pages do. Reports the worst ping lateness
// and the iterations per second, with the window and without it (the runner alone, as the
// command line runs it).
//
//   bench_window_latency [SECONDS per mode, default 10] [MILL VERSION, default 5]
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "../bench_graphs.h"
#include "run/method_runners.h"
#include "ui/hamiltonian_cycles_dlg.h"
#include "ui/paint_helpers.h"
#include "ui/repaint_coalescer.h"

namespace {

struct CountingSink : hc::SchcSink {
  std::atomic<int64_t> iterations{0};
  hcui::RepaintCoalescer* coalescer = nullptr;
  void postIteration(int32_t, int32_t, int32_t, int32_t, int32_t, double, double) override {
    iterations.fetch_add(1, std::memory_order_relaxed);
    if (coalescer) coalescer->markDirty();
  }
};

double iterationsAlone(const hc::Graph& graph, double seconds, int32_t version) {
  hc::SchcRunner runner;
  CountingSink sink;
  hc::SchcOptions options;
  options.version = version;
  runner.start(std::make_shared<hc::Graph>(graph), options, std::nullopt, &sink, nullptr);
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  const int64_t done = sink.iterations.load();
  const double elapsed = runner.elapsedSeconds();
  runner.abortRun();
  return done / elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  const double seconds = argc > 1 ? std::max(1.0, std::atof(argv[1])) : 10.0;
  const int32_t version = argc > 2 ? std::atoi(argv[2]) : 5;
  std::unique_ptr<hc::Graph> graph =
      hc::bench::generatedGraph(hc::GraphSource::kRegularGraph, 10000, 3, false);
  if (!graph) {
    std::fprintf(stderr, "could not build the random cubic graph\n");
    return 1;
  }
  std::printf("random cubic graph: %d nodes, %d edges; mill version %d; %.0f s per mode\n",
              graph->howManyNodes, graph->howManyEdges, version, seconds);

  const double alone = iterationsAlone(*graph, seconds, version);
  std::printf("without the window: %.1f iterations/s\n", alone);

  CHamiltonianCyclesDlg window;
  window.setMessageHook(
      [](const std::string& text, const std::string&) { std::fprintf(stderr, "%s\n", text.c_str()); });
  window.initialise(std::nullopt);
  window.show();
  hc::ProgramModel& model = window.model();
  model.installGeneratedGraph({hc::GraphSource::kRegularGraph, 10000, 3},
                              std::make_shared<hc::Graph>(*graph));
  // The model stays in state 1: the Stone Carver page would start a run of its own on the
  // working graph in state 2, and two runs must never share one graph. This run stands in
  // for the page's (the method pages' own benchmark measures the real page).

  // A page-like display: the iteration count and the elapsed time, repainted coalesced.
  auto* count = new hcui::PaintedLabel(window.tabs()->widget(hc::kStoneCarverPage));
  count->setGeometry(10, 10, 400, 40);
  count->show();
  auto* clock = new hcui::ElapsedTimeLabel(window.tabs()->widget(hc::kStoneCarverPage));
  clock->setGeometry(10, 60, 400, 40);
  clock->show();
  window.tabs()->setCurrentIndex(hc::kStoneCarverPage);
  CountingSink sink;
  hc::SchcRunner runner;
  std::atomic<double> tickSeconds{0};
  hcui::RepaintCoalescer coalescer([&] {
    count->setLook(QString::number(sink.iterations.load()), hc::stateLook(model.programState()), 12);
    clock->setSeconds(tickSeconds.load());
  });
  sink.coalescer = &coalescer;
  runner.setTickCallback([&](double s) {
    tickSeconds = s;
    coalescer.markDirty();
  });
  hc::SchcOptions options;
  options.version = version;
  runner.start(model.workingGraph(), options, std::nullopt, &sink, nullptr);

  constexpr int kPingMs = 5;
  QElapsedTimer sincePing;
  double worstLateMs = 0;
  int64_t pings = 0;
  QTimer ping;
  ping.setTimerType(Qt::PreciseTimer);
  ping.setInterval(kPingMs);
  QObject::connect(&ping, &QTimer::timeout, [&] {
    if (pings++ > 0) worstLateMs = std::max(worstLateMs, sincePing.nsecsElapsed() / 1e6 - kPingMs);
    sincePing.restart();
  });
  ping.start();
  QTimer::singleShot(static_cast<int>(seconds * 1000), &window, [&] { window.done(0); });
  window.exec();
  ping.stop();
  const int64_t done = sink.iterations.load();
  const double elapsed = runner.elapsedSeconds();
  runner.abortRun();
  const double withWindow = done / elapsed;
  std::printf("with the window:    %.1f iterations/s (%.1f %% of the rate without)\n", withWindow,
              alone > 0 ? 100.0 * withWindow / alone : 0.0);
  std::printf("event loop: %lld pings of %d ms, worst lateness %.2f ms\n", static_cast<long long>(pings),
              kPingMs, worstLateMs);
  return 0;
}
