#include "OptionList.h"

#include <limits>

#include "HexDigits.h"

std::vector<std::string> Split(std::string_view text, std::string_view delimiter) {
  std::vector<std::string> pieces;
  ForEachPiece(text, delimiter, [&pieces](std::string_view piece) {
    pieces.emplace_back(piece);
    return true;
  });
  return pieces;
}

std::int32_t ValueTextToInt(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);

  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }

  bool hex = false;
  if (!text.empty() && (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
    hex = true;
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    hex = true;
    text.remove_prefix(2);
  }
  if (text.empty()) return 0;

  // Both kinds accumulate in 64 bits and stop as soon as the value no longer fits in 32.
  std::uint64_t magnitude = 0;
  const std::uint64_t base = hex ? 16 : 10;
  const std::uint64_t limit =
      hex ? std::numeric_limits<std::uint32_t>::max()
          : std::uint64_t{std::numeric_limits<std::int32_t>::max()} + (negative ? 1 : 0);
  for (char c : text) {
    const int digit = hex ? HexDigitValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (digit < 0) return 0;
    magnitude = magnitude * base + static_cast<std::uint64_t>(digit);
    if (magnitude > limit) return 0;
  }

  // Unsigned arithmetic wraps, which is exactly the two's-complement negation wanted here.
  std::uint32_t pattern = static_cast<std::uint32_t>(magnitude);
  if (negative) pattern = 0u - pattern;
  return static_cast<std::int32_t>(pattern);
}

std::vector<TOptionItem> ReadOptionItems(std::string_view options) {
  std::vector<TOptionItem> items;
  ForEachOptionItem(options, [&items](const TOptionItemView& item) {
    items.push_back({std::string(item.ValueText), item.Value, std::string(item.Label)});
    return true;
  });
  return items;
}
