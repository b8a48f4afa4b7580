#include "app/iteration_history.h"

#include "core/number_format.h"

namespace hc {

std::string iterationCellText(const IterationRow& row, int32_t column) {
  switch (column) {
    case 0: return formatNumber(row.iteration, 0);
    case 1: return formatNumber(row.deletions, 0);
    case 2: return formatNumber(row.hubs, 0);
    case 3: return formatNumber(row.rings, 0);
    case 4: return formatNumber(row.forcedEdges, 0);
    case 5: return formatNumber(row.percentComplete, 2);
    case 6: return formatNumber(row.seconds, 2);
    default: return {};
  }
}

std::string maxForcedEdgesText(int32_t maxForcedEdges, int32_t howManyNodes) {
  std::string text = formatNumber(maxForcedEdges, 0);
  if (howManyNodes <= 0) return text;
  return text + " (" + formatNumber(static_cast<double>(maxForcedEdges) / howManyNodes * 100.0, 2) +
         "% Done)";
}

void IterationHistory::add(const IterationRow& row) {
  statistics_.add(row);
  appendRow(row);
}

void IterationHistory::appendRow(const IterationRow& row) {
  rows_.push_back(row);
  trim();
}

void IterationHistory::setRowLimit(int64_t requested) {
  limit_ = sanitizedRowLimit(requested);
  trim();
}

void IterationHistory::clear() {
  rows_.clear();
  statistics_ = {};
}

void IterationHistory::trim() {
  while (rows_.size() > static_cast<size_t>(limit_)) rows_.pop_front();
}

std::string leastDeletionsText(int32_t leastDeletions) {
  return leastDeletions == kNotMetYet ? "---" : formatNumber(leastDeletions, 0);
}

std::string iterationHistoryCsv(const IterationHistory& history, int32_t howManyNodes) {
  std::string text;
  for (int32_t c = 0; c < kIterationColumns; ++c)
    text += std::string(c ? "," : "") + kIterationColumnTitles[c];
  text += '\n';
  for (const IterationRow& row : history.rows()) {
    for (int32_t c = 0; c < kIterationColumns; ++c) text += (c ? "," : "") + iterationCellText(row, c);
    text += '\n';
  }
  const IterationStatistics& s = history.statistics();
  auto record = [](int32_t value, int32_t notMet) {
    return value == notMet ? std::string() : formatNumber(value, 0);
  };
  const std::string share = s.maxForcedEdges >= 0 && howManyNodes > 0
                                ? formatNumber(s.maxForcedEdges * 100.0 / howManyNodes, 2)
                                : "";
  text += "\nStatistic,Value\n";
  text += "Iterations," + formatNumber(s.rowsAdded, 0) + "\n";
  text += "Least Deletions To Hub," + record(s.leastDeletionsToHub, kNotMetYet) + "\n";
  text += "Least Deletions To Ring," + record(s.leastDeletionsToRing, kNotMetYet) + "\n";
  text += "Most Deletions," + record(s.mostDeletions, -1) + "\n";
  text += "Max Forced Edges," + record(s.maxForcedEdges, -1) + "\n";
  text += "Max Forced Edges % Done," + share + "\n";
  return text;
}

void applyBatch(IterationHistory& history, const IterationBatch& batch) {
  if (batch.skippedRows) history.clearRows();
  for (const IterationRow& row : batch.rows) history.appendRow(row);
  history.setStatistics(batch.statistics);
}

}  // namespace hc
