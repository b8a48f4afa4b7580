#include "app/depth_history.h"

#include <cmath>
#include <cstdio>
#include <fstream>

#include "core/number_format.h"

namespace hc {

std::string depthCellText(const DepthRow& row, int32_t depth, int32_t column) {
  switch (column) {
    case 0: return formatNumber(depth, 0);
    case 1: return formatNumber(row.started, 0);
    case 2: return formatNumber(row.solved, 0);
    case 3: return formatNumber(row.forcedEdges, 0);
    case 4: return row.solved > 0.0 ? formatNumber(row.longestTime, 3) : "-";
    case 5: return row.solved > 0.0 ? formatNumber(std::trunc(row.averageTime * 1000.0) * 0.001, 3) : "-";
    default: return {};
  }
}

double chartStatisticMaximum(const DepthSummary& summary, ChartKind kind) {
  switch (kind) {
    case ChartKind::kSolved: return summary.mostSolved;
    case ChartKind::kAverageTime: return summary.largestAverageTime;
    case ChartKind::kMaximumTime: return summary.longestTimeOverall;
    case ChartKind::kForcedEdges: return summary.mostForcedEdges;
  }
  return 0.0;
}

void DepthHistory::setRow(int32_t depth, const DepthRow& row) {
  if (depth < 0) return;
  size_t d = static_cast<size_t>(depth);
  if (d >= rows_.size()) rows_.resize(d + 1);
  rows_[d] = row;
}

void DepthHistory::clear() {
  rows_.clear();
  summary_ = {};
}

std::vector<double> DepthHistory::series(ChartKind kind) const {
  int32_t last = kind == ChartKind::kForcedEdges ? summary_.deepestStartedDepth : summary_.deepestSolvedDepth;
  if (summary_.deepestStartedDepth < 0) return {};
  std::vector<double> values;
  for (int32_t d = 0; d <= last && d < rowCount(); ++d) {
    const DepthRow& r = rows_[static_cast<size_t>(d)];
    switch (kind) {
      case ChartKind::kSolved: values.push_back(r.solved); break;
      case ChartKind::kAverageTime: values.push_back(r.averageTime); break;
      case ChartKind::kMaximumTime: values.push_back(r.longestTime); break;
      case ChartKind::kForcedEdges: values.push_back(r.forcedEdges); break;
    }
  }
  return values;
}

std::string DepthHistory::csv() const {
  std::string text;
  for (int32_t c = 0; c < kDepthColumns; ++c) text += std::string(c ? "," : "") + kDepthColumnTitles[c];
  text += '\n';
  for (int32_t d = 0; d < rowCount(); ++d) {
    for (int32_t c = 0; c < kDepthColumns; ++c) {
      std::string cell = depthCellText(rows_[static_cast<size_t>(d)], d, c);
      if (c) text += ',';
      if (cell != "-") text += cell;
    }
    text += '\n';
  }
  return text;
}

void applyBatch(DepthHistory& history, const DepthBatch& batch) {
  for (const auto& [depth, row] : batch.rows) history.setRow(depth, row);
  if (!batch.rows.empty()) history.setSummary(batch.summary);
}

std::optional<std::string> writeTextFile(const std::string& path, const std::string& text) {
  const std::string failure = "ERROR! Could not write the file \"" + path + "\".";
  // Written beside the target and renamed over it, so a failed write leaves an existing
  // file as it was.
  const std::string partial = path + ".part";
  std::ofstream out(partial, std::ios::binary | std::ios::trunc);
  if (!out) return failure;
  out << text;
  out.close();
  if (!out || std::rename(partial.c_str(), path.c_str()) != 0) {
    std::remove(partial.c_str());
    return failure;
  }
  return std::nullopt;
}

}  // namespace hc
