// The program on Windows. linkList, the program-wide list of entry links, is a
// static: made empty before WinMain and released after it returns (fatalError
// ends the process without that).
#include "ui/window_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  HWND window = createRankingWindow(instance);  // hidden; the first refresh has run
  if (window == nullptr) return 1;
  showRankingWindow(window);
  return runEventLoop(window);  // until the window is closed
}
