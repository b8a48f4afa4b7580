#include "ui/method_page_parts.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QToolButton>
#include <QTreeView>

#include <QDir>

#include "io/adjacency_text_format.h"
#include "generators/generalized_petersen.h"
#include "ui/hamiltonian_cycles_dlg.h"
#include "ui/paint_helpers.h"

namespace hcui {

QToolButton* makeStateButton(QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setFixedSize(78, 78);
  button->setIconSize(QSize(74, 74));
  button->setAutoRaise(false);
  return button;
}

void showStatePicture(QToolButton& button, int32_t state) {
  button.setIcon(QIcon(stateButtonPixmap(state)));
  button.setText(QString::fromStdString(hc::stateButtonCaption(state)));
}

QTreeView* makeHistoryViewOf(QWidget* parent, QAbstractItemModel* model, const int32_t* widths, int count) {
  auto* view = new QTreeView(parent);
  view->setModel(model);
  view->setRootIsDecorated(false);
  view->setUniformRowHeights(true);
  view->setItemsExpandable(false);
  view->setSelectionMode(QAbstractItemView::NoSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->header()->setStretchLastSection(false);
  view->header()->setSectionsMovable(false);
  view->setColumnHidden(0, true);
  int total = 0;
  for (int c = 0; c < count; ++c) {
    view->setColumnWidth(c + 1, widths[c]);
    total += widths[c];
  }
  // Room for every column and the scroll bar, so no column is cut off.
  view->setMinimumWidth(total + view->verticalScrollBar()->sizeHint().width() + 2 * view->frameWidth() + 4);
  return view;
}

bool showsLastRow(const QTreeView& view) {
  const QScrollBar* bar = view.verticalScrollBar();
  return bar->value() >= bar->maximum();
}

void followNewestRow(QTreeView& view, bool wasAtEnd) {
  if (wasAtEnd) view.scrollToBottom();
}

hc::BoxLook statisticsLook() { return {{212, 208, 200}, {0, 0, 0}, {255, 255, 255}}; }

void loadSceneGraph(CHamiltonianCyclesDlg& window, int n, int k) {
  hc::ProgramModel& model = window.model();
  if (model.programState() == hc::program_states::kRed)
    model.pageButtonPressed(model.algorithmChoice() == hc::algorithm_choices::kCoHC ? hc::kCoHCPage
                                                                                     : hc::kStoneCarverPage);
  const std::string path =
      QDir::temp().filePath(QStringLiteral("generalized-petersen-%1-%2.txt").arg(n).arg(k)).toStdString();
  if (hc::FileStatus written = hc::writeAdjacencyText(*hc::generateGeneralizedPetersen(n, k), path); !written) {
    model.view().showMessage(written.error, "Hamiltonian Cycles");
    return;
  }
  model.startWithFile(path);
}

}  // namespace hcui
