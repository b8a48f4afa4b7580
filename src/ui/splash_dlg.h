// The start-up picture: a modal dialog with a picture drawn by the program and "OK".
#pragma once

#include <QDialog>
#include <QFont>
#include <QPixmap>

class CSplashDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CSplashDlg(QWidget* parent = nullptr);
  // The 543x193 picture: a Hamiltonian cycle through a small graph and the title.
  static QPixmap picture();
  // The largest font of at most `pixels` pixels (Arial, or what stands in for it) in which
  // `text`, laid out with `flags`, fits `box`.
  static QFont fittedFont(const QString& text, const QRect& box, int pixels, bool bold, int flags);
};
