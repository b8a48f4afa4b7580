#include "ui/hamiltonian_cycles_dlg.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/cohc_dlg.h"
#include "ui/graph_editor_dlg.h"
#include "ui/graph_generation_dlg.h"
#include "ui/graph_information_dlg.h"
#include "ui/help_dlg.h"
#include "ui/paint_helpers.h"
#include "ui/stone_carver_dlg.h"

CHamiltonianCyclesDlg::CHamiltonianCyclesDlg(QWidget* parent) : QDialog(parent), model_(*this) {
  setObjectName("CHamiltonianCyclesDlg");
  setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout();
  statusLabel_ = new hcui::PaintedLabel(this);
  statusLabel_->setObjectName("statusLabel");
  statusLabel_->setLook(hc::kStatusLabelText, hc::statusLabelLook());
  statusLabel_->setFixedWidth(statusLabel_->sizeHint().width() + 16);
  statusText_ = new hcui::PaintedLabel(this);
  statusText_->setObjectName("statusText");
  statusText_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  help_ = new QPushButton("Help! (F1)", this);
  help_->setObjectName("helpButton");
  help_->setAutoDefault(false);  // Enter on a page must not open help
  reset_ = new QToolButton(this);
  reset_->setObjectName("resetButton");
  reset_->setText("Reset");
  reset_->setToolTip("Reset");
  reset_->setIconSize(QSize(74, 74));
  reset_->setAutoRaise(false);
  top->addWidget(statusLabel_);
  top->addWidget(statusText_, 1);
  top->addWidget(help_);
  top->addWidget(reset_);
  for (QWidget* w : {static_cast<QWidget*>(statusLabel_), static_cast<QWidget*>(statusText_)}) w->setFixedHeight(80);
  layout->addLayout(top);

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("tabs");
  editor_ = new CGraphEditorDlg(model_, tabs_);
  generation_ = new CGraphGenerationDlg(model_, tabs_);
  information_ = new CGraphInformationDlg(model_, tabs_);
  stoneCarver_ = new CStoneCarverDlg(model_, tabs_);
  cohc_ = new CCoHCDlg(model_, tabs_);
  tabs_->addTab(editor_, "Graph Editor");
  tabs_->addTab(generation_, "Graph Generation");
  tabs_->addTab(information_, "Graph Information");
  tabs_->addTab(stoneCarver_, "Stone Carver's HC Algorithm");
  tabs_->addTab(cohc_, "coHC Proof System");
  layout->addWidget(tabs_, 1);
  model_.setPage(hc::kEditorPage, editor_);
  model_.setPage(hc::kGenerationPage, generation_);
  model_.setPage(hc::kInformationPage, information_);
  model_.setPage(hc::kStoneCarverPage, stoneCarver_);
  model_.setPage(hc::kCoHCPage, cohc_);

  connect(tabs_, &QTabWidget::currentChanged, this, &CHamiltonianCyclesDlg::tabChanged);
  connect(reset_, &QToolButton::clicked, this, [this] {
    if (hc::resetButtonShown(model_.programState())) model_.setProgramState(hc::program_states::kBlue);
  });
  connect(help_, &QPushButton::clicked, this, &CHamiltonianCyclesDlg::openHelp);
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  f1->setContext(Qt::WindowShortcut);
  connect(f1, &QShortcut::activated, this, &CHamiltonianCyclesDlg::openHelp);
  resize(1100, 760);
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
  if (commandLineFile) model_.startWithFile(*commandLineFile);
  else model_.setProgramState(hc::program_states::kBlue);
}

void CHamiltonianCyclesDlg::tabChanged(int index) {
  model_.setCurrentTab(index);
  if (index == hc::kInformationPage) information_->refresh();
  refreshFrame();
}

std::optional<std::string> CHamiltonianCyclesDlg::chooseOpenFile(const std::string& title, const std::string& filter) {
  if (fileHook_) return fileHook_(title);
  QString name = QFileDialog::getOpenFileName(this, QString::fromStdString(title), QString(),
                                              QString::fromStdString(filter));
  if (name.isEmpty()) return std::nullopt;
  return name.toStdString();
}

std::optional<std::string> CHamiltonianCyclesDlg::chooseSaveFile(const std::string& title, const std::string& filter,
                                                                 const std::string& suggestedPath) {
  if (fileHook_) return fileHook_(title);
  QString name = QFileDialog::getSaveFileName(this, QString::fromStdString(title),
                                              QString::fromStdString(suggestedPath), QString::fromStdString(filter));
  if (name.isEmpty()) return std::nullopt;
  return name.toStdString();
}

void CHamiltonianCyclesDlg::showMessage(const std::string& text, const std::string& caption) {
  if (messageHook_) return messageHook_(text, caption);
  QMessageBox::information(this, QString::fromStdString(caption), QString::fromStdString(text));
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
  const int32_t state = model_.programState();
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
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}
