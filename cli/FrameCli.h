#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Runs brelvik-frame with "args", the arguments after the program's name: reads standard input
// from "in", writes the output to "out" and messages to "err", and returns the exit code.
int RunFrameCli(std::vector<std::string> args, std::istream& in, std::ostream& out,
                std::ostream& err);
