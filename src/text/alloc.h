#pragma once
// Memory for every value of the program. Memory that cannot be had ends the
// program with a report, so no operation ever sees a failed allocation.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <utility>

// Reports that `bytes` bytes could not be obtained and ends the program.
[[noreturn]] void fatalOutOfMemory(std::size_t bytes);

// Tells the system that a large block just obtained will be filled soon, so it
// may back it with large pages (memory_hint_*.cpp); a hint, never an error.
void hintLargeBlock(void* block, std::size_t bytes) noexcept;
// The size at least `bytes` to ask for a large block, so that the system can
// place it where large pages fit it whole (memory_hint_*.cpp).
std::size_t largeBlockSize(std::size_t bytes) noexcept;

template <class T>
struct FatalAllocator {
  using value_type = T;
  FatalAllocator() = default;
  template <class U>
  FatalAllocator(const FatalAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T))
      fatalOutOfMemory(static_cast<std::size_t>(-1));
    void* p = ::operator new(n * sizeof(T), std::nothrow);
    if (p == nullptr) fatalOutOfMemory(n * sizeof(T));
    return static_cast<T*>(p);
  }
  void deallocate(T* p, std::size_t) noexcept { ::operator delete(p); }

  friend bool operator==(const FatalAllocator&, const FatalAllocator&) { return true; }
};

// The byte store behind Text and Bytes.
using ByteString = std::basic_string<char, std::char_traits<char>, FatalAllocator<char>>;

// The byte store behind Bytes: a block from malloc grown with realloc, so a
// large body read in small pieces is moved by the system without a copy and
// touches about its final size in fresh memory, not twice that.
class GrowableBytes {
 public:
  GrowableBytes() = default;
  GrowableBytes(const char* bytes, std::size_t n) { append(bytes, n); }
  GrowableBytes(const GrowableBytes& other) : GrowableBytes(other.data_, other.size_) {}
  GrowableBytes(GrowableBytes&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)),
        size_(std::exchange(other.size_, 0)),
        capacity_(std::exchange(other.capacity_, 0)) {}
  GrowableBytes& operator=(GrowableBytes other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
    return *this;
  }
  ~GrowableBytes() { std::free(data_); }

  // Never null, so an empty block can still be handed to a system call.
  char* data() noexcept { return data_ != nullptr ? data_ : empty_; }
  const char* data() const noexcept { return data_ != nullptr ? data_ : empty_; }
  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }

  void append(const char* bytes, std::size_t n) {
    if (n == 0) return;
    if (n > capacity_ - size_) {
      if (n > static_cast<std::size_t>(-1) - size_) fatalOutOfMemory(static_cast<std::size_t>(-1));
      reserve(std::max(size_ + n, 2 * capacity_));
    }
    std::memcpy(data_ + size_, bytes, n);
    size_ += n;
  }
  // Sets the size; bytes added are zero.
  void resize(std::size_t n) {
    reserve(n);
    if (n > size_) std::memset(data_ + size_, 0, n - size_);
    size_ = n;
  }
  void reserve(std::size_t n) {
    if (n <= capacity_) return;
    if (n >= largeBlock) n = largeBlockSize(n);
    if (n > static_cast<std::size_t>(PTRDIFF_MAX)) fatalOutOfMemory(n);
    void* grown = std::realloc(data_, n);
    if (grown == nullptr) fatalOutOfMemory(n);
    data_ = static_cast<char*>(grown);
    capacity_ = n;
    // A large block is filled soon after, and page by page its first touches
    // cost more than the copying that realloc spares.
    if (n >= largeBlock) hintLargeBlock(data_, n);
  }

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  static constexpr std::size_t largeBlock = 4 << 20;
  static inline char empty_[1] = {};
};
