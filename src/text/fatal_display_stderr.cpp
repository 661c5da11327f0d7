// Linux: the report goes to standard error. The window layer installs its own
// display, which shows a message box while the window is up and writes UTF-8.
#include <cstdio>

#include "text/fatal_error.h"

void platformFatalErrorDisplay(const Text& report) {
  std::fwrite(report.view().data(), 1, report.view().size(), stderr);
  std::fflush(stderr);
}
