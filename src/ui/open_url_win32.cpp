// Windows: the shell opens the URL with the user's default handler. The wide
// call, with the URL converted from code page 936, keeps non-ASCII characters
// intact on a system whose own code page is not 936.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>

#include "ui/open_url.h"
#include "ui/utf16_text.h"

void openUrl(const Text& url) {
  const std::u16string units = utf16Text(url);
  const std::wstring wide(units.begin(), units.end());
  ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);  // result unused
}
