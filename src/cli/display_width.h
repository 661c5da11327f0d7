#pragma once
// How many terminal cells a text takes: East Asian Wide and Fullwidth
// characters take two, combining marks and other zero-width characters none,
// everything else one.

#include <string_view>

int codePointWidth(char32_t c);
int displayWidth(std::string_view utf8);
