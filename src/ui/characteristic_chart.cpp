#include "ui/characteristic_chart.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QSvgGenerator>
#include <algorithm>

#include "app/chart_scale.h"

namespace hcui {

namespace {

const QColor kBackground(0, 32, 0);
const QColor kGrid(0, 255, 0);
const QColor kSeries(255, 255, 0);
const QColor kText(255, 0, 0);

// Room around the plot for the tick labels and the two axis labels.
constexpr int kLeftMargin = 74;
constexpr int kBottomMargin = 42;
constexpr int kTopMargin = 12;
constexpr int kRightMargin = 18;

QFont arial(int points) {
  return QFont(QStringLiteral("Arial"), points);
}

}  // namespace

void drawLineChart(QPainter& painter, const QRect& box, const ChartPicture& chart) {
  painter.save();
  painter.fillRect(box, kBackground);
  QRectF plot(box.left() + kLeftMargin, box.top() + kTopMargin,
              std::max(1, box.width() - kLeftMargin - kRightMargin),
              std::max(1, box.height() - kTopMargin - kBottomMargin));
  auto xAt = [&](double fraction) { return plot.left() + fraction * plot.width(); };
  auto yAt = [&](double fraction) { return plot.bottom() - std::clamp(fraction, 0.0, 1.0) * plot.height(); };
  const int32_t points = static_cast<int32_t>(chart.values.size());

  painter.setPen(QPen(kGrid, 1));
  std::vector<hc::ChartTick> yTicks = hc::chartYTicks(chart.yMaximum, chart.wholeNumbers);
  for (const hc::ChartTick& tick : yTicks)
    painter.drawLine(QPointF(plot.left(), yAt(tick.fraction)), QPointF(plot.right(), yAt(tick.fraction)));
  for (double fraction : hc::chartXGridFractions(points))
    painter.drawLine(QPointF(xAt(fraction), plot.top()), QPointF(xAt(fraction), plot.bottom()));

  painter.setPen(kText);
  painter.setFont(arial(8));
  const QFontMetrics small(painter.font());
  for (const hc::ChartTick& tick : yTicks) {
    QRectF label(box.left() + 22, yAt(tick.fraction) - small.height() / 2.0, plot.left() - box.left() - 26,
                 small.height());
    painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(tick.label));
  }
  // On a narrow chart a depth label that would touch the one before it is left out.
  double freeFrom = -1e300;
  for (const hc::ChartTick& tick : hc::chartXTicks(points)) {
    const QString text = QString::fromStdString(tick.label);
    const double half = small.horizontalAdvance(text) / 2.0;
    if (xAt(tick.fraction) - half < freeFrom) continue;
    freeFrom = xAt(tick.fraction) + half + 4;
    QRectF label(xAt(tick.fraction) - 40, plot.bottom() + 3, 80, small.height());
    painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop, text);
  }
  painter.setFont(arial(10));
  const QFontMetrics large(painter.font());
  painter.drawText(QRectF(plot.left(), box.bottom() - large.height() - 2, plot.width(), large.height()),
                   Qt::AlignHCenter | Qt::AlignVCenter, chart.xLabel);
  painter.save();
  painter.translate(box.left() + 4, plot.center().y());
  painter.rotate(-90);
  painter.drawText(QRectF(-plot.height() / 2.0, 0, plot.height(), large.height()),
                   Qt::AlignHCenter | Qt::AlignTop, chart.yLabel);
  painter.restore();

  if (points > 0) {
    const double span = hc::chartYSpan(chart.yMaximum);
    QPolygonF line;
    for (int32_t i = 0; i < points; ++i)
      line << QPointF(xAt(hc::chartPointFraction(i, points)),
                      yAt(chart.values[static_cast<size_t>(i)] / span));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kSeries, 2));
    if (points == 1) {
      painter.setBrush(kSeries);
      painter.drawEllipse(line.front(), 3.0, 3.0);  // a polyline through one point is invisible
    } else {
      painter.drawPolyline(line);
    }
  }
  painter.restore();
}

namespace {

// A saved picture stands alone: a title band above the chart names the graph and the curve.
void drawTitledChart(QPainter& painter, const QSize& size, const ChartPicture& chart, const QString& title) {
  QFont font = arial(11);
  font.setBold(true);
  const int band = title.isEmpty() ? 0 : QFontMetrics(font).height() + 12;
  if (band > 0) {
    painter.fillRect(QRect(0, 0, size.width(), band), kBackground);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(8, 0, size.width() - 16, band), Qt::AlignCenter | Qt::TextSingleLine,
                     QFontMetrics(font).elidedText(title, Qt::ElideMiddle, size.width() - 16));
  }
  drawLineChart(painter, QRect(0, band, size.width(), size.height() - band), chart);
}

}  // namespace

bool saveChart(const ChartPicture& chart, const QSize& size, const QString& path, const QString& title) {
  if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(title.isEmpty() ? chart.yLabel : title);
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    drawTitledChart(painter, size, chart, title);
    return painter.end();
  }
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  drawTitledChart(painter, size, chart, title);
  painter.end();
  return image.save(path, "PNG");
}

CharacteristicChart::CharacteristicChart(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(240, 160);
}

void CharacteristicChart::setPicture(ChartPicture picture) {
  picture_ = std::move(picture);
  update();
}

void CharacteristicChart::paintEvent(QPaintEvent*) {
  // Drawn off-screen first, then copied in one piece.
  QPixmap buffer(size() * devicePixelRatioF());
  buffer.setDevicePixelRatio(devicePixelRatioF());
  {
    QPainter off(&buffer);
    drawLineChart(off, rect(), picture_);
  }
  QPainter(this).drawPixmap(0, 0, buffer);
}

}  // namespace hcui
