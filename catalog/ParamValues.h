#pragma once

// The values a parameter takes: where its editor starts, which values it lets the user choose,
// and how a value given as text is read.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "TProperty.h"

// Whether the bounds "min".."max" limit a value: only when "max" is greater than "min".
constexpr bool BoundsCount(std::int32_t min, std::int32_t max) { return max > min; }

// Returns "value" brought within "min".."max" when those bounds count, and within the 32-bit
// range in any case.
std::int32_t BringWithinBounds(std::int64_t value, std::int32_t min, std::int32_t max);

// Returns the value a parameter's editor starts with: an INTEGER parameter's Default as it stands,
// or the value of the LIST item numbered Default; nothing when no item has that number or the
// type is neither.
std::optional<std::int32_t> StartValue(const TProperty& property);

// Whether "value" is one that the parameter's editor lets the user choose: for an INTEGER
// parameter a value within Min..Max, or any value when those bounds do not count; for a LIST
// parameter the value of one of its options. A parameter of any other type allows none.
bool IsAllowedValue(const TProperty& property, std::int64_t value);

// Returns the label of the first option of a LIST parameter whose value is "value"; nothing for
// any other value or type.
std::optional<std::string> OptionLabel(const TProperty& property, std::int64_t value);

// Reads "text" as a whole number: an optional sign, then decimal digits or "0x" and hexadecimal
// digits, and nothing else. Magnitudes beyond 63 bits are held at the int64 limits, which lie
// outside every parameter's values. Nothing for any other text.
std::optional<std::int64_t> ReadNumberText(std::string_view text);

// Reads "text" as a value of "property": a number as ReadNumberText reads it or, for a LIST
// parameter, the label of one of its options with letter case ignored, which stands for that
// option's value. Nothing for any other text.
std::optional<std::int64_t> ReadParamValue(const TProperty& property, std::string_view text);
