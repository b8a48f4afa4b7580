// Pieces both method pages (Stone Carver, Co-HC) are built from: the big state button,
// the report-style history view, the statistics box look, and the pacing of their
// refreshes. The pages repaint their lists and charts from a timer, never from the
// worker, so however fast the engine reports the window redraws them at most
// kRefreshIntervalMs apart; the elapsed-time box ticks every kElapsedIntervalMs.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "app/program_states.h"

class CHamiltonianCyclesDlg;
class QAbstractItemModel;
class QToolButton;
class QTreeView;
class QWidget;

namespace hcui {

inline constexpr int kRefreshIntervalMs = 33;
inline constexpr int kElapsedIntervalMs = 10;

// A 78x78 flat button that shows the 74x74 state picture of `state`.
QToolButton* makeStateButton(QWidget* parent);
void showStatePicture(QToolButton& button, int32_t state);

// A list view over `model` whose first column is hidden and the others have `widths`.
template <size_t N>
QTreeView* makeHistoryView(QWidget* parent, QAbstractItemModel* model, const std::array<int32_t, N>& widths);
QTreeView* makeHistoryViewOf(QWidget* parent, QAbstractItemModel* model, const int32_t* widths, int count);
template <size_t N>
QTreeView* makeHistoryView(QWidget* parent, QAbstractItemModel* model, const std::array<int32_t, N>& widths) {
  return makeHistoryViewOf(parent, model, widths.data(), static_cast<int>(N));
}
// Keeps the newest row in sight when the view was showing the end of the list.
void followNewestRow(QTreeView& view, bool wasAtEnd);
bool showsLastRow(const QTreeView& view);

// The statistics boxes: grey, black text, white frame.
hc::BoxLook statisticsLook();

// For the screenshot scenes: stops a run of either page, then loads the generalized
// Petersen graph GP(n, k) from a text file in the temporary folder (state 1).
void loadSceneGraph(CHamiltonianCyclesDlg& window, int n, int k);

}  // namespace hcui
