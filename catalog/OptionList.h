#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Cuts "text" at every whole occurrence of "delimiter" (exact, case-sensitive) and returns the
// non-empty pieces in order. An empty delimiter is never found, so any non-empty text comes back
// as one piece.
std::vector<std::string> Split(std::string_view text, std::string_view delimiter);

// Calls "visit" with every piece that Split(text, delimiter) returns, in order, as a view into
// "text" rather than a copy, until "visit" returns false.
template <typename Visit>
void ForEachPiece(std::string_view text, std::string_view delimiter, Visit&& visit) {
  if (delimiter.empty()) {
    if (!text.empty()) visit(text);
    return;
  }
  for (std::size_t found = text.find(delimiter); found != std::string_view::npos;
       found = text.find(delimiter)) {
    if (found > 0 && !visit(text.substr(0, found))) return;
    text.remove_prefix(found + delimiter.size());
  }
  if (!text.empty()) visit(text);
}

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

// One option item as it stands in the option list: views into the list's text.
struct TOptionItemView {
  std::string_view ValueText;
  std::int32_t Value = 0;
  std::string_view Label;
};

// Calls "visit" with every item that ReadOptionItems(options) returns, in order, without copying
// any text, until "visit" returns false.
template <typename Visit>
void ForEachOptionItem(std::string_view options, Visit&& visit) {
  ForEachPiece(options, ";", [&visit](std::string_view piece) {
    std::string_view parts[2];
    std::size_t count = 0;
    ForEachPiece(piece, "=", [&](std::string_view part) {
      parts[count++] = part;
      return count < 2;
    });
    if (count < 2) return true;
    return static_cast<bool>(visit(TOptionItemView{parts[0], ValueTextToInt(parts[0]), parts[1]}));
  });
}

// Reads an option list "value=label;value=label;..." into its items, in order. A piece that does
// not split at "=" into two or more non-empty parts yields nothing and takes no item number; the
// parts after the second are ignored.
std::vector<TOptionItem> ReadOptionItems(std::string_view options);
