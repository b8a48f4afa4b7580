// What the reports of schc, cohc, solve, a cube's part and a join share: the outcome's
// figures in JSON, the files' fields, the closing verdict lines, the notes on files not
// written and the exit status. The figures and the options echoed come from the tables of
// run/result_field_table.h and run/method_option_table.h.
#include <iostream>

#include "commands.h"
#include "core/number_format.h"
#include "core/random.h"
#include "run/method_option_table.h"

namespace hc::cli {

namespace {

Json jsonOf(const ResultValue& value) {
  return std::visit(
      [](const auto& v) -> Json {
        if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::monostate>)
          return Json();
        else
          return Json(v);
      },
      value);
}

bool shown(Reported reported, bool batch) {
  return reported == Reported::kRunAndBatch || (reported == Reported::kRun && !batch);
}

}  // namespace

void addOutcomeFields(Json& j, const MethodOptions& method, const RunOutcome& outcome, bool batch) {
  const MethodChoice choice = methodChoiceOf(method);
  const auto addFigures = [&](bool afterOptions) {
    for (const ResultFieldRow& row : resultFieldRows())
      if ((row.methods & methodBit(choice)) != 0 && row.afterOptions == afterOptions &&
          shown(row.reported, batch))
        j[row.key] = jsonOf(row.value(outcome));
  };
  addFigures(false);
  for (const MethodOptionRow& row : methodOptionRows()) {
    if (row.method != choice || !shown(row.reported, batch)) continue;
    const int64_t value = row.field.get(method);
    j[row.name] = row.isSwitch() ? Json(value != 0) : Json(value);
  }
  addFigures(true);
}

void addFileFields(Json& j, const RunOutcome& o, const RunFilesWritten& written, const std::string& output,
                   const std::string& proof) {
  if (!output.empty()) j["output"] = written.cycle ? Json(output) : Json();
  if (!proof.empty()) {
    j["certified"] = written.proof;
    j["proof"] = written.proof ? Json(proof) : Json();
    if (o.verdict == Verdict::kNonHamiltonian && !o.certified) j["certificateNote"] = certificateNoteOf(o);
  }
}

void printVerdictLines(const RunOutcome& o, const RunFilesWritten& written, const std::string& output,
                       const std::string& proof, const std::string& proved, const std::string& undecided) {
  if (o.verdict == Verdict::kHamiltonian) {
    std::cout << "Verdict: Hamiltonian (cycle verified)\n";
    if (o.cycle.size() <= 100) {
      std::cout << "Cycle:";
      for (int32_t v : o.cycle) std::cout << ' ' << v;
      std::cout << "\n";
    } else {
      std::cout << "Cycle: " << o.cycle.size()
                << " nodes (use --output FILE or --json for the whole cycle)\n";
    }
    if (written.cycle) std::cout << "Cycle written to " << output << "\n";
  } else if (o.verdict == Verdict::kNonHamiltonian) {
    std::cout << "Verdict: non-Hamiltonian (" << proved << ")\n";
    if (written.proof)
      std::cout << "Certificate: written to " << proof << "\n";
    else if (!proof.empty() && !o.certified)
      std::cout << "Certificate: none (" << certificateNoteOf(o) << ")\n";
  } else {
    std::cout << "Verdict: undecided (" << undecided << ")\n";
  }
}

LoadedRun loadRunGraph(const std::string& graph, std::optional<uint32_t> seed) {
  LoadedRun run;
  run.seed = startRunSeedStream(seed, SeedScope::kProcess, false);
  installInterruptHandler();
  FormatOptions formatOptions = commandLineFormatOptions();
  formatOptions.stop = &processStop();
  run.input = loadRunInput(graph, formatOptions);
  return run;
}

std::string decidedText(const RunOutcome& outcome, const std::string& otherwise) {
  return outcome.decidedBy == DecidedBy::kNone ? otherwise : std::string(decidedByName(outcome.decidedBy));
}

void printSolveLines(const SolveOptions& solve, const RunOutcome& o) {
  std::cout << "Method: portfolio on " << solve.threads << (solve.threads == 1 ? " thread" : " threads")
            << ", seed " << o.seed
            << (o.decidedBy == DecidedBy::kNone ? std::string() : ", decided by the " + decidedText(o))
            << "\n";
  std::cout << "Exact search: " << o.treeNodes << " tree nodes, deepest depth " << o.deepestDepth << ", "
            << formatNumber(o.seconds, 3) << " s\n";
}

void noteCycleFault(const RunOutcome& outcome) {
  if (!outcome.cycleFault.empty()) std::cerr << "hamcycles-cli: " << cycleFaultText(outcome) << "\n";
}

void noteFilesNotWritten(const std::string& output, const std::string& proof, Verdict verdict) {
  if (!output.empty() && verdict != Verdict::kHamiltonian)
    std::cerr << "hamcycles-cli: no cycle found, " << output << " not written\n";
  if (!proof.empty() && verdict != Verdict::kNonHamiltonian)
    std::cerr << "hamcycles-cli: no proof that the graph has no Hamiltonian cycle, " << proof
              << " not written\n";
}

int exitStatusOf(Verdict verdict) {
  return verdict == Verdict::kHamiltonian      ? kExitHamiltonian
         : verdict == Verdict::kNonHamiltonian ? kExitNonHamiltonian
                                               : kExitUndecided;
}

}  // namespace hc::cli
