#include "ui/hamiltonian_cycles_dlg.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <filesystem>

#include "app/user_messages.h"
#include "ui/cohc_dlg.h"
#include "ui/graph_editor_dlg.h"
#include "ui/graph_generation_dlg.h"
#include "ui/graph_information_dlg.h"
#include "ui/help_dlg.h"
#include "ui/method_page_parts.h"
#include "ui/paint_helpers.h"
#include "ui/solver_dlg.h"
#include "ui/stone_carver_dlg.h"

namespace {

// A page in a scroll area: a window smaller than the page's least size scrolls it instead
// of drawing its parts over each other.
QWidget* scrolled(QWidget* page) {
  auto* area = new QScrollArea;
  area->setWidget(page);
  area->setWidgetResizable(true);
  area->setFrameShape(QFrame::NoFrame);
  // The area itself is no stop of the Tab key (it would take the focus and show nothing).
  area->setFocusPolicy(Qt::NoFocus);
  return area;
}

}  // namespace

CHamiltonianCyclesDlg::CHamiltonianCyclesDlg(QWidget* parent) : QDialog(parent), model_(*this) {
  setObjectName("CHamiltonianCyclesDlg");
  setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 4);
  layout->setSpacing(4);
  auto* top = new QHBoxLayout();
  statusLabel_ = new hcui::PaintedLabel(this);
  statusLabel_->setObjectName("statusLabel");
  statusLabel_->setLook(hc::kStatusLabelText, hc::statusLabelLook());
  statusLabel_->setFixedWidth(statusLabel_->sizeHint().width() + 16);
  statusText_ = new hcui::PaintedLabel(this);
  statusText_->setObjectName("statusText");
  statusText_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  statusText_->setMinimumWidth(120);
  statusText_->setShrinkToFit(true);
  help_ = new QPushButton("Help! (F1)", this);
  help_->setObjectName("helpButton");
  help_->setAutoDefault(false);  // Enter on a page must not open help
  help_->setToolTip("Help on the page shown and the program's state (F1)");
  reset_ = new QToolButton(this);
  reset_->setObjectName("resetButton");
  reset_->setText("Reset");
  reset_->setToolTip("Reset: forgets the graph and returns to editing (state 0)");
  reset_->setIconSize(QSize(74, 74));
  reset_->setAutoRaise(false);
  // Hidden in states 0 and 2, RESET keeps its place: "Help! (F1)" never slides under the
  // pointer, and a double-click acts once.
  hcui::keepPlaceWhenHidden(*reset_);
  hcui::actOncePerDoubleClick(*reset_);
  top->addWidget(statusLabel_);
  top->addWidget(statusText_, 1);
  top->addWidget(help_);
  top->addWidget(reset_);
  for (QWidget* w : {static_cast<QWidget*>(statusLabel_), static_cast<QWidget*>(statusText_)})
    w->setFixedHeight(80);
  layout->addLayout(top);

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("tabs");
  editor_ = new CGraphEditorDlg(model_, tabs_);
  generation_ = new CGraphGenerationDlg(model_, tabs_);
  information_ = new CGraphInformationDlg(model_, tabs_);
  stoneCarver_ = new CStoneCarverDlg(model_, tabs_);
  cohc_ = new CCoHCDlg(model_, tabs_);
  solver_ = new CSolverDlg(model_, tabs_);
  // The editor's canvas takes whatever room there is and its buttons scroll on their own;
  // the other pages scroll as a whole when the window is smaller than they are.
  tabs_->addTab(editor_, "Graph Editor");
  tabs_->addTab(scrolled(generation_), "Graph Generation");
  tabs_->addTab(scrolled(information_), "Graph Information");
  tabs_->addTab(scrolled(stoneCarver_), "Stone Carver's HC Algorithm");
  tabs_->addTab(scrolled(cohc_), "coHC Proof System");
  tabs_->addTab(scrolled(solver_), "Solver");
  const char* const tips[] = {"Draw a graph, see the graph to solve, edit it by hand",
                              "Generate a graph of a family, or read one from a file",
                              "Figures of the graph to solve",
                              "Decide the graph with the Stone Carver's algorithm",
                              "Prove the graph non-Hamiltonian (or find a cycle) with the coHC proof system",
                              "Decide the graph with every method at once (the strongest way)"};
  for (int i = 0; i < hc::kPageCount; ++i) tabs_->setTabToolTip(i, tips[i]);
  layout->addWidget(tabs_, 1);
  model_.setPage(hc::kEditorPage, editor_);
  model_.setPage(hc::kGenerationPage, generation_);
  model_.setPage(hc::kInformationPage, information_);
  model_.setPage(hc::kStoneCarverPage, stoneCarver_);
  model_.setPage(hc::kCoHCPage, cohc_);
  model_.setPage(hc::kSolverPage, solver_);

  connect(tabs_, &QTabWidget::currentChanged, this, &CHamiltonianCyclesDlg::tabChanged);
  connect(reset_, &QToolButton::clicked, this, [this] {
    if (hc::resetButtonShown(model_.programState())) model_.setProgramState(hc::ProgramState::kEditing);
  });
  connect(help_, &QPushButton::clicked, this, &CHamiltonianCyclesDlg::openHelp);
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  f1->setContext(Qt::WindowShortcut);
  connect(f1, &QShortcut::activated, this, &CHamiltonianCyclesDlg::openHelp);
  resize(1100, 760);
  setMinimumSize(640, 480);
  refreshFrame();
}

CHamiltonianCyclesDlg::~CHamiltonianCyclesDlg() {
  // The pages go first: their runners stop and join while the model they report to is
  // still alive.
  for (int i = 0; i < hc::kPageCount; ++i) model_.setPage(static_cast<hc::PageIndex>(i), nullptr);
  while (tabs_->count() > 0) {
    QWidget* page = tabs_->widget(0);
    tabs_->removeTab(0);
    delete page;
  }
}

void CHamiltonianCyclesDlg::initialise(const std::optional<std::string>& commandLineFile) {
  tabs_->setCurrentIndex(hc::kEditorPage);
  if (commandLineFile)
    model_.startWithFile(*commandLineFile);
  else
    model_.setProgramState(hc::ProgramState::kEditing);
}

void CHamiltonianCyclesDlg::tabChanged(int index) {
  model_.setCurrentTab(index);
  if (index == hc::kInformationPage) information_->refresh();
  refreshFrame();
}

std::string CHamiltonianCyclesDlg::dialogPath(const std::string& suggested) const {
  return hc::dialogStartPath(model_.currentFilePath(), lastFolder_, suggested);
}

std::optional<std::string> CHamiltonianCyclesDlg::chooseOpenFile(const std::string& title,
                                                                 const std::string& filter) {
  if (fileHook_) return fileHook_(title);
  // Qt lists only file names that are valid UTF-8 (its directory walk skips the others), so
  // such a file can be opened from the command line only.
  QString name =
      QFileDialog::getOpenFileName(this, QString::fromStdString(title),
                                   QString::fromStdString(dialogPath({})), QString::fromStdString(filter));
  if (name.isEmpty()) return std::nullopt;
  lastFolder_ = std::filesystem::path(name.toStdString()).parent_path().string();
  return name.toStdString();
}

std::optional<std::string> CHamiltonianCyclesDlg::chooseSaveFile(const std::string& title,
                                                                 const std::string& filter,
                                                                 const std::string& suggestedPath) {
  if (fileHook_) return fileHook_(dialogPath(suggestedPath));
  QString name = QFileDialog::getSaveFileName(this, QString::fromStdString(title),
                                              QString::fromStdString(dialogPath(suggestedPath)),
                                              QString::fromStdString(filter));
  if (name.isEmpty()) return std::nullopt;
  lastFolder_ = std::filesystem::path(name.toStdString()).parent_path().string();
  return name.toStdString();
}

bool CHamiltonianCyclesDlg::mayReplaceDrawing() {
  return editor_->confirmDiscard();
}

void CHamiltonianCyclesDlg::showMessage(const std::string& text, const std::string& caption) {
  if (messageHook_) return messageHook_(text, caption);
  const QString title = QString::fromStdString(caption), body = QString::fromStdString(text);
  if (hc::messageKind(text) == hc::MessageKind::kInformation)
    QMessageBox::information(this, title, body);
  else
    QMessageBox::warning(this, title, body);
}

void CHamiltonianCyclesDlg::showNote(const std::string& text) {
  if (noteHook_) noteHook_(text);
  statusText_->setNote(QString::fromStdString(text));
  notedState_ = model_.programState();
}

bool CHamiltonianCyclesDlg::askYesNo(const std::string& text, const std::string& caption) {
  if (questionHook_) return questionHook_(text);
  return QMessageBox::question(this, QString::fromStdString(caption), QString::fromStdString(text),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void CHamiltonianCyclesDlg::postToUiThread(std::function<void()> task) {
  // Queued on this window: a task posted after the window is gone is dropped.
  QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void CHamiltonianCyclesDlg::refreshFrame() {
  const hc::ProgramState state = model_.programState();
  // Dialogs open where the graph last read came from, also after RESET has forgotten it.
  if (!model_.currentFilePath().empty())
    lastFolder_ = std::filesystem::path(model_.currentFilePath()).parent_path().string();
  // A note (where a file went) belongs to the state it was written in.
  if (state != notedState_) statusText_->setNote(QString());
  notedState_ = state;
  setWindowTitle(QString::fromStdString(model_.windowTitle()));
  statusText_->setLook(QString::fromStdString(model_.statusText()), hc::stateLook(state));
  reset_->setVisible(hc::resetButtonShown(state));
  reset_->setIcon(QIcon(hcui::stateButtonPixmap("RESET", hcui::toQColor(hc::stateLook(state).fill))));
}

void CHamiltonianCyclesDlg::openHelp() {
  CHelpDlg help(model_, tabs_->currentIndex(), this);
  if (helpHook_) {
    helpHook_(help);
    return;
  }
  help.exec();
}

void CHamiltonianCyclesDlg::keyPressEvent(QKeyEvent* event) {
  // Enter that reaches the window (a parameter box's Enter, after the box has acted on it)
  // presses no default button: a button the focus once passed would otherwise take it (the
  // Cancel of a graph built in the background, just as the build starts).
  if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void CHamiltonianCyclesDlg::reject() {
  if (!editor_->confirmDiscard()) return;
  QDialog::reject();
}
