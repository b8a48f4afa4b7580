// Pieces the method pages (Stone Carver, Co-HC, Solver) are built from: the big state
// button, the report-style history view, the statistics box look, and the pacing of their
// refreshes. The pages repaint their lists and charts from a timer, never from the
// worker, so however fast the engine reports the window redraws them at most
// kRefreshIntervalMs apart (the Solver's figures less often); the elapsed-time box ticks
// every kElapsedIntervalMs.
#pragma once

#include <QKeySequence>
#include <QString>
#include <array>
#include <cstdint>

#include "app/program_states.h"

class QAbstractButton;
class QAbstractItemModel;
class QToolButton;
class QTreeView;
class QWidget;

namespace hcui {

inline constexpr int kRefreshIntervalMs = 33;
inline constexpr int kElapsedIntervalMs = 10;

// The key that presses the state button of the page shown (start, abort, reset).
inline const QKeySequence kStateButtonKey{Qt::Key_F5};
// A 78x78 button that shows the 74x74 state picture of `state`; it acts once per
// double-click and keeps its place when hidden. It takes the focus by Tab or click (and
// shows it), Space and Enter press it, and kStateButtonKey presses it while it is shown.
QToolButton* makeStateButton(QWidget* parent);
// `key` anywhere in the window presses `button` while the button is shown and enabled.
void pressOnKey(QAbstractButton& button, const QKeySequence& key);
// A double-click on `button` acts as one press: in state 3 a double-click on a state button
// must reset the result, not reset it and at once start a new run.
void actOncePerDoubleClick(QAbstractButton& button);
// A hidden `widget` keeps its place in the layout, so the controls beside it do not move
// under the pointer when it hides.
void keepPlaceWhenHidden(QWidget& widget);
void showStatePicture(QToolButton& button, hc::ProgramState state);

// A list view over `model` whose first column is hidden and the others have `widths`
// (widened where the caption needs more room).
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

}  // namespace hcui
