// The Co-HC page's characteristic-curve chart: one series over the search-tree depth on
// a dark green grid, drawn with QPainter. drawLineChart paints onto any painter, so the
// same drawing goes to the screen (through an off-screen pixmap), to a PNG and to an SVG.
#pragma once

#include <QString>
#include <QWidget>
#include <vector>

class QPainter;
class QRect;

namespace hcui {

struct ChartPicture {
  std::vector<double> values;  // one point per depth from 0
  double yMaximum = 0.0;       // the axis maximum (grows during a run)
  QString xLabel;
  QString yLabel;
  bool wholeNumbers = false;  // the values count things: ticks at whole numbers
};

// Background, grid, tick labels, axis labels and the polyline into `box`.
void drawLineChart(QPainter& painter, const QRect& box, const ChartPicture& chart);

// Writes the chart at `size` pixels to `path`: SVG when the name ends in ".svg"
// (case-insensitive), otherwise a PNG; with a title band on top when `title` is given (the
// graph's name and the chart's). Returns false when the file cannot be written.
bool saveChart(const ChartPicture& chart, const QSize& size, const QString& path, const QString& title = {});

class CharacteristicChart : public QWidget {
  Q_OBJECT
 public:
  explicit CharacteristicChart(QWidget* parent = nullptr);

  void setPicture(ChartPicture picture);
  const ChartPicture& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ChartPicture picture_;
};

}  // namespace hcui
