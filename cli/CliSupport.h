#pragma once

// What every command of brelvik-frame shares: its exit codes, its usage error, how it echoes what
// the user typed, and how it writes values and failures as text and JSON.

#include <cstdint>
#include <nlohmann/json.hpp>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "FrameCalc.h"
#include "TCommand.h"

// Exit codes of the command line.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitEncodeFailure = 1;
// decode: a string that can be read has a problem.
inline constexpr int kExitStringProblem = 1;
inline constexpr int kExitUsage = 2;
// The output cannot be written; 74 is EX_IOERR of sysexits.h.
inline constexpr int kExitWriteError = 74;

// An error that ends a command: a sentence that says what is wrong, and the exit code.
class TCliError : public std::runtime_error {
 public:
  TCliError(int exitCode, const std::string& message)
      : std::runtime_error(message), exitCode_(exitCode) {}
  int ExitCode() const { return exitCode_; }

 private:
  int exitCode_;
};

// A request the command line cannot carry out as given.
class TUsageError : public TCliError {
 public:
  explicit TUsageError(const std::string& message) : TCliError(kExitUsage, message) {}
};

inline constexpr char kProgramName[] = "brelvik-frame";

// Returns "text" as a message shows what the user typed: in double quotes, control characters
// escaped, and cut after about 60 characters with "...".
std::string Echo(std::string_view text);

// Returns "text" as Echo does but without the quotes, for a number as typed: a huge one is shown
// whole rather than held at a limit.
std::string EchoUnquoted(std::string_view text);

// Returns "json" as the command line prints it: indented by two, with any byte that is not UTF-8
// replaced, and a line feed at the end.
std::string JsonText(const nlohmann::ordered_json& json);

// Returns what "property" allows, for a message: "allowed 0 to 15", or "one of its options: 1
// (UP/ON), 2 (DOWN/OFF)".
std::string DescribeAllowed(const TProperty& property);

// Returns the labels of the options of a list parameter, for a message: "UP/ON, DOWN/OFF, STOP".
std::string DescribeLabels(const TProperty& property);

// Reads "text", typed for "property" of "command", as a number or an option label. Throws
// TUsageError, naming what was typed and what is allowed, when it is neither, and unless
// "unchecked", when the value is not allowed.
std::int64_t ReadValueArgument(const TCommand& command, const TProperty& property,
                               std::string_view text, bool unchecked);

// The parameters of "command" with "values", one object each: "name", "value" and, for a list
// parameter, "label" (null when the value is none of its options).
nlohmann::ordered_json ParametersJson(const TCommand& command, std::span<const TParamValue> values);

// Names the input of "error" and says what is wrong with it, e.g.
// host "FG FF 00": "G" at position 2 is not a hexadecimal digit
// A value at fault is shown as typed when "valueTexts" holds the text typed for it.
std::string DescribeCalcError(const TCommand& command, std::string_view host,
                              std::string_view slave, const TCalcError& error,
                              std::span<const std::string> valueTexts = {});

// The same as a JSON object: "input", "parameter" (from 1, for a parameter), "problem", and where
// they apply "position", "text" and "value", then the whole "message".
nlohmann::ordered_json CalcErrorJson(const TCommand& command, std::string_view host,
                                     std::string_view slave, const TCalcError& error,
                                     std::span<const std::string> valueTexts = {});
