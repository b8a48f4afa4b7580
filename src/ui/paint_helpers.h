// The painted text boxes every page shares (status boxes, statistics, elapsed times) and
// the 74x74 pictures of the big state buttons, drawn anew: white bold capitals on the
// state's colour inside a hatched border.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include "app/program_states.h"

class QPainter;

namespace hcui {

QColor toQColor(const hc::Rgb& rgb);

// Paints a text box into `area`: the fill, a one-pixel frame on its edge, the text in
// Arial of `pointSize` (bold when asked) on the fill, vertically centred; alignment 0 puts
// the text at x = 10, 1 centres it, 2 puts it at x = width - 1.1 x text width.
void paintLabel(QPainter& painter, const QRect& area, const QString& text, int pointSize, const QColor& fill,
                const QColor& textColour, const QColor& frame, bool bold, int alignment);
// The same into the whole of `widget` (call from its paintEvent).
void paintLabel(QWidget& widget, const QString& text, int pointSize, const QColor& fill,
                const QColor& textColour, const QColor& frame, bool bold, int alignment);

// The elapsed-time box: elapsedTimeText(seconds) in 14-point bold, centred, green on
// dark green.
void paintElapsedTime(QPainter& painter, const QRect& area, double seconds);
void paintElapsedTime(QWidget& widget, double seconds);

// A box that paints its text with paintLabel. Setting a look repaints it once.
class PaintedLabel : public QWidget {
  Q_OBJECT
 public:
  explicit PaintedLabel(QWidget* parent = nullptr);
  void setLook(const QString& text, const hc::BoxLook& look, int pointSize = 16, bool bold = true,
               int alignment = 1);
  void setText(const QString& text);
  QString text() const { return text_; }
  // A second, small line under the text (the status box's note of where a file went).
  void setNote(const QString& note);
  // Paints the text smaller when it would not fit the box at its size (a narrow window).
  void setShrinkToFit(bool shrink) { shrinkToFit_ = shrink; }
  QString note() const { return note_; }
  hc::BoxLook look() const { return look_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  QString note_;
  hc::BoxLook look_;
  int pointSize_ = 16;
  bool bold_ = true;
  int alignment_ = 1;
  bool shrinkToFit_ = false;
};

// The elapsed-time box as a widget; setSeconds repaints it.
class ElapsedTimeLabel : public QWidget {
  Q_OBJECT
 public:
  explicit ElapsedTimeLabel(QWidget* parent = nullptr);
  void setSeconds(double seconds);
  double seconds() const { return seconds_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  double seconds_ = 0;
};

// A 74x74 state-button picture: `caption` in white bold capitals (one word a line) on
// `colour`, inside a hatched border.
QPixmap stateButtonPixmap(const QString& caption, const QColor& colour);
// The picture of the state button in `state` ("LOAD GRAPH" on blue, ...).
QPixmap stateButtonPixmap(hc::ProgramState state);

}  // namespace hcui
