// Batches of info, schc, cohc and solve (the loop is run/batch.h): one JSON object (JSON
// Lines) or one summary line per graph in input order, each object with the batch's "index"
// and "where" in front, then the count. Ctrl-C stops the graphs being decided, starts no
// others, and the count says so. With --proof-dir each line also says whether the graph's
// certificate was written, and where.
#include <iostream>

#include "commands.h"
#include "core/message_text.h"
#include "core/number_format.h"
#include "io/graph_file_reader.h"
#include "io/output_paths.h"
#include "run/batch.h"

namespace hc::cli {

namespace {

std::string verdictText(Verdict verdict) {
  if (verdict == Verdict::kHamiltonian) return "Hamiltonian (cycle verified)";
  if (verdict == Verdict::kNonHamiltonian) return "non-Hamiltonian";
  return "undecided";
}

// Why a non-Hamiltonian graph of a batch with --proof-dir has no certificate file.
std::string certificateNote(const BatchEntry& e) {
  return e.proofError.empty() ? certificateNoteOf(e.outcome) : e.proofError;
}

// The graph's JSON object (without "index" and "where") and its summary line.
void describe(const BatchEntry& e, const std::optional<MethodOptions>& method, bool proving, Json& j,
              std::string& summary) {
  if (e.information) {
    const GraphInformation& info = *e.information;
    j = infoJson(info);
    j["verdict"] = std::string(verdictName(e.verdict));
    summary = std::to_string(info.pruned.nodes) + " nodes, " + std::to_string(info.pruned.edges) +
              " edges, degrees " + std::to_string(info.pruned.minDegree) + ".." +
              std::to_string(info.pruned.maxDegree) +
              (info.biconnected ? ", biconnected"
               : info.connected ? ", not biconnected (non-Hamiltonian)"
                                : ", not connected (non-Hamiltonian)");
    return;
  }
  const RunOutcome& o = e.outcome;
  j = reportHead(methodCommand(*method), e.name, e.nodes, e.edges, o);
  addOutcomeFields(j, *method, o, true);
  summary = verdictText(o.verdict) + (o.stopped == StoppedBy::kDecided ? "" : " (" + o.stoppedText + ")") +
            ", " + std::to_string(e.nodes) + " nodes, " + std::to_string(e.edges) + " edges, " +
            formatNumber(o.seconds, 3) + " s";
  if (!proving) return;
  j["certified"] = !e.proof.empty();
  j["proof"] = e.proof.empty() ? Json() : Json(e.proof);
  if (o.verdict != Verdict::kNonHamiltonian) return;
  if (e.proof.empty()) {
    j["certificateNote"] = certificateNote(e);
    summary += ", no certificate (" + certificateNote(e) + ")";
  } else {
    summary += ", certificate " + e.proof;
  }
}

void printEntry(const BatchEntry& e, const char* command, const std::optional<MethodOptions>& method,
                bool proving, bool json) {
  if (!e.proofError.empty()) std::cerr << "hamcycles-cli: " << e.proofError << "\n";
  noteCycleFault(e.outcome);
  Json described;
  std::string summary;
  if (e.error.empty()) describe(e, method, proving, described, summary);
  if (json) {
    Json j;
    j["index"] = e.index;
    j["where"] = e.where;
    if (!e.error.empty()) {
      j["command"] = command;
      j["verdict"] = "unreadable";
      j["error"] = printableText(e.error);
    } else {
      for (auto& [key, value] : described.items()) j[key] = value;
    }
    printJson(std::move(j));
  } else {
    std::cout << "#" << e.index << " " << e.where << ": "
              << (e.error.empty() ? summary : "unreadable: " + printableText(e.error)) << '\n';
  }
  std::cout << std::flush;
}

void printCount(const BatchSummary& s, const char* command, const std::string& part, bool proving,
                bool json) {
  if (json) {
    Json j;
    j["command"] = command;
    j["count"] = true;
    j["graphs"] = s.graphs();
    j["hamiltonian"] = s.hamiltonian;
    j["non-hamiltonian"] = s.nonHamiltonian;
    if (proving) j["certified"] = s.certified;
    j["undecided"] = s.undecided;
    j["unreadable"] = s.unreadable;
    j["seconds"] = s.seconds;
    j["graphsPerSecond"] = s.seconds > 0 ? static_cast<double>(s.graphs()) / s.seconds : 0.0;
    j["interrupted"] = s.interrupted;
    if (!part.empty()) j["part"] = part;
    printJson(std::move(j));
    return;
  }
  std::cout << "Graphs: " << s.graphs() << ", Hamiltonian " << s.hamiltonian << ", non-Hamiltonian "
            << s.nonHamiltonian
            << (proving ? " (certified " + std::to_string(s.certified) + ")" : std::string())
            << ", undecided " << s.undecided << ", unreadable " << s.unreadable << " ("
            << formatNumber(s.seconds, 3) << " s" << (part.empty() ? std::string() : ", part " + part)
            << (s.interrupted ? ", interrupted" : "") << ")\n"
            << std::flush;
}

}  // namespace

bool isBatchRun(const std::string& graph, const BatchOptions& options) {
  return !options.each.empty() || options.jobsGiven || !options.proofDir.empty() ||
         fileHoldsSeveralGraphs(graph);
}

int runBatchCommand(const std::string& graph, const BatchOptions& options, const MethodArguments& arguments,
                    const std::optional<MethodOptions>& method, const CommonOptions& common) {
  if (graph.empty() == options.each.empty()) return fail("give either GRAPH or --each FILE, not both");
  if (!options.proofDir.empty())
    if (std::string problem = checkWritableFolder("--proof-dir", options.proofDir); !problem.empty())
      return fail(problem);
  BatchRequest request;
  request.graph = graph;
  request.each = options.each;
  request.jobs = options.jobs;
  if (!options.part.empty() && !parseBatchPart(options.part, request.partIndex, request.partCount))
    return fail("--part " + options.part + ": expected I/K with 0 <= I < K (for example 0/4)");
  // info draws nothing random, but a load is a reseed point all the same.
  request.seed = method ? arguments.seed : std::optional<uint32_t>(1u);
  request.timeLimit = arguments.timeLimit;
  request.format = FormatOptions{options.base};
  request.proofDir = options.proofDir;
  const bool proving = !options.proofDir.empty();
  const auto* schc = method ? std::get_if<SchcOptions>(&*method) : nullptr;
  if (schc != nullptr && arguments.timeLimit <= 0.0 && schc->maxIterations <= 0)
    request.started = [] {
      std::cerr << "hamcycles-cli: note: without --time-limit or --max-iterations, schc keeps iterating on a "
                   "non-Hamiltonian graph its initial pruning cannot prove\n";
    };
  installInterruptHandler();
  const char* command = method ? methodCommand(*method) : "info";
  const std::string part = request.partCount > 1 ? options.part : std::string();
  const BatchSummary summary = runBatch(request, method, processStop(), [&](const BatchEntry& entry) {
    printEntry(entry, command, method, proving, common.json);
  });
  if (!summary.error.empty()) return fail(summary.error);
  printCount(summary, command, part, proving, common.json);
  // An unexpected error ended the batch early: the count says how far it got.
  if (!summary.failure.empty()) return fail("the batch ended early: unexpected error: " + summary.failure);
  return 0;
}

}  // namespace hc::cli
