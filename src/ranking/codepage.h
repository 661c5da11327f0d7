#pragma once
// Percent-decoding and conversion between code pages over UTF-16. The UTF-16
// units travel in Bytes: two bytes per unit, little-endian, ending with a zero
// unit.

#include "text/values.h"

// Percent-decodes byte by byte; with `convert`, the result is then read as
// UTF-8 and converted to code page 936.
Text urlDecode(const Text& text, bool convert);
Text utf8ToGbk(const Text& text);
Bytes textToUtf16(const Text& text, unsigned codePage = 65001);
Text utf16ToText(const Bytes& units, unsigned codePage = 0);
