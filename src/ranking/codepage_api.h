#pragma once
// The platform's two code-page conversion routines, behind one narrow interface
// so that tests can put a recording fake in their place. Both behave like the
// Windows routines called with flags 0, a source length of -1 and, for the
// second, no default character:
// - the source runs up to its first zero unit or byte, which is converted too;
// - a capacity of 0 writes nothing and returns the count the conversion needs,
//   terminator included;
// - otherwise at most `capacity` units or bytes are written, and the result is
//   the count written, or 0 when the capacity was too small;
// - ill-formed input never makes them fail: it is replaced, and a character the
//   target code page lacks becomes that code page's default character ("?").
// Code pages are Windows numbers: 65001 (UTF-8), 936, and 0, the system's ANSI
// code page (936 on Linux). Another code page gives 0 on Linux.

struct CodePageApi {
  // MultiByteToWideChar(codePage, 0, text, -1, units, capacity)
  int (*multiByteToWideChar)(unsigned codePage, const char* text, char16_t* units, int capacity);
  // WideCharToMultiByte(codePage, 0, units, -1, text, capacity, none, none)
  int (*wideCharToMultiByte)(unsigned codePage, const char16_t* units, char* text, int capacity);
};

// The port's own routines: ranking/codepage_win32.cpp or ranking/codepage_iconv.cpp.
extern const CodePageApi platformCodePageApi;

// The routines every conversion uses: the port's own unless others are installed.
const CodePageApi& codePageApi();
// Installs `api` (which must outlive its use); null puts the port's own back.
void setCodePageApi(const CodePageApi* api);
