#include "ui/graph_information_dlg.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/graph_source.h"

CGraphInformationDlg::CGraphInformationDlg(hc::ProgramModel& model, QWidget* parent)
    : QWidget(parent), model_(model), job_([](std::function<void()> task) {
        QMetaObject::invokeMethod(qApp, std::move(task), Qt::QueuedConnection);
      }) {
  auto* outer = new QVBoxLayout(this);
  auto* box = new QGroupBox("Graph Information", this);
  outer->addWidget(box, 0, Qt::AlignTop);
  outer->addStretch(1);
  auto* column = new QVBoxLayout(box);
  for (QLabel*& line : lines_) {
    line = new QLabel(box);
    line->setTextFormat(Qt::PlainText);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(line);
  }
  column->addWidget(new QLabel("Planar: (NOT IMPLEMENTED YET)", box));
  refresh();
}

CGraphInformationDlg::~CGraphInformationDlg() = default;

void CGraphInformationDlg::setPageState(int32_t state) {
  if (state == hc::program_states::kBlue || state == hc::program_states::kGreen) refresh();
}

void CGraphInformationDlg::refresh() {
  std::shared_ptr<const hc::Graph> graph = model_.submittedGraph();
  if (model_.graphSourceType() == hc::kNoGraph) graph.reset();
  const std::string name = graph ? model_.graphDisplayName() : std::string();
  // A submitted graph never changes: its figures, shown or being computed, stay right.
  if (graph && graph == shownGraph_ && name == shownName_) return;
  job_.abandon();
  shownGraph_ = graph;
  shownName_ = name;
  if (!graph) {
    showLines(hc::graphInformationPlaceholderLines("---"));
    return;
  }
  if (!hc::graphInformationTakesLong(*graph)) {
    showLines(hc::graphInformationLines(hc::computeGraphInformation(*graph, name)));
    return;
  }
  std::vector<std::string> waiting = hc::graphInformationPlaceholderLines("...");
  waiting[0] = hc::graphInformationPlaceholderLines(name)[0];
  showLines(waiting);
  // The worker keeps the submitted graph alive and only reads it (the figures come from
  // a copy); the model never changes a submitted graph, it replaces it.
  job_.start([graph, name](const hc::StopToken&) { return hc::graphInformationLines(hc::computeGraphInformation(*graph, name)); },
             [this](std::vector<std::string> lines) { showLines(lines); });
}

QStringList CGraphInformationDlg::lineTexts() const {
  QStringList texts;
  for (const QLabel* line : lines_) texts << line->text();
  return texts;
}

void CGraphInformationDlg::showLines(const std::vector<std::string>& lines) {
  for (size_t i = 0; i < lines_.size() && i < lines.size(); ++i) lines_[i]->setText(QString::fromStdString(lines[i]));
}
