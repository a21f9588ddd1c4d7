#include "FrameTable.h"

#include <algorithm>
#include <limits>
#include <tuple>
#include <unordered_set>
#include <utility>

#include "OptionList.h"
#include "ParamValues.h"
#include "TextCompare.h"

namespace {

constexpr std::uint64_t kRowCountLimit = std::numeric_limits<std::uint64_t>::max();

// Blanks and tabs around a piece of a --set text, which are not part of it.
std::string_view Trimmed(std::string_view text) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// "a" times "b", held at the uint64 limit.
std::uint64_t SaturatingProduct(std::uint64_t a, std::uint64_t b) {
  if (a != 0 && b > kRowCountLimit / a) return kRowCountLimit;
  return a * b;
}

// The value as a row holds it: every value a parameter allows that matters to a frame lies
// within 32 bits, and anything beyond is held at the 32-bit limits, still outside a byte.
std::int32_t RowValue(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Appends "value" to "set" unless it is there already.
void AddOnce(TValueSet& set, std::unordered_set<std::int32_t>& seen, std::int32_t value) {
  if (seen.insert(value).second) set.push_back(value);
}

// The parameter "name" names in "command": its name spelled exactly or else with letter case
// ignored, or its position counted from 1 written in decimal digits.
std::optional<std::int32_t> FindParameter(const TCommand& command, std::string_view name,
                                          bool& byPosition) {
  byPosition = false;
  for (std::size_t i = 0; i < command.Properties.size(); ++i) {
    if (command.Properties[i]->Name == name) return static_cast<std::int32_t>(i);
  }
  for (std::size_t i = 0; i < command.Properties.size(); ++i) {
    if (EqualsIgnoringCase(command.Properties[i]->Name, name)) return static_cast<std::int32_t>(i);
  }
  if (name.empty() || !std::ranges::all_of(name, [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  byPosition = true;
  const std::optional<std::int64_t> position = ReadNumberText(name);
  if (!position || *position < 1 || *position > command.PropertyCount()) return std::nullopt;
  return static_cast<std::int32_t>(*position - 1);
}

// A piece "A-B" of two numbers, read at the first dash that has a number on either side, so that
// negative ends such as "-3--1" read too.
std::optional<std::pair<std::int64_t, std::int64_t>> ReadRange(std::string_view piece) {
  for (std::size_t dash = piece.find('-', 1); dash != std::string_view::npos;
       dash = piece.find('-', dash + 1)) {
    const std::optional<std::int64_t> first = ReadNumberText(Trimmed(piece.substr(0, dash)));
    const std::optional<std::int64_t> last = ReadNumberText(Trimmed(piece.substr(dash + 1)));
    if (first && last) return std::pair(*first, *last);
  }
  return std::nullopt;
}

TSetReading SetFailure(TSetFault fault, std::string_view text, std::int64_t value = 0) {
  TSetReading reading;
  reading.Error = TSetError{fault, std::string(text), value};
  return reading;
}

std::optional<TTableError> CheckSets(const TTableCommand& entry) {
  const TCommand& command = *entry.Command;
  for (std::size_t i = 0; i < command.Properties.size(); ++i) {
    TTableError error;
    error.Command = &command;
    error.Parameter = static_cast<std::int32_t>(i);
    if (i >= entry.Sets.size() || entry.Sets[i].empty()) return error;
    for (std::int32_t value : entry.Sets[i]) {
      if (!IsAllowedValue(*command.Properties[i], value)) {
        error.Fault = TTableFault::NotAllowed;
        error.Value = value;
        return error;
      }
    }
  }
  return std::nullopt;
}

}  // namespace

TValueSet DefaultValueSet(const TProperty& property) {
  TValueSet set;
  if (property.Type == kTypeList) {
    std::unordered_set<std::int32_t> seen;
    for (const TOptionItem& item : ReadOptionItems(property.Options))
      AddOnce(set, seen, item.Value);
    return set;
  }
  if (property.Type != kTypeInteger) return set;
  if (property.Name == kChannelParameterName) {
    for (std::int32_t channel = kFirstChannel; channel <= kLastChannel; ++channel) {
      if (IsAllowedValue(property, channel)) set.push_back(channel);
    }
    if (!set.empty()) return set;
  }
  set.push_back(BringWithinBounds(property.Default, property.Min, property.Max));
  return set;
}

TTableCommand DefaultTableCommand(const TCommand& command) {
  TTableCommand entry{&command, {}};
  entry.Sets.reserve(command.Properties.size());
  for (const auto& property : command.Properties) entry.Sets.push_back(DefaultValueSet(*property));
  return entry;
}

std::vector<TTableCommand> DefaultTableCommands(const TListCommands& commands,
                                                const TCommand* command) {
  if (command != nullptr) return {DefaultTableCommand(*command)};
  std::vector<TTableCommand> entries;
  entries.reserve(static_cast<std::size_t>(commands.Count()));
  for (std::int32_t i = 0; i < commands.Count(); ++i) {
    entries.push_back(DefaultTableCommand(commands.Items(i)));
  }
  return entries;
}

std::uint64_t TableRowCount(std::span<const TTableCommand> commands) {
  std::uint64_t total = 0;
  for (const TTableCommand& entry : commands) {
    if (entry.Command == nullptr) continue;
    std::uint64_t rows = 1;
    const std::size_t count = entry.Command->Properties.size();
    for (std::size_t i = 0; i < count; ++i) {
      rows = SaturatingProduct(rows, i < entry.Sets.size() ? entry.Sets[i].size() : 0);
    }
    total = rows > kRowCountLimit - total ? kRowCountLimit : total + rows;
  }
  return total;
}

TTable CalcTable(std::span<const TTableCommand> commands, std::string_view host,
                 std::string_view slave) {
  TTable table;
  for (const TTableCommand& entry : commands) {
    if (entry.Command == nullptr) continue;
    if (std::optional<TTableError> error = CheckSets(entry)) {
      table.Error = std::move(error);
      return table;
    }
  }
  const std::uint64_t rowCount = TableRowCount(commands);
  if (rowCount > kMaxTableRows) {
    TTableError error;
    error.Fault = TTableFault::TooManyRows;
    error.RowCount = rowCount;
    table.Error = error;
    return table;
  }

  table.Rows.reserve(static_cast<std::size_t>(rowCount));
  for (const TTableCommand& entry : commands) {
    if (entry.Command == nullptr) continue;
    const std::size_t count = entry.Command->Properties.size();
    // An odometer over the sets: the last parameter turns fastest.
    std::vector<std::size_t> at(count, 0);
    std::vector<TParamValue> values(count);
    while (true) {
      TTableRow row{entry.Command, std::vector<std::int32_t>(count), {}};
      for (std::size_t i = 0; i < count; ++i) {
        row.Values[i] = entry.Sets[i][at[i]];
        values[i] = row.Values[i];
      }
      TCalcResult result = CalcFrame(entry.Command, host, slave, values);
      if (result.Outcome != TCalcOutcome::Success) {
        TTableError error;
        error.Fault = TTableFault::Calc;
        error.Command = entry.Command;
        error.Parameter = result.Error.Parameter;
        error.Calc = std::move(result.Error);
        table.Rows.clear();
        table.Error = std::move(error);
        return table;
      }
      row.Frame = std::move(result.Frame);
      table.Rows.push_back(std::move(row));

      std::size_t turning = count;
      while (turning > 0 && ++at[turning - 1] == entry.Sets[turning - 1].size()) {
        at[--turning] = 0;
      }
      if (turning == 0) break;
    }
  }
  return table;
}

std::string ValuesText(std::span<const std::int32_t> values) {
  std::string text;
  for (std::int32_t value : values) {
    if (!text.empty()) text.push_back(' ');
    text += std::to_string(value);
  }
  return text;
}

std::string ReadableParameters(const TCommand& command, std::span<const std::int32_t> values) {
  std::string text;
  for (std::size_t i = 0; i < values.size() && i < command.Properties.size(); ++i) {
    const TProperty& property = *command.Properties[i];
    if (!text.empty()) text += "; ";
    text += property.Name;
    text += '=';
    text += std::to_string(values[i]);
    if (const std::optional<std::string> label = OptionLabel(property, values[i])) {
      text += " (" + *label + ")";
    }
  }
  return text;
}

TSetReading ReadTableSet(const TCommand& command, std::string_view text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return SetFailure(TSetFault::NotParamEqualsValues, text);

  const std::string_view name = Trimmed(text.substr(0, equals));
  bool byPosition = false;
  const std::optional<std::int32_t> parameter = FindParameter(command, name, byPosition);
  if (!parameter) {
    TSetReading reading = SetFailure(TSetFault::UnknownParameter, name);
    reading.ByPosition = byPosition;
    return reading;
  }
  const TProperty& property = *command.Properties[static_cast<std::size_t>(*parameter)];

  TSetReading reading;
  reading.Parameter = *parameter;
  reading.ByPosition = byPosition;
  std::unordered_set<std::int32_t> seen;
  std::uint64_t listed = 0;
  const auto fail = [&](TSetFault fault, std::string_view piece, std::int64_t value = 0) {
    reading.Values.clear();
    reading.Error = TSetError{fault, std::string(piece), value};
    return reading;
  };
  for (const std::string& rawPiece : Split(text.substr(equals + 1), ",")) {
    const std::string_view piece = Trimmed(rawPiece);
    if (piece.empty()) continue;
    std::int64_t first = 0;
    std::int64_t last = 0;
    if (const std::optional<std::int64_t> value = ReadParamValue(property, piece)) {
      first = last = *value;
    } else if (const auto range = ReadRange(piece)) {
      std::tie(first, last) = *range;
      if (last < first) return fail(TSetFault::BackwardRange, piece);
    } else {
      return fail(TSetFault::NotAValue, piece);
    }
    // Counted before any value is taken: a range of millions is refused, not walked.
    const auto size = static_cast<std::uint64_t>(last) - static_cast<std::uint64_t>(first) + 1;
    if (size == 0 || size > kMaxTableRows - listed) return fail(TSetFault::TooManyValues, piece);
    listed += size;
    for (std::int64_t value = first;; ++value) {
      if (!IsAllowedValue(property, value)) return fail(TSetFault::NotAllowed, piece, value);
      AddOnce(reading.Values, seen, RowValue(value));
      if (value == last) break;
    }
  }
  if (reading.Values.empty()) return fail(TSetFault::EmptySet, text.substr(equals + 1));
  return reading;
}
