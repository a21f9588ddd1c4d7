#pragma once

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

#include "FrameCalc.h"
#include "TListCommands.h"

// A request the command line cannot carry out as given; reported with exit code 2.
class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TOutputFormat { Plain, Json, Loxone };

struct TEncodeRequest {
  std::string Name;                 // Message name of the command.
  std::string Host = "FF FF 00";    // Host address text, passed on exactly as given.
  std::string Slave = "05 00 02";   // Slave address text, passed on exactly as given.
  std::vector<std::string> Values;  // Parameter values in parameter order; may be fewer.
  bool Unchecked = false;           // Pass values outside the bounds or options on unchanged.
  TOutputFormat Format = TOutputFormat::Plain;
};

// Exit codes of the command line.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitEncodeFailure = 1;
inline constexpr int kExitUsage = 2;

// Returns the command called "name" (exact spelling first, then ignoring letter case); throws
// TUsageError naming the unknown command.
const TCommand& FindCommand(const TListCommands& commands, const std::string& name);

// Writes every command of "commands" with its category, codes and parameter count to "out".
void RunList(const TListCommands& commands, TOutputFormat format, std::ostream& out);

// Writes the description and parameters of the command called "name" to "out".
void RunShow(const TListCommands& commands, const std::string& name, TOutputFormat format,
             std::ostream& out);

// Turns "request" into one value per parameter of "command": the given values, then the values
// the editors start with. Throws TUsageError for too many values, a value that is not a number
// and, unless unchecked, a value the parameter does not allow.
std::vector<TParamValue> ResolveValues(const TCommand& command, const TEncodeRequest& request);

// Encodes "request", writes the result to "out" and the failure message to "err"; returns the
// exit code.
int RunEncode(const TListCommands& commands, const TEncodeRequest& request, std::ostream& out,
              std::ostream& err);
