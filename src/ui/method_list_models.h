// The report-style history lists of the Stone Carver and Co-HC pages as Qt item models.
// Each owns the page's Qt-free record (IterationHistory, DepthHistory) and applies the
// batches drained from the worker's hand-over buffer with the matching row insertions and
// removals, so a view keeps its scroll position and repaints only what changed.
//
// Column 0 is the hidden, empty first column of both lists; every column is right-aligned.
#pragma once

#include <QAbstractTableModel>
#include <span>
#include <string>

#include "app/depth_history.h"
#include "app/iteration_history.h"

namespace hcui {

// What the two lists share: the hidden first column, the titles, right-aligned cells whose
// texts the record gives.
class HistoryListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 protected:
  // `titles` (of static storage) name the columns after the hidden one.
  HistoryListModel(std::span<const char* const> titles, QObject* parent)
      : QAbstractTableModel(parent), titles_(titles) {}
  // The text of `column` (0: the first shown) in `row` (below rowCount()).
  virtual std::string cellText(int row, int column) const = 0;

 private:
  std::span<const char* const> titles_;
};

class IterationListModel : public HistoryListModel {
  Q_OBJECT
 public:
  explicit IterationListModel(QObject* parent = nullptr)
      : HistoryListModel(hc::kIterationColumnTitles, parent) {}

  const hc::IterationHistory& history() const { return history_; }
  void apply(const hc::IterationBatch& batch);
  void setRowLimit(int64_t limit);
  void clear();
  int rowCount(const QModelIndex& parent = {}) const override;

 private:
  std::string cellText(int row, int column) const override;
  void dropOldest(int count);

  hc::IterationHistory history_;
};

class DepthListModel : public HistoryListModel {
  Q_OBJECT
 public:
  explicit DepthListModel(QObject* parent = nullptr) : HistoryListModel(hc::kDepthColumnTitles, parent) {}

  const hc::DepthHistory& history() const { return history_; }
  void apply(const hc::DepthBatch& batch);
  void clear();
  int rowCount(const QModelIndex& parent = {}) const override;

 private:
  std::string cellText(int row, int column) const override;
  hc::DepthHistory history_;
};

}  // namespace hcui
