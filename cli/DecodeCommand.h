#pragma once

// The decode command of brelvik-frame: reads strings back and checks them.

#include <iosfwd>
#include <optional>
#include <string>

#include "FrameCommands.h"
#include "TListCommands.h"

struct TDecodeRequest {
  // The string to decode; none, or "-", reads standard input, one string per non-empty line.
  std::optional<std::string> Text;
  TOutputFormat Format = TOutputFormat::Plain;
};

// Decodes the string of "request", or every string of "in", and writes each result to "out" and
// a message for every string that cannot be read to "err". Returns kExitSuccess when every
// string is valid and kExitStringProblem when one has a problem; throws a TCliError with
// kExitUsage when one cannot be read or standard input holds none.
int RunDecode(const TListCommands& commands, const TDecodeRequest& request, std::istream& in,
              std::ostream& out, std::ostream& err);
