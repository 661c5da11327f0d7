// Filling the window's table with the 10,000 entries of a refresh on the Qt
// port: a click of the refresh button, through to the paint that shows the new
// rows. `rows_before` is what the table held: nothing, or an earlier 10,000.
// Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <chrono>
#include <ctime>

#include "prepared_entries.h"
#include "support/qt_application.h"
#include "ui/window_qt.h"

namespace {

using Clock = std::chrono::steady_clock;
double seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// Processor time of this thread, which does all the work of a refresh and its
// paints, and which other loads on a shared machine disturb less than the clock.
double threadSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The paints of the table's rows: how many, and when the last one began.
class PaintWatch final : public QObject {
 public:
  int paints = 0;
  Clock::time_point lastPaint;

  PaintWatch() {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, &loop_, &QEventLoop::quit);
  }

  // Runs the event loop until the rows have been painted once more, or for
  // ten seconds; false when no paint came.
  bool waitForPaint() {
    const int before = paints;
    run(10000);
    return paints > before;
  }
  // Runs the event loop for `ms`, counting paints.
  void watch(int ms) {
    quitOnPaint_ = false;
    run(ms);
    quitOnPaint_ = true;
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    ++paints;
    lastPaint = Clock::now();
    // The loop ends once this paint, and the window's, are over.
    if (quitOnPaint_) loop_.quit();
    return false;
  }

 private:
  void run(int ms) {
    timer_.start(ms);
    loop_.exec();
    timer_.stop();
  }

  QEventLoop loop_;
  QTimer timer_;
  bool quitOnPaint_ = true;
};

void BM_tableFill(benchmark::State& state) {
  application();
  const PreparedEntries entries = sampleEntries(10000);
  RankingWindow window({.source = preparedSource, .opener = ignoreUrl});
  window.show();
  auto* refresh = window.findChild<QPushButton*>(QStringLiteral("refreshButton"));
  QWidget* rows = window.findChild<QTableView*>(QStringLiteral("rankingList"))->viewport();
  PaintWatch paints;
  rows->installEventFilter(&paints);
  double cpuSeconds = 0, clickSeconds = 0, lastPaintSeconds = 0;
  int paintCount = 0;
  for (auto _ : state) {
    nextEntries = state.range(0) > 0 ? entries : PreparedEntries{};
    refresh->click();
    paints.watch(100);
    nextEntries = entries;
    paints.paints = 0;

    // A refresh shows no rows until it is over; the clock stops once the
    // event loop has delivered the first paint after it (the pass that does
    // may also repaint the rows for the scroll bar that has come).
    const Clock::time_point start = Clock::now();
    const double startCpu = threadSeconds();
    refresh->click();
    const Clock::time_point clicked = Clock::now();
    if (!paints.waitForPaint()) state.SkipWithError("the rows were never painted");
    state.SetIterationTime(seconds(Clock::now() - start));
    cpuSeconds += threadSeconds() - startCpu;
    clickSeconds += seconds(clicked - start);
    // Any later paint, such as for the scroll bar.
    paints.watch(100);
    lastPaintSeconds += seconds(paints.lastPaint - start);
    paintCount += paints.paints;
  }
  // The processor time up to the first paint; the refresh alone, without the
  // paint; when the last paint began; and the paints per refresh.
  const auto perRefresh = benchmark::Counter::kAvgIterations;
  state.counters["cpu_ms"] = benchmark::Counter(cpuSeconds * 1e3, perRefresh);
  state.counters["click_ms"] = benchmark::Counter(clickSeconds * 1e3, perRefresh);
  state.counters["last_paint_ms"] = benchmark::Counter(lastPaintSeconds * 1e3, perRefresh);
  state.counters["paints"] = benchmark::Counter(paintCount, perRefresh);
}
BENCHMARK(BM_tableFill)
    ->ArgName("rows_before")
    ->Arg(0)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
