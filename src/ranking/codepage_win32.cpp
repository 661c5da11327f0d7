// Windows: the conversion routines are kernel32's own.
#include <windows.h>

#include "ranking/codepage_api.h"

static_assert(sizeof(WCHAR) == sizeof(char16_t));

namespace {

int multiByteToWideChar(unsigned codePage, const char* text, char16_t* units, int capacity) {
  return MultiByteToWideChar(codePage, 0, text, -1, reinterpret_cast<LPWSTR>(units), capacity);
}

int wideCharToMultiByte(unsigned codePage, const char16_t* units, char* text, int capacity) {
  return WideCharToMultiByte(codePage, 0, reinterpret_cast<LPCWCH>(units), -1, text, capacity,
                             nullptr, nullptr);
}

}  // namespace

const CodePageApi platformCodePageApi = {multiByteToWideChar, wideCharToMultiByte};
