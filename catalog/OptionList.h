#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Cuts "text" at every whole occurrence of "delimiter" (exact, case-sensitive) and returns the
// non-empty pieces in order. An empty delimiter is never found, so any non-empty text comes back
// as one piece.
std::vector<std::string> Split(std::string_view text, std::string_view delimiter);

// Reads "text" as a number: optional leading blanks, an optional sign, then decimal digits that
// fit a signed 32-bit integer, or hexadecimal digits after "$", "x" or "0x" (either case) taken as
// a 32-bit two's-complement pattern. Any other text reads as 0; this is not an error.
std::int32_t ValueTextToInt(std::string_view text);

// One choice of a list parameter, as read from its option list.
struct TOptionItem {
  std::string ValueText;   // The value exactly as written.
  std::int32_t Value = 0;  // ValueText read by ValueTextToInt: the byte the frame carries.
  std::string Label;       // The text after the "=".

  friend bool operator==(const TOptionItem&, const TOptionItem&) = default;
};

// Reads an option list "value=label;value=label;..." into its items, in order. A piece that does
// not split at "=" into two or more non-empty parts yields nothing and takes no item number; the
// parts after the second are ignored.
std::vector<TOptionItem> ReadOptionItems(std::string_view options);
