// The report-style history lists of the two method pages as Qt item models. Each owns the
// page's Qt-free record (IterationHistory, DepthHistory) and applies the batches drained
// from the worker's hand-over buffer with the matching row insertions and removals, so a
// view keeps its scroll position and repaints only what changed.
//
// Column 0 is the hidden, empty first column of both lists; every column is right-aligned.
#pragma once

#include <QAbstractTableModel>

#include "app/depth_history.h"
#include "app/iteration_history.h"

namespace hcui {

class IterationListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  const hc::IterationHistory& history() const { return history_; }
  void apply(const hc::IterationBatch& batch);
  void setRowLimit(int64_t limit);
  void clear();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  void dropOldest(int count);

  hc::IterationHistory history_;
};

class DepthListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  const hc::DepthHistory& history() const { return history_; }
  void apply(const hc::DepthBatch& batch);
  void clear();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  hc::DepthHistory history_;
};

}  // namespace hcui
