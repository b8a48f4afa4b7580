#include "ui/help_dlg.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabBar>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "app/help_texts.h"

CHelpDlg::CHelpDlg(hc::ProgramModel& model, int32_t pageIndex, QWidget* parent)
    : QDialog(parent), model_(model), pageIndex_(pageIndex) {
  setWindowTitle("Hamiltonian Cycles Help");
  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabBar(this);
  tabs_->addTab("General Help");
  tabs_->addTab("Contextual Help");
  // A text edit, not a plain-text one: its scroll bar measures the laid-out text in pixels,
  // so it follows the text (a plain-text edit counts paragraphs and guesses at wrapped ones).
  text_ = new QTextEdit(this);
  text_->setReadOnly(true);
  text_->setAcceptRichText(false);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setFont(QFont("DejaVu Sans Mono", 9));
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  layout->addWidget(tabs_);
  layout->addWidget(text_, 1);
  layout->addWidget(ok, 0, Qt::AlignRight);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(tabs_, &QTabBar::currentChanged, this, [this] { refill(); });
  resize(760, 520);
  refill();
  // A run may end while help is open: the contextual text follows the state it reaches.
  auto* follow = new QTimer(this);
  connect(follow, &QTimer::timeout, this, &CHelpDlg::refill);
  follow->start(250);
}

void CHelpDlg::refill() {
  if (tabs_ == nullptr || text_ == nullptr) return;
  const hc::HelpLines& lines =
      tabs_->currentIndex() == 1
          ? hc::contextualHelpLines(pageIndex_, model_.programState(), model_.algorithmChoice())
          : hc::generalHelpLines();
  // Line ends as the text box wants them; the text itself keeps its "\r\n" lines.
  QString text = QString::fromStdString(hc::joinHelpLines(lines)).replace("\r\n", "\n");
  if (text != text_->toPlainText()) text_->setPlainText(text);
}

void CHelpDlg::paintEvent(QPaintEvent* event) {
  refill();
  QDialog::paintEvent(event);
}
