#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "cli/system.h"

namespace {

struct LocalFreeDeleter {
  void operator()(LPWSTR* p) const { LocalFree(p); }
};

std::string utf8FromWide(const wchar_t* wide) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, out.data(), n, nullptr, nullptr);
  out.pop_back();  // the terminating zero
  return out;
}

std::wstring wideFromUtf8(std::string_view utf8) {
  const int length = static_cast<int>(utf8.size());
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), n);
  return wide;
}

void writeTo(DWORD which, std::string_view utf8) {
  const HANDLE out = GetStdHandle(which);
  if (out == nullptr || out == INVALID_HANDLE_VALUE || utf8.empty()) return;
  DWORD mode = 0;
  if (!GetConsoleMode(out, &mode)) {
    // A file or a pipe: the UTF-8 bytes as they are.
    while (!utf8.empty()) {
      DWORD written = 0;
      const auto chunk = static_cast<DWORD>(std::min<std::size_t>(utf8.size(), 1 << 20));
      if (!WriteFile(out, utf8.data(), chunk, &written, nullptr) || written == 0) return;
      utf8.remove_prefix(written);
    }
    return;
  }
  // A console shows UTF-16 whatever its code page; WriteConsoleW takes it in
  // pieces of a few thousand units, which must not split a surrogate pair.
  const std::wstring wide = wideFromUtf8(utf8);
  std::wstring_view rest = wide;
  while (!rest.empty()) {
    std::size_t piece = std::min<std::size_t>(rest.size(), 8192);
    if (piece < rest.size() && rest[piece - 1] >= 0xD800 && rest[piece - 1] <= 0xDBFF) --piece;
    DWORD written = 0;
    if (!WriteConsoleW(out, rest.data(), static_cast<DWORD>(piece), &written, nullptr) ||
        written == 0)
      return;
    rest.remove_prefix(written);
  }
}

}  // namespace

std::vector<std::string> commandLineArguments(int, char**) {
  // The narrow argv is in the system's code page and loses what it cannot hold.
  int argc = 0;
  const std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(
      CommandLineToArgvW(GetCommandLineW(), &argc));
  std::vector<std::string> args;
  for (int i = 1; argv && i < argc; ++i) args.push_back(utf8FromWide(argv.get()[i]));
  return args;
}

void writeStandardOutput(std::string_view utf8) {
  writeTo(STD_OUTPUT_HANDLE, utf8);
}

void writeStandardError(std::string_view utf8) {
  writeTo(STD_ERROR_HANDLE, utf8);
}

FilePointer openFileForReading(const std::string& path, std::string* why) {
  // A UTF-8 name reaches the file whatever the system's code page.
  const std::wstring name = wideFromUtf8(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES &&
      (GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND)) {
    *why = "no such file";
    return nullptr;
  }
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    *why = "it is a directory";
    return nullptr;
  }
  FilePointer file(_wfopen(name.c_str(), L"rb"));
  if (!file) *why = "it cannot be opened";
  return file;
}
