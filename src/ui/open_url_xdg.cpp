// Linux: xdg-open, the desktop's URL opener, started on its own and not waited
// for. No toolkit is needed, so korvale-cli opens entries the same way without
// loading one.
#include <spawn.h>
#include <sys/wait.h>

#include <thread>

#include "ranking/codepage.h"
#include "ui/open_url.h"

extern char** environ;

void openUrl(const Text& url) {
  // The desktop reads arguments as UTF-8.
  const Text utf8 = utf16ToText(textToUtf16(url, 936), 65001);
  // The URL is one argument of its own: no shell ever reads it.
  char program[] = "xdg-open";
  char* argv[] = {program, const_cast<char*>(utf8.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) return;
  // Reaped in the background, so the opener never lingers as a zombie.
  std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
}
