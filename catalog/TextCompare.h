#pragma once

#include <algorithm>
#include <string_view>

// Returns "c" with an ASCII capital turned into its small letter; every other byte as it is.
inline char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether "a" and "b" are equal when ASCII letter case is ignored.
inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}
