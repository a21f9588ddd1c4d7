#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "FrameCli.h"

int main(int argc, char** argv) {
  // A reader that went away is an output that cannot be written, reported as such, rather than
  // the silent end of the process.
  std::signal(SIGPIPE, SIG_IGN);
  return RunFrameCli(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout,
                     std::cerr);
}
