#pragma once
// Memory for every value of the program. Memory that cannot be had ends the
// program with a report, so no operation ever sees a failed allocation.

#include <cstddef>
#include <new>
#include <string>

// Reports that `bytes` bytes could not be obtained and ends the program.
[[noreturn]] void fatalOutOfMemory(std::size_t bytes);

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
