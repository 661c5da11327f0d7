#include "text/fatal_error.h"

#include <cstdlib>
#include <string>

#include "text/alloc.h"
#include "text/text.h"

namespace {
FatalErrorDisplay installedDisplay = nullptr;
}

void setFatalErrorDisplay(FatalErrorDisplay display) {
  installedDisplay = display;
}

Text fatalErrorReport(int code, const Text& message) {
  Text report = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n";  // 运行时出错!
  if (code != 0) {
    report =
        concatText(std::move(report), "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA",  // 错误代码：
                   intToText(code), "\r\n\r\n");
  }
  if (!message.empty()) {
    report =
        concatText(std::move(report), "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA",  // 错误信息：
                   message, "\r\n");
  }
  return report;
}

void fatalError(int code, const Text& message) {
  const Text report = fatalErrorReport(code, message);
  (installedDisplay != nullptr ? installedDisplay : platformFatalErrorDisplay)(report);
  std::_Exit(-1);  // no exit-time releases
}

void fatalOutOfMemory(std::size_t bytes) {
  // Built without allocating: the report must not need the memory that ran out.
  static char message[64];
  const std::string_view head = "\xB7\xD6\xC5\xE4 ";  // 分配
  const std::string_view tail =
      " \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!";  // 字节内存失败!
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + bytes % 10);
    bytes /= 10;
  } while (bytes != 0);
  std::size_t at = 0;
  for (char c : head) message[at++] = c;
  while (n > 0) message[at++] = digits[--n];
  for (char c : tail) message[at++] = c;
  message[at] = '\0';
  fatalError(0, message);
}
