#include "run/method_runners.h"

#include "core/random.h"
#include "io/adjacency_text_format.h"
#include "run/run_method.h"

namespace hc {

class MethodRunner::CurrentRunOnly : public SchcSink, public SearchTreeListener {
 public:
  CurrentRunOnly(BackgroundRun& run, uint64_t id, SchcSink* sink, SearchTreeListener* listener)
      : run_(run), id_(id), sink_(sink), listener_(listener) {}
  void postIteration(int32_t iteration, int32_t deletions, int32_t hubs, int32_t rings, int32_t forcedEdges,
                     double percentComplete, double seconds) override {
    run_.deliver(id_, [&] {
      sink_->postIteration(iteration, deletions, hubs, rings, forcedEdges, percentComplete, seconds);
    });
  }
  void nodeStarted(const SearchTreeStatistics& statistics, int32_t depth, bool newRow) override {
    run_.deliver(id_, [&] { listener_->nodeStarted(statistics, depth, newRow); });
  }
  void nodeSolved(const SearchTreeStatistics& statistics, int32_t depth) override {
    run_.deliver(id_, [&] { listener_->nodeSolved(statistics, depth); });
  }

 private:
  BackgroundRun& run_;
  uint64_t id_;
  SchcSink* sink_;
  SearchTreeListener* listener_;
};

void SchcRunner::start(std::shared_ptr<Graph> working, const SchcOptions& options,
                       std::optional<uint32_t> seed, SchcSink* sink, std::function<void(int16_t)> onDecided) {
  run_.abortRun();
  const uint64_t id = run_.nextRunId();
  auto adapter = sink ? std::make_shared<CurrentRunOnly>(run_, id, sink, nullptr) : nullptr;
  SchcOptions method = options;
  method.writeGraph = adjacencyTextFileWriter;  // version 10's best.txt
  BackgroundRun::Work work = [outcome = outcome_, id, working, method, seed,
                              adapter](const StopToken& stop) -> std::optional<int16_t> {
    if (!working) return std::nullopt;
    const EdgeSnapshot asLoaded(*working);
    // The command line's rule: the same seed gives the same iterations and cycle there.
    const uint32_t runSeed = startRunSeedStream(seed, SeedScope::kThread, true);
    RunOutcome ran =
        runMethod(*working, asLoaded, method, {.stop = &stop, .seed = runSeed, .sink = adapter.get()});
    clearThreadSeedStream();
    {
      std::lock_guard lock(outcome->mutex);
      outcome->finished = Finished{runSeed, ran.iterations, std::move(ran.cycle)};
      outcome->run = id;
    }
    // An undecided end (an iteration limit) is delivered too: the run is over either way.
    return stateOf(ran.verdict);
  };
  run_.start(std::move(work), std::move(onDecided));
}

std::optional<SchcRunner::Finished> SchcRunner::finished() const {
  if (run_.runInProgress() || run_.runId() == 0) return std::nullopt;
  std::lock_guard lock(outcome_->mutex);
  if (outcome_->run != run_.runId()) return std::nullopt;
  return outcome_->finished;
}

std::optional<uint32_t> SchcRunner::seedUsed() const {
  std::optional<Finished> done = finished();
  if (!done) return std::nullopt;
  return done->seed;
}

void CohcRunner::start(std::shared_ptr<Graph> working, const CohcOptions& options,
                       SearchTreeListener* listener, std::shared_ptr<SearchTreeStatistics> statistics,
                       std::function<void(int16_t)> onDecided) {
  run_.abortRun();
  const uint64_t id = run_.nextRunId();
  auto adapter = listener ? std::make_shared<CurrentRunOnly>(run_, id, nullptr, listener) : nullptr;
  CohcOptions method = options;
  method.writeGraph = adjacencyTextFileWriter;
  BackgroundRun::Work work = [working, method, adapter, statistics = std::move(statistics)](
                                 const StopToken& stop) -> std::optional<int16_t> {
    if (!working) return std::nullopt;
    const EdgeSnapshot asLoaded(*working);
    RunOutcome ran = runMethod(*working, asLoaded, method,
                               {.stop = &stop, .listener = adapter.get(), .statistics = statistics});
    // A proof stopped (by the page or by a time limit) delivers nothing.
    if (ran.stopped == StoppedBy::kInterrupted || ran.stopped == StoppedBy::kTimeLimit) return std::nullopt;
    return stateOf(ran.verdict);
  };
  run_.start(std::move(work), std::move(onDecided));
}

}  // namespace hc
