#pragma once

#include <cstdint>
#include <string>

// The parameter types a command can carry; compared exactly, letter case included.
inline constexpr char kTypeInteger[] = "INTEGER";
inline constexpr char kTypeList[] = "LIST";

// One parameter of a command: an integer within bounds, or one choice out of an option list.
struct TProperty {
  std::string Type;      // kTypeInteger or kTypeList.
  std::string Name;      // Caption shown beside the parameter's editor.
  std::string Options;   // LIST only: "value=label;value=label;...". Empty for INTEGER.
  std::int32_t Min = 0;  // INTEGER only: lower bound of the value.
  std::int32_t Max = 0;  // INTEGER only: upper bound of the value.
  // INTEGER: the value the editor starts with, not necessarily within Min..Max.
  // LIST: the number of the option item chosen at start, counted from 0.
  std::int32_t Default = 0;

  friend bool operator==(const TProperty&, const TProperty&) = default;
};
