#pragma once

// Tables for a whole installation: one frame for every combination of chosen parameter values, of
// one command or of several, each row calculated by CalcFrame.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "FrameCalc.h"
#include "TCommand.h"
#include "TListCommands.h"

// The most rows a table may have; a larger one is refused before any row is calculated. It keeps
// a mistyped range from filling the memory, and is far above the 16 channels times a few choices
// that one installation needs.
inline constexpr std::uint64_t kMaxTableRows = 100000;

// The parameter that picks one of the transmitter's channels, and the channels it drives.
inline constexpr std::string_view kChannelParameterName = "RTS channel selection";
inline constexpr std::int32_t kFirstChannel = 0;
inline constexpr std::int32_t kLastChannel = 15;

// The values one parameter takes in a table, in table order.
using TValueSet = std::vector<std::int32_t>;

// The rows wanted of one command: one value set per parameter, in parameter order.
struct TTableCommand {
  const TCommand* Command = nullptr;
  std::vector<TValueSet> Sets;
};

// One row: the command, its parameter values and the frame CalcFrame encoded for them.
struct TTableRow {
  const TCommand* Command = nullptr;
  std::vector<std::int32_t> Values;
  TFrameTexts Frame;
};

enum class TTableFault {
  EmptySet,     // Parameter Parameter of Command has no value to take.
  NotAllowed,   // Value is not one that parameter Parameter of Command allows.
  TooManyRows,  // RowCount is more than kMaxTableRows.
  Calc,         // CalcFrame failed for a row of Command: Calc says why.
};

// Why a table was refused.
struct TTableError {
  TTableFault Fault = TTableFault::EmptySet;
  const TCommand* Command = nullptr;
  std::int32_t Parameter = -1;  // Counted from 0.
  std::int64_t Value = 0;
  std::uint64_t RowCount = 0;  // TooManyRows: the rows asked for, held at the uint64 limit.
  TCalcError Calc;
};

// A calculated table: all its rows, or none and the error.
struct TTable {
  std::vector<TTableRow> Rows;
  std::optional<TTableError> Error;
};

// Returns the values "property" takes when no set is given: every channel the channel parameter
// allows, every option value of a list parameter in option order (each value once), and for any
// other integer parameter its start value brought within its bounds, so that a table never holds
// a value the parameter's editor would refuse. Empty for a parameter of no known type.
TValueSet DefaultValueSet(const TProperty& property);

// Returns "command" with the default value set of every parameter.
TTableCommand DefaultTableCommand(const TCommand& command);

// Returns "command" alone, or every command of "commands" in catalogue order when "command" is
// null, each with its default value sets.
std::vector<TTableCommand> DefaultTableCommands(const TListCommands& commands,
                                                const TCommand* command);

// Returns the number of rows of "commands": the sum of the products of their set sizes, held at
// the uint64 limit.
std::uint64_t TableRowCount(std::span<const TTableCommand> commands);

// Calculates the table of "commands" with the address texts "host" and "slave": for each command
// in turn, one row per combination of its sets' values, the last parameter varying fastest. A
// missing or empty set, a value its parameter does not allow and more than kMaxTableRows rows are
// refused before any row is calculated; a row that CalcFrame cannot encode ends the table with
// its error.
TTable CalcTable(std::span<const TTableCommand> commands, std::string_view host,
                 std::string_view slave);

// Returns the values as decimal numbers separated by one blank, e.g. "3 2".
std::string ValuesText(std::span<const std::int32_t> values);

// Returns the parameters of "command" with "values" in words, e.g.
// "RTS channel selection=3; Action=2 (DOWN/OFF)": a list value is followed by its label.
std::string ReadableParameters(const TCommand& command, std::span<const std::int32_t> values);

// What is wrong with a "PARAM=VALUES" text.
enum class TSetFault {
  NotParamEqualsValues,  // The text has no "=".
  UnknownParameter,      // PARAM names no parameter of the command: Text.
  EmptySet,              // VALUES holds no value.
  NotAValue,             // Text is neither a number, a range nor a label.
  NotAllowed,            // Value, from the piece Text, is not allowed.
  BackwardRange,         // The range Text ends below its start.
  TooManyValues,         // VALUES lists more than kMaxTableRows values.
};

struct TSetError {
  TSetFault Fault = TSetFault::NotParamEqualsValues;
  std::string Text;  // The parameter or the piece of VALUES at fault, as given.
  std::int64_t Value = 0;
};

// A "PARAM=VALUES" text as read for one command.
struct TSetReading {
  std::int32_t Parameter = -1;  // The parameter it names, counted from 0.
  bool ByPosition = false;      // PARAM gave its position rather than its name.
  TValueSet Values;             // Each value once, in the order given.
  std::optional<TSetError> Error;
};

// Reads "text", "PARAM=VALUES", for "command". PARAM is a parameter's name, letter case ignored,
// or its position counted from 1. VALUES is a comma-separated list of numbers, ranges "A-B" of
// numbers and, for a list parameter, option labels with letter case ignored; blanks around each
// piece are ignored, and so are empty pieces. Every value must be one the parameter allows; a
// value given twice is taken once, where it first comes.
TSetReading ReadTableSet(const TCommand& command, std::string_view text);
