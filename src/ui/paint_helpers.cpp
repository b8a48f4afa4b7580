#include "ui/paint_helpers.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include "app/elapsed_time.h"

namespace hcui {

QColor toQColor(const hc::Rgb& rgb) {
  return QColor(rgb.red, rgb.green, rgb.blue);
}

void paintLabel(QPainter& painter, const QRect& area, const QString& text, int pointSize, const QColor& fill,
                const QColor& textColour, const QColor& frame, bool bold, int alignment) {
  painter.save();
  painter.fillRect(area, fill);
  painter.setPen(frame);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(area.adjusted(0, 0, -1, -1));
  QFont font("Arial");
  font.setPointSize(pointSize);
  font.setWeight(bold ? QFont::Bold : QFont::Normal);
  painter.setFont(font);
  painter.setPen(textColour);
  painter.setBackgroundMode(Qt::OpaqueMode);
  painter.setBackground(fill);
  const QFontMetrics metrics(font);
  const int textWidth = metrics.horizontalAdvance(text);
  int x = area.left() + 10;
  if (alignment == 1) x = area.left() + (area.width() - textWidth) / 2;
  if (alignment == 2) x = area.left() + static_cast<int>(area.width() - 1.1 * textWidth);
  const int y = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
  painter.setClipRect(area.adjusted(1, 1, -1, -1));
  painter.drawText(x, y, text);
  painter.restore();
}

void paintLabel(QWidget& widget, const QString& text, int pointSize, const QColor& fill,
                const QColor& textColour, const QColor& frame, bool bold, int alignment) {
  QPainter painter(&widget);
  paintLabel(painter, widget.rect(), text, pointSize, fill, textColour, frame, bold, alignment);
}

void paintElapsedTime(QPainter& painter, const QRect& area, double seconds) {
  paintLabel(painter, area, QString::fromStdString(hc::elapsedTimeText(seconds)), 14, QColor(0, 56, 0),
             QColor(0, 255, 0), QColor(0, 64, 0), true, 1);
}

void paintElapsedTime(QWidget& widget, double seconds) {
  QPainter painter(&widget);
  paintElapsedTime(painter, widget.rect(), seconds);
}

PaintedLabel::PaintedLabel(QWidget* parent) : QWidget(parent) {
  look_ = hc::statusLabelLook();
}

void PaintedLabel::setLook(const QString& text, const hc::BoxLook& look, int pointSize, bool bold,
                           int alignment) {
  text_ = text;
  look_ = look;
  pointSize_ = pointSize;
  bold_ = bold;
  alignment_ = alignment;
  update();
}

void PaintedLabel::setText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  update();
}

QSize PaintedLabel::sizeHint() const {
  QFont font("Arial");
  font.setPointSize(pointSize_);
  font.setWeight(bold_ ? QFont::Bold : QFont::Normal);
  const QFontMetrics metrics(font);
  return {metrics.horizontalAdvance(text_) + 24, metrics.height() + 12};
}

void PaintedLabel::setNote(const QString& note) {
  if (note == note_) return;
  note_ = note;
  setToolTip(note);
  update();
}

void PaintedLabel::paintEvent(QPaintEvent*) {
  const QColor fill = toQColor(look_.fill), ink = toQColor(look_.text), frame = toQColor(look_.frame);
  int points = pointSize_;
  if (shrinkToFit_) {
    QFont font("Arial");
    font.setWeight(bold_ ? QFont::Bold : QFont::Normal);
    for (; points > 7; --points) {
      font.setPointSize(points);
      if (QFontMetrics(font).horizontalAdvance(text_) + 20 <= width()) break;
    }
  }
  if (note_.isEmpty()) {
    paintLabel(*this, text_, points, fill, ink, frame, bold_, alignment_);
    return;
  }
  // The text in the upper part, the note in a small font along the bottom.
  QPainter painter(this);
  QFont small("Arial");
  small.setPointSize(8);
  const QFontMetrics metrics(small);
  const int noteHeight = metrics.height() + 6;
  paintLabel(painter, rect(), QString(), points, fill, ink, frame, bold_, alignment_);
  paintLabel(painter, rect().adjusted(1, 1, -1, -noteHeight), text_, points, fill, ink, fill, bold_,
             alignment_);
  painter.setFont(small);
  painter.setPen(ink);
  const QRect line = rect().adjusted(8, height() - noteHeight, -8, -3);
  painter.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter,
                   metrics.elidedText(note_, Qt::ElideMiddle, line.width()));
}

ElapsedTimeLabel::ElapsedTimeLabel(QWidget* parent) : QWidget(parent) {}

void ElapsedTimeLabel::setSeconds(double seconds) {
  seconds_ = seconds;
  update();
}

QSize ElapsedTimeLabel::sizeHint() const {
  QFont font("Arial");
  font.setPointSize(14);
  font.setWeight(QFont::Bold);
  const QFontMetrics metrics(font);
  return {metrics.horizontalAdvance("0 : 00 : 00 : 00 . 00") + 24, metrics.height() + 12};
}

void ElapsedTimeLabel::paintEvent(QPaintEvent*) {
  paintElapsedTime(*this, seconds_);
}

QPixmap stateButtonPixmap(const QString& caption, const QColor& colour) {
  constexpr int kSide = 74;
  constexpr int kBorder = 6;
  QPixmap pixmap(kSide, kSide);
  pixmap.fill(colour);
  QPainter painter(&pixmap);
  // The hatched border: diagonal strokes in a darker shade, clipped to the outer ring.
  QRegion ring = QRegion(0, 0, kSide, kSide)
                     .subtracted(QRegion(kBorder, kBorder, kSide - 2 * kBorder, kSide - 2 * kBorder));
  painter.setClipRegion(ring);
  painter.fillRect(0, 0, kSide, kSide, colour.darker(150));
  painter.setPen(QPen(colour.lighter(150), 1));
  for (int d = -kSide; d < kSide; d += 4) painter.drawLine(d, kSide, d + kSide, 0);
  painter.setClipping(false);
  painter.setPen(QColor(0, 0, 0));
  painter.drawRect(0, 0, kSide - 1, kSide - 1);
  painter.drawRect(kBorder - 1, kBorder - 1, kSide - 2 * kBorder + 1, kSide - 2 * kBorder + 1);
  // The caption, one word a line, as large as fits the inner square.
  const QStringList words = caption.toUpper().split(' ', Qt::SkipEmptyParts);
  const QRect inner(kBorder + 2, kBorder + 2, kSide - 2 * kBorder - 4, kSide - 2 * kBorder - 4);
  QFont font("Arial");
  font.setWeight(QFont::Bold);
  for (int size = 14; size >= 5; --size) {
    font.setPixelSize(size);
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& word : words) widest = std::max(widest, metrics.horizontalAdvance(word));
    if (widest <= inner.width() && metrics.height() * words.size() <= inner.height()) break;
  }
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(inner, Qt::AlignCenter, words.join('\n'));
  return pixmap;
}

QPixmap stateButtonPixmap(hc::ProgramState state) {
  return stateButtonPixmap(QString::fromStdString(hc::stateButtonCaption(state)),
                           toQColor(hc::stateLook(state).fill));
}

}  // namespace hcui
