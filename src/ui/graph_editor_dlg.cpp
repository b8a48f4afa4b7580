#include "ui/graph_editor_dlg.h"

#include <QLabel>
#include <QVBoxLayout>

CGraphEditorDlg::CGraphEditorDlg(hc::ProgramModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  auto* layout = new QVBoxLayout(this);
  label_ = new QLabel(this);
  label_->setAlignment(Qt::AlignCenter);
  layout->addWidget(label_);
  setPageState(model_.programState());
}

void CGraphEditorDlg::setPageState(int32_t state) {
  label_->setText(QStringLiteral("Graph Editor (state %1)").arg(state));
}

