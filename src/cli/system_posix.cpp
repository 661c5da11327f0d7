#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "cli/system.h"

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void writeStandardOutput(std::string_view utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
}

void writeStandardError(std::string_view utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
  std::fflush(stderr);
}

FilePointer openFileForReading(const std::string& path, std::string* why) {
  FilePointer file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    *why = errno == ENOENT || errno == ENOTDIR ? "no such file" : std::strerror(errno);
    return nullptr;
  }
  // A directory opens, but reading it fails.
  struct stat status;
  if (fstat(fileno(file.get()), &status) == 0 && S_ISDIR(status.st_mode)) {
    *why = "it is a directory";
    return nullptr;
  }
  return file;
}
