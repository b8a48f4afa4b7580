#include "app/schc_runner.h"

#include "core/random.h"
#include "io/adjacency_text_format.h"

namespace hc {

// Forwards iterations of one run to the page's sink while that run is current.
class SchcRunner::SinkAdapter : public SchcSink {
 public:
  SinkAdapter(BackgroundRun& run, uint64_t id, SchcSink* target) : run_(run), id_(id), target_(target) {}
  void postIteration(int32_t iteration, int32_t deletions, int32_t hubs, int32_t rings, int32_t forcedEdges,
                     double percentComplete, double seconds) override {
    run_.deliver(id_, [&] {
      target_->postIteration(iteration, deletions, hubs, rings, forcedEdges, percentComplete, seconds);
    });
  }

 private:
  BackgroundRun& run_;
  uint64_t id_;
  SchcSink* target_;
};

void SchcRunner::start(std::shared_ptr<Graph> working, const SchcRunSettings& settings, SchcSink* sink,
                       std::function<void(int16_t)> onDecided) {
  run_.abortRun();
  const uint64_t id = run_.nextRunId();
  std::shared_ptr<SinkAdapter> adapter = sink ? std::make_shared<SinkAdapter>(run_, id, sink) : nullptr;
  BackgroundRun::Work work = [this, id, working, settings, adapter](const StopToken& stop) -> std::optional<int16_t> {
    if (!working) return std::nullopt;
    // The command line's rule: the same seed gives the same iterations and cycle there.
    const uint32_t seed = startRunSeedStream(settings.seed, SeedScope::Thread, true);
    SchcOptions options;
    options.threads = settings.threads;
    options.maxIterations = settings.maxIterations;
    options.writeGraph = adjacencyTextFileWriter;  // version 10's best.txt
    SchcOutcome outcome;
    runStoneCarver(*working, settings.version, &stop, adapter.get(), options, &outcome);
    clearThreadSeedStream();
    {
      std::lock_guard lock(outcomeMutex_);
      seed_ = seed;
      iterations_ = outcome.iterations;
      cycle_ = std::move(outcome.cycle);
      outcomeRun_ = id;
    }
    // An undecided end (an iteration limit) is delivered too: the run is over either way.
    return static_cast<int16_t>(outcome.verdict);
  };
  run_.start(std::move(work), std::move(onDecided));
}

std::optional<SchcRunner::Finished> SchcRunner::finished() const {
  if (run_.runInProgress() || run_.runId() == 0) return std::nullopt;
  std::lock_guard lock(outcomeMutex_);
  if (outcomeRun_ != run_.runId()) return std::nullopt;
  return Finished{seed_, iterations_, cycle_};
}

std::optional<uint32_t> SchcRunner::seedUsed() const {
  std::optional<Finished> done = finished();
  if (!done) return std::nullopt;
  return done->seed;
}

}  // namespace hc
