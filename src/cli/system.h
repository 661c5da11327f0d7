#pragma once
// What korvale-cli needs of the system beyond standard C++: its arguments,
// its output and its page files, by UTF-8 names. One file per port
// (system_*.cpp).

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The arguments after the program name, in UTF-8 whatever the system's code page.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Write UTF-8 so that it reads right: raw bytes into a file or a pipe, and on a
// console whatever that console needs to show the characters.
void writeStandardOutput(std::string_view utf8);
void writeStandardError(std::string_view utf8);

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

// Opens the file named by `path` (UTF-8) to read its bytes. Null when it cannot
// be opened or is a directory, with `*why` saying which in a few words.
FilePointer openFileForReading(const std::string& path, std::string* why);
