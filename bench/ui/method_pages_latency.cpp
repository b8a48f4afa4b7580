// How responsive the window stays while a method runs: the worst event-loop latency on
// the UI thread, measured by a 2 ms probe timer (latency = how late a tick fires), with the
// Stone Carver page's mill running on a 10,000-node random cubic graph, the Co-HC page
// proving GP(29,2) non-Hamiltonian, and the Solver page deciding the graphs below. The
// window is shown on the offscreen platform, so the pages' list, chart, figure and
// elapsed-time repaints are part of what is measured.
//
// Counters: worstLatencyMs (the figure to keep under 50 ms), meanLatencyMs, ticks (probe
// ticks seen) and runs. The Solver page's cases also count secondsToVerdict (from the press
// of SOLVE GRAPH to state 3, on a 100 x 100 toroidal grid and ICCS 50 generated on the
// Graph Generation page and knight 4 x 40 read from the file `hamcycles-cli generate knight
// 4 40` wrote; the target is under a second each), and, on a random cubic graph of 1,000,000
// nodes, msToStateOne (from ABORT to state 1) and msToIdle (until the aborted run's threads
// use no more processor time; the target for both is under 300 ms). Run as:
// bench_method_pages_latency (QT_QPA_PLATFORM defaults to offscreen).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "../bench_graphs.h"
#include "app/program_model.h"
#include "generators/generalized_petersen.h"
#include "offscreen_benchmarks.h"
#include "run/graph_description.h"
#include "ui/cohc_dlg.h"
#include "ui/graph_generation_dlg.h"
#include "ui/hamiltonian_cycles_dlg.h"
#include "ui/solver_dlg.h"
#include "ui/stone_carver_dlg.h"

namespace {

constexpr int kProbeMs = 2;

// Lateness of a fixed-interval timer while `running` holds.
// The machine may be shared: lateness then includes the time the UI thread waited for a
// core. The UI thread's own CPU time between two ticks (worstBusyMs) does not, so it tells
// how long the window's own work ever blocked the loop.
double cpuMs(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return t.tv_sec * 1e3 + t.tv_nsec * 1e-6;
}
double threadCpuMs() {
  return cpuMs(CLOCK_THREAD_CPUTIME_ID);
}

struct LatencyProbe {
  double worstMs = 0.0;
  double totalMs = 0.0;
  double worstBusyMs = 0.0;
  double busyMs = 0.0;
  double wallMs = 0.0;
  int64_t ticks = 0;

  void watch(const std::function<bool()>& running) {
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(kProbeMs);
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    const double cpuStart = threadCpuMs();
    double lastCpu = cpuStart;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      const qint64 now = clock.nsecsElapsed();
      const double cpu = threadCpuMs();
      const double late = std::max(0.0, (now - last) * 1e-6 - kProbeMs);
      worstMs = std::max(worstMs, late);
      worstBusyMs = std::max(worstBusyMs, cpu - lastCpu);
      totalMs += late;
      last = now;
      lastCpu = cpu;
      ++ticks;
    });
    timer.start();
    while (running()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    busyMs += threadCpuMs() - cpuStart;
    wallMs += clock.nsecsElapsed() * 1e-6;
  }
  void report(benchmark::State& state, int runs) const {
    state.counters["worstLatencyMs"] = worstMs;
    state.counters["meanLatencyMs"] = ticks ? totalMs / static_cast<double>(ticks) : 0.0;
    state.counters["worstBusyMs"] = worstBusyMs;
    state.counters["uiCpuShare"] = wallMs > 0 ? busyMs / wallMs : 0.0;
    state.counters["ticks"] = static_cast<double>(ticks);
    state.counters["runs"] = runs;
  }
};

hc::Graph generalizedPetersen(int32_t n, int32_t k) {
  return std::move(*hc::generateGeneralizedPetersen(n, k));
}

std::unique_ptr<CHamiltonianCyclesDlg> shownWindow(int tab, const hc::GraphRequest& request,
                                                   std::shared_ptr<hc::Graph> graph) {
  auto window = std::make_unique<CHamiltonianCyclesDlg>();
  window->setMessageHook([](const std::string&, const std::string&) {});
  window->initialise(std::nullopt);
  window->resize(1100, 720);
  window->show();
  window->tabs()->setCurrentIndex(tab);
  window->model().installGeneratedGraph(request, std::move(graph));
  return window;
}

// The floor on this machine: the probe with the window idle.
void BM_IdleWindow(benchmark::State& state) {
  LatencyProbe probe;
  for (auto _ : state) {
    auto window = shownWindow(hc::kCoHCPage, {hc::GraphSource::kCompleteGraph, 10, 0},
                              std::make_shared<hc::Graph>(generalizedPetersen(5, 2)));
    QElapsedTimer elapsed;
    elapsed.start();
    probe.watch([&] { return elapsed.elapsed() < 1000; });
  }
  probe.report(state, 0);
}

// Mill runs on a random cubic graph, one after the other: each until it finds its cycle
// (version 5 usually needs one or two iterations of a few hundred milliseconds) or is
// stopped after 3 s, as a user would.
void BM_StoneCarverPageWhileMillRuns(benchmark::State& state) {
  std::shared_ptr<hc::Graph> graph =
      hc::bench::generatedGraph(hc::GraphSource::kRegularGraph, 10000, 3, false);
  if (!graph) return state.SkipWithError("no cubic graph");
  LatencyProbe probe;
  int runs = 0;
  for (auto _ : state) {
    auto window = shownWindow(hc::kStoneCarverPage, {hc::GraphSource::kRegularGraph, 10000, 3}, graph);
    for (int repeat = 0; repeat < 5; ++repeat) {
      window->model().pageButtonPressed(hc::kStoneCarverPage);
      QElapsedTimer elapsed;
      elapsed.start();
      probe.watch(
          [&] { return hc::codeOf(window->model().programState()) == 2 && elapsed.elapsed() < 3000; });
      window->model().pageButtonPressed(hc::kStoneCarverPage);  // abort (2 -> 1) or reset (3 -> 1)
      ++runs;
    }
  }
  probe.report(state, runs);
}

// Proofs of GP(29,2), one after the other (each takes a fraction of a second), at the
// page's default pruning (5) and without pruning (1714 tree nodes, the most updates).
void BM_CohcPageWhileProofRuns(benchmark::State& state) {
  const int level = static_cast<int>(state.range(0));
  auto graph = std::make_shared<hc::Graph>(generalizedPetersen(29, 2));
  LatencyProbe probe;
  int runs = 0;
  for (auto _ : state) {
    auto window = shownWindow(hc::kCoHCPage, {hc::GraphSource::kCompleteGraph, 58, 0}, graph);
    window->cohcPage()->pruningList()->setCurrentIndex(level);
    for (int repeat = 0; repeat < 10; ++repeat) {
      window->model().pageButtonPressed(hc::kCoHCPage);
      probe.watch([&] { return hc::codeOf(window->model().programState()) == 2; });
      if (hc::codeOf(window->model().programResult()) != 0)
        return state.SkipWithError("the proof did not conclude");
      window->model().pageButtonPressed(hc::kCoHCPage);  // state 3 -> 1
      ++runs;
    }
  }
  probe.report(state, runs);
  state.SetLabel("GP(29,2) level " + std::to_string(level));
}

// The Graph Generation page's load button of `family` with its parameters, until state 1.
bool generateOnPage(CHamiltonianCyclesDlg& window, int32_t family, const char* first, const char* second) {
  CGraphGenerationDlg* page = window.generationPage();
  page->radioButton(family)->click();
  page->parameterEdit(family, 0)->setText(QString::fromLatin1(first));
  page->parameterEdit(family, 1)->setText(QString::fromLatin1(second));
  page->loadButton(family)->click();
  QElapsedTimer waited;
  waited.start();
  while (hc::codeOf(window.model().programState()) != 1 && waited.elapsed() < 120000)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  return hc::codeOf(window.model().programState()) == 1;
}

// The graph of case `which`: 0 the toroidal grid, 1 ICCS 50 (both generated on the page),
// 2 knight 4 x 40 through the text-file button from the file the command line wrote.
bool loadSolverCase(CHamiltonianCyclesDlg& window, int which, std::string& label) {
  if (which == 0) {
    label = "torus 100 x 100";
    return generateOnPage(window, hc::graphSourceCode(hc::GraphSource::kToroidalGrid), "100", "100");
  }
  if (which == 1) {
    label = "ICCS 50";
    return generateOnPage(window, hc::graphSourceCode(hc::GraphSource::kIccsGraph), "50", "");
  }
  label = "knight 4 x 40 from a file";
  const std::string file = (std::filesystem::temp_directory_path() / "bench_knight_4x40.txt").string();
  const std::string command = std::string(HC_CLI) + " generate knight 4 40 --output " + file + " >/dev/null";
  if (std::system(command.c_str()) != 0) return false;
  window.setFileHook([file](const std::string&) { return std::optional<std::string>(file); });
  window.model().loadGraphRequest({hc::GraphSource::kTextFile, 0, 0});
  return window.model().programState() == hc::ProgramState::kSubmitted;
}

// Milliseconds from `clock`'s start until the process uses less than 2 ms of processor time
// in 20 ms (its threads have stopped working), the UI thread's events handled meanwhile.
double msUntilIdle(const QElapsedTimer& clock, double limitMs) {
  double lastCpu = cpuMs(CLOCK_PROCESS_CPUTIME_ID), lastMs = clock.nsecsElapsed() * 1e-6;
  while (lastMs < limitMs) {
    QEventLoop wait;
    QTimer::singleShot(20, &wait, &QEventLoop::quit);
    wait.exec();
    const double nowMs = clock.nsecsElapsed() * 1e-6;
    const double cpu = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
    if (cpu - lastCpu < 2.0) break;
    lastCpu = cpu;
    lastMs = nowMs;
  }
  return lastMs;
}

// The Solver page from SOLVE GRAPH to its verdict, five times on each graph, once the
// window has settled after loading it.
void BM_SolverPageDecides(benchmark::State& state) {
  LatencyProbe probe;
  double worstSeconds = 0.0;
  int runs = 0, result = -1;
  std::string label;
  for (auto _ : state) {
    auto window = shownWindow(hc::kSolverPage, {hc::GraphSource::kCompleteGraph, 10, 0},
                              std::make_shared<hc::Graph>(generalizedPetersen(5, 2)));
    window->model().setProgramState(hc::ProgramState::kEditing);
    if (!loadSolverCase(*window, static_cast<int>(state.range(0)), label))
      return state.SkipWithError("the graph could not be loaded");
    // The editor lays out a graph read from a file on a worker: let it finish first.
    QElapsedTimer loaded;
    loaded.start();
    msUntilIdle(loaded, 60000);
    for (int repeat = 0; repeat < 5; ++repeat) {
      QElapsedTimer clock;
      clock.start();
      window->solverPage()->stateButton()->click();
      probe.watch([&] { return hc::codeOf(window->model().programState()) == 2; });
      worstSeconds = std::max(worstSeconds, clock.nsecsElapsed() * 1e-9);
      result = hc::codeOf(window->model().programResult());
      if (result > 1) return state.SkipWithError("not decided");
      window->solverPage()->stateButton()->click();  // 3 -> 1
      ++runs;
    }
  }
  probe.report(state, runs);
  state.counters["secondsToVerdict"] = worstSeconds;
  state.SetLabel(label + (result == 1 ? ": Hamiltonian" : ": non-Hamiltonian") + " (worst of 5)");
}

// ABORT on a random cubic graph of 1,000,000 nodes 1.5 s into the run (the portfolio racing),
// once the window has settled after loading it.
void BM_SolverPageAborts(benchmark::State& state) {
  double toStateOne = 0.0, toIdle = 0.0, loadToIdle = 0.0;
  for (auto _ : state) {
    auto window = shownWindow(hc::kSolverPage, {hc::GraphSource::kCompleteGraph, 10, 0},
                              std::make_shared<hc::Graph>(generalizedPetersen(5, 2)));
    window->model().setProgramState(hc::ProgramState::kEditing);
    if (!generateOnPage(*window, hc::graphSourceCode(hc::GraphSource::kRegularGraph), "1000000", "3"))
      return state.SkipWithError("no cubic graph");
    QElapsedTimer loaded;
    loaded.start();
    loadToIdle = std::max(loadToIdle, msUntilIdle(loaded, 60000));
    window->solverPage()->stateButton()->click();
    QEventLoop wait;
    QTimer::singleShot(1500, &wait, &QEventLoop::quit);
    wait.exec();
    if (hc::codeOf(window->model().programState()) != 2)
      return state.SkipWithError("decided before the abort");
    QElapsedTimer clock;
    clock.start();
    window->solverPage()->stateButton()->click();
    toStateOne = std::max(toStateOne, clock.nsecsElapsed() * 1e-6);
    if (hc::codeOf(window->model().programState()) != 1) return state.SkipWithError("not back in state 1");
    toIdle = std::max(toIdle, msUntilIdle(clock, 60000));
  }
  state.counters["msToStateOne"] = toStateOne;
  state.counters["msToIdle"] = toIdle;
  state.counters["msLoadToIdle"] = loadToIdle;
}

BENCHMARK(BM_IdleWindow)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StoneCarverPageWhileMillRuns)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CohcPageWhileProofRuns)
    ->Arg(5)
    ->Arg(0)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SolverPageDecides)
    ->DenseRange(0, 2)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SolverPageAborts)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  return hc::bench::runOffscreenBenchmarks(argc, argv);
}
