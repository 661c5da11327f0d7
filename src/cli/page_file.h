#pragma once
// A saved ranking page, read whole.

#include <optional>
#include <string>

#include "text/values.h"

struct PageFile {
  std::optional<Bytes> bytes;  // absent when the file cannot be read
  std::string error;           // why not, in a few words
};

// Reads the file named by `path` (UTF-8) byte for byte.
PageFile readPageFile(const std::string& path);
