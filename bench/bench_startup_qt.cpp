// The program's start-up on the Qt port, up to the first paint of the table's
// rows: the steps of the program's main, with an address on 127.0.0.1 for the
// ranking page (see bench/CMakeLists.txt). Prints "painted ROWS" once that
// paint is over, and quits.
#include <QApplication>
#include <QTableView>

#include "first_paint_qt.h"
#include "ui/window_qt.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  RankingWindow window;  // the first refresh has run
  const auto* table = window.findChild<QTableView*>(QStringLiteral("rankingList"));
  FirstPaint firstPaint(table->model()->rowCount());
  table->viewport()->installEventFilter(&firstPaint);
  window.show();
  return app.exec();
}
