#include "ParamValues.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <vector>

#include "OptionList.h"
#include "TextCompare.h"

std::int32_t BringWithinBounds(std::int64_t value, std::int32_t min, std::int32_t max) {
  if (BoundsCount(min, max))
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, min, max));
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::optional<std::int32_t> StartValue(const TProperty& property) {
  if (property.Type == kTypeInteger) return property.Default;
  if (property.Type != kTypeList) return std::nullopt;
  const std::vector<TOptionItem> items = ReadOptionItems(property.Options);
  if (property.Default < 0 || static_cast<std::size_t>(property.Default) >= items.size()) {
    return std::nullopt;
  }
  return items[static_cast<std::size_t>(property.Default)].Value;
}

bool IsAllowedValue(const TProperty& property, std::int64_t value) {
  if (property.Type == kTypeInteger) {
    return !BoundsCount(property.Min, property.Max) ||
           (value >= property.Min && value <= property.Max);
  }
  return OptionLabel(property, value).has_value();
}

std::optional<std::string> OptionLabel(const TProperty& property, std::int64_t value) {
  if (property.Type != kTypeList) return std::nullopt;
  std::optional<std::string> label;
  ForEachOptionItem(property.Options, [&](const TOptionItemView& item) {
    if (item.Value == value) label = std::string(item.Label);
    return !label;
  });
  return label;
}

std::optional<std::int64_t> ReadNumberText(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  // from_chars takes no sign of its own here: a second sign is no number.
  if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
  std::uint64_t magnitude = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (end != text.data() + text.size()) return std::nullopt;
  constexpr auto kLimit = std::uint64_t{std::numeric_limits<std::int64_t>::max()};
  if (error == std::errc::result_out_of_range || magnitude > kLimit) magnitude = kLimit;
  const auto value = static_cast<std::int64_t>(magnitude);
  return negative ? -value : value;
}

std::optional<std::int64_t> ReadParamValue(const TProperty& property, std::string_view text) {
  if (const std::optional<std::int64_t> number = ReadNumberText(text)) return number;
  if (property.Type != kTypeList) return std::nullopt;
  std::optional<std::int64_t> value;
  ForEachOptionItem(property.Options, [&](const TOptionItemView& item) {
    if (EqualsIgnoringCase(item.Label, text)) value = item.Value;
    return !value;
  });
  return value;
}
