// The start-up picture: a modal dialog with a picture drawn by the program and "OK".
#pragma once

#include <QDialog>
#include <QPixmap>

class CSplashDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CSplashDlg(QWidget* parent = nullptr);
  // The 543x193 picture: a Hamiltonian cycle through a small graph and the title.
  static QPixmap picture();
};
