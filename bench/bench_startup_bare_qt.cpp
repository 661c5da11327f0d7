// What any Qt program pays before bench_startup_qt's first paint: a bare
// window of the same size with one line of Chinese text, linked to Qt alone,
// with no table and no download. Prints "painted 0" once its first paint is
// over, and quits.
#include <QApplication>
#include <QLabel>

#include "first_paint_qt.h"
#include "ui/ranking_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setFixedSize(kWindowWidth, kWindowHeight);
  // 双击指定项目会自动打开B站番剧链接
  QLabel hint(QStringLiteral("\u53CC\u51FB\u6307\u5B9A\u9879\u76EE\u4F1A\u81EA\u52A8\u6253\u5F00"
                             "B\u7AD9\u756A\u5267\u94FE\u63A5"),
              &window);
  FirstPaint firstPaint(0);
  hint.installEventFilter(&firstPaint);
  window.show();
  return app.exec();
}
