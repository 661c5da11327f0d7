// Filling the window's table with the 10,000 entries of a refresh on the Win32
// port, as bench_table_qt does on the Qt port: a click of the refresh button,
// through to the paints that follow it. `rows_before` is what the list view
// held: nothing, or an earlier 10,000. Prints one line per refresh,
// "rows_before=N ms=T cpu_ms=C", C being this thread's processor time; runs
// under Wine on a display of its own (xvfb-run).
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "prepared_entries.h"
#include "ui/window_win32.h"

namespace {

// Delivers every message waiting, paints included.
void settle() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Processor time of this thread, user and kernel, in milliseconds.
double threadMs() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto ticks = [](FILETIME t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 1e4;  // 100 ns ticks
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 10;
  const PreparedEntries entries = sampleEntries(10000);
  HWND window = createRankingWindow(GetModuleHandleW(nullptr),
                                    {.source = preparedSource, .opener = ignoreUrl});
  if (window == nullptr) return 1;
  showRankingWindow(window);
  SetForegroundWindow(window);
  settle();
  HWND rankingList = GetWindow(window, GW_CHILD);
  HWND refreshButton = GetWindow(rankingList, GW_HWNDNEXT);

  int status = 0;
  for (const int rowsBefore : {0, 10000}) {
    for (int run = 0; run < runs; ++run) {
      nextEntries = rowsBefore > 0 ? entries : PreparedEntries{};
      SendMessageW(refreshButton, BM_CLICK, 0, 0);
      settle();
      nextEntries = entries;

      const auto start = std::chrono::steady_clock::now();
      const double startCpu = threadMs();
      SendMessageW(refreshButton, BM_CLICK, 0, 0);
      settle();
      const std::chrono::duration<double, std::milli> took =
          std::chrono::steady_clock::now() - start;
      const double cpu = threadMs() - startCpu;
      const auto rows = SendMessageW(rankingList, LVM_GETITEMCOUNT, 0, 0);
      if (rows != 10000) {
        std::fprintf(stderr, "the table holds %d rows, not 10000\n", static_cast<int>(rows));
        status = 1;
      }
      std::printf("rows_before=%d ms=%.2f cpu_ms=%.2f\n", rowsBefore, took.count(), cpu);
      std::fflush(stdout);
    }
  }
  DestroyWindow(window);
  return status;
}
