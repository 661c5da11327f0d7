#pragma once
// The conversion table both ports must agree on byte for byte: what the
// conversion routines in use make of every character of the Basic
// Multilingual Plane, every code page 936 sequence of one or two bytes, a
// sample of characters beyond the plane and every lone surrogate. One line
// per case: input, output and the count the counting call gave, in hex.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Builds the sections one after another and hands each to `visit` whole.
void forEachCodePageTableSection(
    const std::function<void(std::string_view name, const std::string& lines)>& visit);

// 64-bit FNV-1a, to compare a section with a recorded one.
std::uint64_t fnv1a(std::string_view bytes);
