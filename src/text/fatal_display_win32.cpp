// Windows: a message box with no owner, caption "错误", a stop icon and OK. The
// text is converted from code page 936 so it reads right on any system locale.
#include <windows.h>

#include <vector>

#include "text/fatal_error.h"

namespace {

std::vector<wchar_t> wide(const char* text) {
  const int n = MultiByteToWideChar(936, 0, text, -1, nullptr, 0);
  std::vector<wchar_t> out(n > 0 ? static_cast<std::size_t>(n) : 1, L'\0');
  if (n > 0) MultiByteToWideChar(936, 0, text, -1, out.data(), n);
  return out;
}

}  // namespace

void platformFatalErrorDisplay(const Text& report) {
  MessageBoxW(nullptr, wide(report.c_str()).data(), wide("\xB4\xED\xCE\xF3").data(),  // 错误
              MB_OK | MB_ICONSTOP);
}
