#pragma once
// Operations on Text. Scanning operations (searches, case, spaces, replacing,
// splitting) walk by characters: a byte 0x80-0xFF and the byte after it are one
// double-byte character, so a match never starts on a second byte. Counting
// operations work byte by byte. Case folding touches the ASCII letters only.

#include <optional>

#include "text/values.h"

inline std::string_view asView(const char* s) noexcept {
  return s != nullptr ? std::string_view(s) : std::string_view();
}

// Measuring and cutting (bytes; may cut a double-byte character in two).
int textLength(const Text& t);
Text textLeft(const Text& t, int n);            // n <= 0 gives ""
Text textRight(const Text& t, int n);           // n <= 0 gives ""
Text textMid(const Text& t, int start, int n);  // start < 1 gives "" (unlike bytesMid)
int charCode(const Text& t);                    // first byte as a signed 8-bit value; "" gives 0
Text charFromCode(int code);                    // low 8 bits as a one-byte text; 0 gives ""
Text blankText(int n);                          // n spaces

struct SearchOptions {
  // Left out: findText, textBetween and textBefore search from byte 1,
  // findTextReverse searches the whole text.
  std::optional<int> start;
  bool ignoreCase = false;
};

// First occurrence at or after `start`; an empty marker gives 1 whenever the
// searched span is not empty.
int findText(const Text& t, const Text& marker, SearchOptions options = {});
// Last occurrence lying wholly inside bytes 1 to start - 1.
int findTextReverse(const Text& t, const Text& marker, SearchOptions options = {});

Text toUpper(const Text& t);
Text toLower(const Text& t);

// Only 0x20 and the full-width space A1 A1 count as spaces.
Text trimText(const Text& t);
Text removeSpaces(const Text& t);

struct ReplaceOptions {
  Text replacement;  // left out: occurrences are deleted
  int start = 1;     // bytes before it are copied unsearched
  int count = -1;    // negative: every occurrence; 0: nothing changes
  // Note the sense: true compares exactly, false folds ASCII case.
  bool caseSensitive = false;
};
Text replaceText(const Text& t, const Text& search, const ReplaceOptions& options = {});

// Each delimiter ends one member (possibly empty); a trailing delimiter adds
// none. "" gives no members; an empty delimiter gives t alone; a limit keeps
// at most that many members (<= 0: none).
TextList splitText(const Text& t, const Text& delimiter = ",",
                   std::optional<int> limit = std::nullopt);

// Decimal value at the start of t after full-width forms become ASCII; 32-bit
// arithmetic that wraps.
int textToInt(const Text& t);
Text intToText(int n);
int bitOr(int a, int b);

// -1, 0 or 1 by unsigned byte order.
int compareText(const Text& a, const Text& b);

// Joins texts; pass the first by std::move to append in place.
template <class... More>
Text concatText(Text first, const More&... more) {
  (first.append(asView(more)), ...);
  return first;
}

// The text between the first `left` (at or after start) and the next `right`
// after it; "" when either is missing. "#引号" in a marker stands for '"'.
Text textBetween(const Text& t, const Text& left, const Text& right, SearchOptions options = {});
// The bytes before the first `marker` at or after start; "" when it is missing.
Text textBefore(const Text& t, const Text& marker, SearchOptions options = {});
