#pragma once

// The commands of brelvik-frame that read the catalogue and encode frames: each takes its request
// and the output streams and returns the exit code, or throws a TCliError.

#include <iosfwd>
#include <string>
#include <vector>

#include "CliSupport.h"
#include "FrameCalc.h"
#include "FrameTable.h"
#include "TListCommands.h"

enum class TOutputFormat { Plain, Json, Loxone };

struct TListRequest {
  TOutputFormat Format = TOutputFormat::Plain;
};

struct TShowRequest {
  std::string Name;  // Message name of the command.
  TOutputFormat Format = TOutputFormat::Plain;
};

struct TEncodeRequest {
  std::string Name;                                // Message name of the command.
  std::string Host = std::string(kDefaultHost);    // Host address text, passed on as given.
  std::string Slave = std::string(kDefaultSlave);  // Slave address text, passed on as given.
  std::vector<std::string> Values;  // Parameter values in parameter order; may be fewer.
  bool Unchecked = false;           // Pass values outside the bounds or options on unchanged.
  TOutputFormat Format = TOutputFormat::Plain;
};

// The text forms of "table", as --format names them.
inline constexpr char kTableFormatCsv[] = "csv";
inline constexpr char kTableFormatTsv[] = "tsv";
inline constexpr char kTableFormatJson[] = "json";
inline constexpr char kTableFormatMarkdown[] = "markdown";

struct TTableRequest {
  std::vector<std::string> Names;                  // Message names; none for every command.
  std::string Host = std::string(kDefaultHost);    // Host address text, passed on as given.
  std::string Slave = std::string(kDefaultSlave);  // Slave address text, passed on as given.
  std::vector<std::string> Sets;                   // "PARAM=VALUES" texts, in the order given.
  std::string Format = kTableFormatCsv;
  std::string Delimiter = ",";  // The field separator of csv.
  bool DelimiterGiven = false;
};

// Returns the command called "name", letter case ignored; throws TUsageError naming the unknown
// command.
const TCommand& FindCommand(const TListCommands& commands, const std::string& name);

// Writes every command of "commands" with its category, codes and parameter count to "out".
int RunList(const TListCommands& commands, const TListRequest& request, std::ostream& out);

// Writes the description and parameters of the command of "request" to "out".
int RunShow(const TListCommands& commands, const TShowRequest& request, std::ostream& out);

// Turns "request" into one value per parameter of "command": the given values, then the values
// the editors start with. Throws TUsageError for too many values, a value that is neither a
// number nor an option label and, unless unchecked, a value the parameter does not allow.
std::vector<TParamValue> ResolveValues(const TCommand& command, const TEncodeRequest& request);

// Turns "request" into the commands of its table, each with its value sets: the given ones, and
// the default sets for the rest. Throws TUsageError for an unknown or repeated command and for a
// --set that names no parameter of the table, holds a value that is not allowed or none at all.
std::vector<TTableCommand> ResolveTable(const TListCommands& commands,
                                        const TTableRequest& request);

// Calculates the table of "request" and writes it to "out" in the chosen format, and any warning
// to "err". Throws TUsageError, before writing anything, when the request cannot be tabulated:
// besides what ResolveTable refuses, an address that cannot be encoded, more than kMaxTableRows
// rows, and a delimiter that is not allowed.
int RunTable(const TListCommands& commands, const TTableRequest& request, std::ostream& out,
             std::ostream& err);

// Encodes "request" and writes the result to "out" and any warning to "err". When the inputs
// cannot be encoded, writes the failure to both and throws a TCliError with the reason.
int RunEncode(const TListCommands& commands, const TEncodeRequest& request, std::ostream& out,
              std::ostream& err);
