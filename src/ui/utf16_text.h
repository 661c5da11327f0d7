#pragma once
// Texts for the toolkits, which take UTF-16: converted from code page 936
// whatever the system's own code page, so the window reads right everywhere.

#include <string>

#include "text/values.h"

std::u16string utf16Text(const Text& text);
