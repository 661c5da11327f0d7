#pragma once
// Texts for Qt, converted from code page 936.

#include <QString>

#include "ui/utf16_text.h"

inline QString qtString(const Text& text) {
  return QString::fromStdU16String(utf16Text(text));
}
