// Turns progress from a worker thread (possibly millions of reports a second) into at
// most one UI refresh per interval: the worker marks the display dirty, a UI-thread
// timer runs the refresh when it is. The worker never touches a widget and never blocks.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>

namespace hcui {

class RepaintCoalescer : public QObject {
  Q_OBJECT
 public:
  // `refresh` runs on the UI thread, at most every `intervalMs` (default ~30 Hz).
  explicit RepaintCoalescer(std::function<void()> refresh, QObject* parent = nullptr, int intervalMs = 33);
  // Any thread: something changed. Lock-free.
  void markDirty() { dirty_.store(true, std::memory_order_release); }
  // UI thread: refresh now if dirty (e.g. at the end of a run, so the last report shows).
  void flush();

 private:
  std::function<void()> refresh_;
  std::atomic<bool> dirty_{false};
  QTimer timer_;
};

}  // namespace hcui
