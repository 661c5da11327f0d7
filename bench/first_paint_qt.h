#pragma once
// For the start-up benchmarks: once the watched widget has been painted for
// the first time, prints "painted COUNT" and quits the event loop.
// scripts/bench times the process from its spawn to that line.

#include <QCoreApplication>
#include <QEvent>

#include <cstdio>

class FirstPaint final : public QObject {
 public:
  explicit FirstPaint(int count) : count_(count) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted_) {
      painted_ = true;
      // Queued, so it runs once this paint and the rest of the window's are over.
      QMetaObject::invokeMethod(
          QCoreApplication::instance(),
          [count = count_] {
            std::printf("painted %d\n", count);
            std::fflush(stdout);
            QCoreApplication::quit();
          },
          Qt::QueuedConnection);
    }
    return false;
  }

 private:
  int count_;
  bool painted_ = false;
};
