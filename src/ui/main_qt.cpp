// The program on Linux. linkList, the program-wide list of entry links, is a
// static: made empty before main and released after it returns (fatalError
// ends the process without that).
#include <QApplication>

#include "ui/window_qt.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  RankingWindow window;  // hidden; the first refresh has run
  window.show();         // centred
  return app.exec();     // until the window is closed
}
