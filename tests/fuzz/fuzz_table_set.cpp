// Fuzzes ReadTableSet, the reading of a "PARAM=VALUES" text for a table, against every built-in
// command, and the table calculated from what it accepts. An accepted set holds only values its
// parameter allows, each once, in the order the text gives them (worked out here from the pieces
// of the text, the ranges by hand); a refused one holds none. Every row of the table is what
// CalcFrame gives for its values, and there are as many rows as the sets' sizes multiply to.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "BuiltInCatalog.h"
#include "FrameCalc.h"
#include "FrameTable.h"
#include "FuzzCheck.h"
#include "OptionList.h"
#include "ParamValues.h"
#include "TextCompare.h"

namespace {

// Tables larger than this are checked by their row count only, to keep each run short.
constexpr std::uint64_t kCheckedRows = 4096;

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A small decimal number of at most six digits, and nothing else.
std::optional<std::int64_t> SmallDecimal(std::string_view text) {
  if (text.empty() || text.size() > 6) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// The values the text after "=" lists, each once, in order: single values as the catalogue reads
// them, ranges "A-B" of small decimal numbers walked here. Nothing when a piece is of any other
// kind, whose order this target does not work out.
std::optional<std::vector<std::int32_t>> ExpectedValues(const TProperty& property,
                                                        std::string_view values) {
  std::vector<std::int32_t> expected;
  std::set<std::int64_t> seen;
  for (const std::string& rawPiece : Split(values, ",")) {
    const std::string_view piece = Trim(rawPiece);
    if (piece.empty()) continue;
    if (const std::optional<std::int64_t> value = ReadParamValue(property, piece)) {
      if (*value < std::numeric_limits<std::int32_t>::min() ||
          *value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
      }
      if (seen.insert(*value).second) expected.push_back(static_cast<std::int32_t>(*value));
      continue;
    }
    const std::size_t dash = piece.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    const auto first = SmallDecimal(Trim(piece.substr(0, dash)));
    const auto last = SmallDecimal(Trim(piece.substr(dash + 1)));
    if (!first || !last || *last < *first) return std::nullopt;
    for (std::int64_t value = *first; value <= *last; ++value) {
      if (seen.insert(value).second) expected.push_back(static_cast<std::int32_t>(value));
    }
  }
  return expected;
}

void CheckTable(const TCommand& command, const TSetReading& reading, const std::string& host) {
  TTableCommand entry = DefaultTableCommand(command);
  entry.Sets[static_cast<std::size_t>(reading.Parameter)] = reading.Values;
  const std::vector<TTableCommand> entries = {entry};
  std::uint64_t product = 1;
  for (const TValueSet& set : entry.Sets) product *= set.size();
  FUZZ_CHECK(TableRowCount(entries) == product);
  if (product > kCheckedRows) return;

  const TTable table = CalcTable(entries, host, kDefaultSlave);
  std::vector<TParamValue> first;
  for (const TValueSet& set : entry.Sets) first.emplace_back(set.front());
  const TCalcResult firstResult = CalcFrame(&command, host, kDefaultSlave, first);
  if (table.Error) {
    // Every value is allowed and within a byte: only the address can fail, at the first row.
    FUZZ_CHECK(table.Rows.empty());
    FUZZ_CHECK(table.Error->Fault == TTableFault::Calc);
    FUZZ_CHECK(firstResult.Outcome == TCalcOutcome::Failure);
    FUZZ_CHECK(table.Error->Calc == firstResult.Error);
    return;
  }
  FUZZ_CHECK(table.Rows.size() == product);
  for (const TTableRow& row : table.Rows) {
    FUZZ_CHECK(row.Command == &command);
    const std::vector<TParamValue> values(row.Values.begin(), row.Values.end());
    const TCalcResult result = CalcFrame(&command, host, kDefaultSlave, values);
    FUZZ_CHECK(result.Outcome == TCalcOutcome::Success);
    FUZZ_CHECK(row.Frame == result.Frame);
  }
  // The set's values take their turns in the order given.
  std::size_t every = 1;
  for (std::size_t i = static_cast<std::size_t>(reading.Parameter) + 1; i < entry.Sets.size();
       ++i) {
    every *= entry.Sets[i].size();
  }
  for (std::size_t n = 0; n < reading.Values.size(); ++n) {
    FUZZ_CHECK(table.Rows[n * every].Values[static_cast<std::size_t>(reading.Parameter)] ==
               reading.Values[n]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const TListCommands& commands = BuiltIn();
  const TCommand& command = commands.Items(input.ConsumeIntegralInRange(0, commands.Count() - 1));
  const std::string host = input.ConsumeRandomLengthString(16);
  const std::string text = input.ConsumeRemainingBytesAsString();

  const TSetReading reading = ReadTableSet(command, text);
  const std::size_t equals = text.find('=');
  if (reading.Error) {
    FUZZ_CHECK(reading.Values.empty());
    FUZZ_CHECK((reading.Error->Fault == TSetFault::NotParamEqualsValues) ==
               (equals == std::string::npos));
    FUZZ_CHECK(text.find(reading.Error->Text) != std::string::npos);
    if (reading.Error->Fault == TSetFault::UnknownParameter) {
      const std::string_view name = Trim(std::string_view(text).substr(0, equals));
      for (const auto& property : command.Properties) {
        FUZZ_CHECK(!EqualsIgnoringCase(property->Name, name));
      }
    }
    return 0;
  }

  FUZZ_CHECK(equals != std::string::npos);
  FUZZ_CHECK(reading.Parameter >= 0 && reading.Parameter < command.PropertyCount());
  const TProperty& property = command.GetProperty(reading.Parameter);
  if (!reading.ByPosition) {
    FUZZ_CHECK(EqualsIgnoringCase(property.Name, Trim(std::string_view(text).substr(0, equals))));
  }
  FUZZ_CHECK(!reading.Values.empty());
  FUZZ_CHECK(reading.Values.size() <= kMaxTableRows);
  std::set<std::int32_t> distinct(reading.Values.begin(), reading.Values.end());
  FUZZ_CHECK(distinct.size() == reading.Values.size());
  for (std::int32_t value : reading.Values) FUZZ_CHECK(IsAllowedValue(property, value));
  if (const auto expected = ExpectedValues(property, std::string_view(text).substr(equals + 1))) {
    FUZZ_CHECK(*expected == reading.Values);
  }

  CheckTable(command, reading, host);
  return 0;
}
