#include "ui/splash_dlg.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

CSplashDlg::CSplashDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Hamiltonian Cycles");
  auto* layout = new QVBoxLayout(this);
  auto* image = new QLabel(this);
  image->setPixmap(picture());
  image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(image);
  layout->addWidget(ok, 0, Qt::AlignRight);
}

QFont CSplashDlg::fittedFont(const QString& text, const QRect& box, int pixels, bool bold, int flags) {
  QFont font("Arial");
  font.setWeight(bold ? QFont::Bold : QFont::Normal);
  for (; pixels > 6; --pixels) {
    font.setPixelSize(pixels);
    const QRect needed = QFontMetrics(font).boundingRect(box, flags, text);
    if (needed.width() <= box.width() && needed.height() <= box.height()) break;
  }
  return font;
}

QPixmap CSplashDlg::picture() {
  QPixmap pixmap(543, 193);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, 193);
  sky.setColorAt(0, QColor(0, 0, 90));
  sky.setColorAt(1, QColor(0, 0, 212));
  painter.fillRect(pixmap.rect(), sky);
  // A wheel graph of twelve rim nodes: spokes in grey, the rim cycle in green.
  const QPointF centre(100, 96);
  constexpr int kRim = 12;
  QPointF rim[kRim];
  for (int i = 0; i < kRim; ++i) {
    const double angle = 2 * M_PI * i / kRim;
    rim[i] = centre + QPointF(70 * std::cos(angle), 70 * std::sin(angle));
  }
  painter.setPen(QPen(QColor(160, 160, 160), 2));
  for (const QPointF& p : rim) painter.drawLine(centre, p);
  painter.setPen(QPen(QColor(0, 255, 0), 4));
  for (int i = 0; i < kRim; ++i) painter.drawLine(rim[i], rim[(i + 1) % kRim]);
  painter.setPen(QPen(Qt::white, 2));
  painter.setBrush(QColor(255, 212, 0));
  for (const QPointF& p : rim) painter.drawEllipse(p, 7, 7);
  painter.drawEllipse(centre, 7, 7);
  // Whatever font the system puts in Arial's place, both texts fit their boxes: the sizes
  // step down until they do.
  const QRect titleBox(200, 30, 330, 64), lineBox(202, 100, 330, 84);
  const QString titleText = QStringLiteral("Hamiltonian Cycles");
  const QString lineText = QStringLiteral(
      "Draw, generate or load a graph, then decide it: by hand, with the Stone Carver, with the coHC proof "
      "system, or with the Solver, every method at once.");
  painter.setPen(Qt::white);
  painter.setFont(fittedFont(titleText, titleBox, 40, true, Qt::AlignLeft | Qt::AlignVCenter));
  painter.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter, titleText);
  const int wrapped = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
  painter.setFont(fittedFont(lineText, lineBox, 16, false, wrapped));
  painter.drawText(lineBox, wrapped, lineText);
  return pixmap;
}
