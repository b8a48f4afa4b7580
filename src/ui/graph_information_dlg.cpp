#include "ui/graph_information_dlg.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "run/graph_description.h"

CGraphInformationDlg::CGraphInformationDlg(hc::ProgramModel& model, QWidget* parent)
    : QWidget(parent), model_(model), job_([](std::function<void()> task) {
        QMetaObject::invokeMethod(qApp, std::move(task), Qt::QueuedConnection);
      }) {
  auto* outer = new QVBoxLayout(this);
  auto* box = new QGroupBox("Graph Information", this);
  outer->addWidget(box, 0, Qt::AlignTop);
  outer->addStretch(1);
  auto* grid = new QGridLayout(box);
  grid->setHorizontalSpacing(16);
  const auto& captions = hc::graphInformationCaptions();
  for (size_t i = 0; i < captions_.size(); ++i) {
    captions_[i] = new QLabel(QString::fromLatin1(captions[i]).trimmed(), box);
    values_[i] = new QLabel(box);
    values_[i]->setTextFormat(Qt::PlainText);
    values_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(captions_[i], static_cast<int>(i), 0);
    grid->addWidget(values_[i], static_cast<int>(i), 1);
  }
  const int planar = static_cast<int>(captions_.size());
  grid->addWidget(new QLabel("Planar:", box), planar, 0);
  grid->addWidget(new QLabel("(NOT IMPLEMENTED YET)", box), planar, 1);
  grid->setColumnStretch(1, 1);
  refresh();
}

CGraphInformationDlg::~CGraphInformationDlg() = default;

void CGraphInformationDlg::setPageState(hc::ProgramState state) {
  if (state == hc::ProgramState::kEditing || state == hc::ProgramState::kSubmitted) refresh();
}

void CGraphInformationDlg::refresh() {
  std::shared_ptr<const hc::Graph> graph = model_.submittedGraph();
  if (model_.graphSourceType() == hc::GraphSource::kNoGraph) graph.reset();
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
  job_.start(
      [graph, name](const hc::StopToken&) {
        return hc::graphInformationLines(hc::computeGraphInformation(*graph, name));
      },
      [this](std::vector<std::string> lines) { showLines(lines); });
}

QStringList CGraphInformationDlg::lineTexts() const {
  QStringList texts;
  const auto& captions = hc::graphInformationCaptions();
  for (size_t i = 0; i < values_.size(); ++i) texts << QString::fromLatin1(captions[i]) + values_[i]->text();
  return texts;
}

void CGraphInformationDlg::showLines(const std::vector<std::string>& lines) {
  const auto& captions = hc::graphInformationCaptions();
  for (size_t i = 0; i < values_.size() && i < lines.size(); ++i) {
    const std::string caption = captions[i];
    const std::string& line = lines[i];
    const std::string value = line.rfind(caption, 0) == 0 ? line.substr(caption.size()) : line;
    values_[i]->setText(QString::fromStdString(value));
  }
}
