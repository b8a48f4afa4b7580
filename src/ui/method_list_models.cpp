#include "ui/method_list_models.h"

#include <algorithm>

namespace hcui {

namespace {

QVariant alignedRight() {
  return QVariant::fromValue(int(Qt::AlignRight | Qt::AlignVCenter));
}

}  // namespace

int HistoryListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(titles_.size()) + 1;
}

QVariant HistoryListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role == Qt::TextAlignmentRole) return alignedRight();
  if (role != Qt::DisplayRole || index.column() == 0) return {};
  return QString::fromStdString(cellText(index.row(), index.column() - 1));
}

QVariant HistoryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::TextAlignmentRole) return alignedRight();
  if (role != Qt::DisplayRole) return {};
  if (section <= 0 || section > static_cast<int>(titles_.size())) return QString();
  return QString::fromLatin1(titles_[static_cast<size_t>(section - 1)]);
}

void IterationListModel::apply(const hc::IterationBatch& batch) {
  if (batch.skippedRows) {
    // The rows shown so far and the batch are not consecutive: start the list afresh.
    beginResetModel();
    history_.clearRows();
    for (const hc::IterationRow& row : batch.rows) history_.appendRow(row);
    history_.setStatistics(batch.statistics);
    endResetModel();
    return;
  }
  const int limit = history_.rowLimit();
  const int incoming = std::min(static_cast<int>(batch.rows.size()), limit);
  dropOldest(rowCount() + incoming - limit);
  if (incoming > 0) {
    const int first = rowCount();
    beginInsertRows({}, first, first + incoming - 1);
    for (auto it = batch.rows.end() - incoming; it != batch.rows.end(); ++it) history_.appendRow(*it);
    endInsertRows();
  }
  history_.setStatistics(batch.statistics);
}

void IterationListModel::setRowLimit(int64_t limit) {
  dropOldest(rowCount() - hc::sanitizedRowLimit(limit));
  history_.setRowLimit(limit);
}

void IterationListModel::dropOldest(int count) {
  count = std::min(count, rowCount());
  if (count <= 0) return;
  beginRemoveRows({}, 0, count - 1);
  history_.dropOldest(static_cast<size_t>(count));
  endRemoveRows();
}

void IterationListModel::clear() {
  beginResetModel();
  history_.clear();
  endResetModel();
}

int IterationListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(history_.rows().size());
}

std::string IterationListModel::cellText(int row, int column) const {
  return hc::iterationCellText(history_.rows()[static_cast<size_t>(row)], column);
}

void DepthListModel::apply(const hc::DepthBatch& batch) {
  for (const auto& [depth, row] : batch.rows) {
    if (depth < 0) continue;
    if (depth >= rowCount()) {
      beginInsertRows({}, rowCount(), depth);
      history_.setRow(depth, row);
      endInsertRows();
    } else {
      history_.setRow(depth, row);
      emit dataChanged(index(depth, 1), index(depth, hc::kDepthColumns));
    }
  }
  if (!batch.rows.empty()) history_.setSummary(batch.summary);
}

void DepthListModel::clear() {
  beginResetModel();
  history_.clear();
  endResetModel();
}

int DepthListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : history_.rowCount();
}

std::string DepthListModel::cellText(int row, int column) const {
  return hc::depthCellText(history_.row(row), row, column);
}

}  // namespace hcui
