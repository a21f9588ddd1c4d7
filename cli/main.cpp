#include <CLI/CLI.hpp>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "BuiltInCommands.h"
#include "FrameCommands.h"

namespace {

// CLI11 reads "--host=" as an option still waiting for its value and takes the next argument;
// spelling it as "--host" "" keeps the empty text the user gave.
std::vector<std::string> SplitEmptyAssignments(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") {
      args.insert(args.end(), argv + i, argv + argc);
      break;
    }
    if (arg.starts_with("--") && arg.size() > 3 && arg.find('=') == arg.size() - 1) {
      args.emplace_back(arg.substr(0, arg.size() - 1));
      args.emplace_back();
    } else {
      args.emplace_back(arg);
    }
  }
  std::ranges::reverse(args);  // CLI11 takes the arguments as a stack, last first.
  return args;
}

void AddFormatFlags(CLI::App& command, bool& json, bool* loxone) {
  CLI::Option* jsonFlag = command.add_flag("--json", json, "Print JSON instead of text");
  if (loxone != nullptr) {
    command.add_flag("--loxone", *loxone, "Print only the Loxone string")->excludes(jsonFlag);
  }
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Composes RS485 command frames for the Veltram Brelvik transmitter and their "
      "escaped Loxone strings."};
  app.name("brelvik-frame");
  app.set_version_flag("--version", std::string("brelvik-frame ") + BRELVIK_VERSION);
  app.require_subcommand(1);

  bool json = false;
  bool loxone = false;
  std::string name;
  TEncodeRequest request;

  CLI::App* list = app.add_subcommand("list", "List the built-in commands in catalogue order");
  AddFormatFlags(*list, json, nullptr);

  CLI::App* show = app.add_subcommand("show", "Describe one command and its parameters");
  show->add_option("NAME", name, "Message name, e.g. CTRL_POSITION")->required();
  AddFormatFlags(*show, json, nullptr);

  CLI::App* encode = app.add_subcommand("encode", "Encode one command frame");
  encode->add_option("NAME", request.Name, "Message name, e.g. CTRL_POSITION")->required();
  encode->add_option("VALUE", request.Values,
                     "Parameter values in parameter order, decimal or 0x hexadecimal; a list "
                     "parameter takes its option's value. Missing values take their defaults");
  encode->add_option("--host", request.Host, "Host address text")->capture_default_str();
  encode->add_option("--slave", request.Slave, "Slave address text")->capture_default_str();
  encode->add_flag("--unchecked", request.Unchecked,
                   "Pass values outside their bounds or options on unchanged");
  AddFormatFlags(*encode, json, &loxone);
  encode->footer(
      "Prints the frame, its checksum and the Loxone string. Exit codes: 0 encoded, 1 the inputs "
      "cannot be encoded (e.g. an address that is not hexadecimal), 2 usage error.\n"
      "Put negative values after --, e.g.: brelvik-frame encode --unchecked CTRL_POSITION -- -1");

  try {
    app.parse(SplitEmptyAssignments(argc, argv));
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error);
    return code == static_cast<int>(CLI::ExitCodes::Success) ? kExitSuccess : kExitUsage;
  }

  const TOutputFormat format = json     ? TOutputFormat::Json
                               : loxone ? TOutputFormat::Loxone
                                        : TOutputFormat::Plain;
  TListCommands commands;
  AddBuiltInCommands(commands);
  try {
    if (list->parsed()) {
      RunList(commands, format, std::cout);
    } else if (show->parsed()) {
      RunShow(commands, name, format, std::cout);
    } else {
      request.Format = format;
      return RunEncode(commands, request, std::cout, std::cerr);
    }
  } catch (const TUsageError& error) {
    std::cerr << "brelvik-frame: " << error.what() << '\n';
    return kExitUsage;
  }
  return kExitSuccess;
}
