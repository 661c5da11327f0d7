#pragma once
// The value types every subsystem works with: Text (code page 936, never a zero
// byte), Bytes (any bytes) and their lists. Positions are 1-based and a search
// that finds nothing gives -1; lengths and counts are 32-bit. The absent value
// and the empty one are the same: platform code passes a null pointer itself
// where a system call needs one.

#include <string_view>
#include <vector>

#include "text/alloc.h"

class Text {
 public:
  Text() = default;
  // Literals are texts. Copies up to the first zero byte; null gives "".
  Text(const char* s);  // NOLINT(google-explicit-constructor)
  // Copies up to the first zero byte, so a Text never holds one.
  explicit Text(std::string_view bytes);

  std::string_view view() const noexcept { return {s_.data(), s_.size()}; }
  // The bytes followed by a zero byte, for system calls.
  const char* c_str() const noexcept { return s_.c_str(); }
  int length() const noexcept { return static_cast<int>(s_.size()); }
  bool empty() const noexcept { return s_.empty(); }

  // Appends in place, amortised; `more` is cut at its first zero byte.
  Text& append(std::string_view more);
  void reserve(int bytes) { s_.reserve(bytes > 0 ? static_cast<std::size_t>(bytes) : 0); }

  friend bool operator==(const Text& a, const Text& b) noexcept { return a.s_ == b.s_; }

 private:
  ByteString s_;
};

class Bytes {
 public:
  Bytes() = default;
  explicit Bytes(std::string_view bytes) : s_(bytes.data(), bytes.size()) {}

  std::string_view view() const noexcept { return {s_.data(), s_.size()}; }
  const char* data() const noexcept { return s_.data(); }
  // One contiguous block that a system call may fill in place; the length stays as made.
  char* data() noexcept { return s_.data(); }
  int length() const noexcept { return static_cast<int>(s_.size()); }
  bool empty() const noexcept { return s_.empty(); }

  // Appends in place, amortised.
  Bytes& append(std::string_view more) {
    s_.append(more.data(), more.size());
    return *this;
  }
  void reserve(int bytes) { s_.reserve(bytes > 0 ? static_cast<std::size_t>(bytes) : 0); }
  // Cuts to `bytes`, or grows with zero bytes; in place.
  void resize(int bytes) { s_.resize(bytes > 0 ? static_cast<std::size_t>(bytes) : 0); }

  friend bool operator==(const Bytes& a, const Bytes& b) noexcept { return a.view() == b.view(); }

 private:
  GrowableBytes s_;
};

// An ordered, growable list with 1-based positions that owns copies of its
// members; read it with listGet (text/lists.h), which ends the program on a
// position outside 1 to its size.
template <class T>
struct List {
  std::vector<T, FatalAllocator<T>> members;

  friend bool operator==(const List& a, const List& b) = default;
};

using TextList = List<Text>;
using BytesList = List<Bytes>;

inline std::string_view asView(const Text& t) noexcept {
  return t.view();
}
inline std::string_view asView(const Bytes& b) noexcept {
  return b.view();
}
