#include "ui/method_page_parts.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>

#include "ui/paint_helpers.h"

namespace hcui {

namespace {

// Swallows the second press of a double-click (Qt delivers it as a double-click event,
// which a button otherwise takes as one more press).
class DoubleClickFilter : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonDblClick) return true;
    return QObject::eventFilter(watched, event);
  }
};

// The big state button: its picture fills it, so the keyboard focus is drawn over the
// picture (a black and white dashed frame, seen on every colour), and Enter presses it as
// Space does.
class StateButton : public QToolButton {
 public:
  using QToolButton::QToolButton;

 protected:
  void paintEvent(QPaintEvent* event) override {
    QToolButton::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    const QRect frame = rect().adjusted(3, 3, -4, -4);
    painter.setPen(QPen(Qt::white, 2));
    painter.drawRect(frame);
    painter.setPen(QPen(Qt::black, 2, Qt::DashLine));
    painter.drawRect(frame);
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      click();
      return;
    }
    QToolButton::keyPressEvent(event);
  }
};

}  // namespace

void pressOnKey(QAbstractButton& button, const QKeySequence& key) {
  // A window-wide key that acts only while the button is seen: the pages hidden behind
  // other tabs, and hidden buttons, leave it to the one shown.
  auto* shortcut = new QShortcut(key, &button);
  shortcut->setContext(Qt::WindowShortcut);
  QObject::connect(shortcut, &QShortcut::activated, &button, [&button] {
    if (button.isVisible() && button.isEnabled()) button.click();
  });
}

void actOncePerDoubleClick(QAbstractButton& button) {
  button.installEventFilter(new DoubleClickFilter(&button));
}

void keepPlaceWhenHidden(QWidget& widget) {
  QSizePolicy policy = widget.sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget.setSizePolicy(policy);
}

QToolButton* makeStateButton(QWidget* parent) {
  auto* button = new StateButton(parent);
  button->setFixedSize(78, 78);
  button->setIconSize(QSize(74, 74));
  button->setAutoRaise(false);
  button->setFocusPolicy(Qt::StrongFocus);
  button->setToolTip(QStringLiteral("Starts the method (SOLVE GRAPH), stops it (ABORT) or clears its result "
                                    "(RESET): %1, or Space or Enter when it has the focus")
                         .arg(kStateButtonKey.toString(QKeySequence::NativeText)));
  pressOnKey(*button, kStateButtonKey);
  actOncePerDoubleClick(*button);
  keepPlaceWhenHidden(*button);
  return button;
}

void showStatePicture(QToolButton& button, hc::ProgramState state) {
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
  // A column is at least as wide as its caption in the header's font (with the section's
  // margins), so no caption is cut off whatever font the system gives.
  const QFontMetrics metrics(view->header()->font());
  const int margins = 2 * view->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, view->header()) + 8;
  int total = 0;
  for (int c = 0; c < count; ++c) {
    const QString caption = model->headerData(c + 1, Qt::Horizontal, Qt::DisplayRole).toString();
    const int width = std::max<int>(widths[c], metrics.horizontalAdvance(caption) + margins);
    view->setColumnWidth(c + 1, width);
    total += width;
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

hc::BoxLook statisticsLook() {
  return {{212, 208, 200}, {0, 0, 0}, {255, 255, 255}};
}

}  // namespace hcui
