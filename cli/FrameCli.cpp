#include "FrameCli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <iostream>
#include <memory>
#include <string_view>

#include "BuiltInCommands.h"
#include "CliSupport.h"
#include "DecodeCommand.h"
#include "FrameCommands.h"
#include "ParamValues.h"

namespace {

// What the setup of every subcommand works with: the catalogue, the streams, and the action that
// the subcommand's callback leaves behind once its arguments have been parsed.
struct TCliContext {
  const TListCommands& Commands;
  std::istream& In;
  std::ostream& Out;
  std::ostream& Err;
  std::function<int()> Action;
};

// The width of the help, to fit a terminal of 80 columns.
constexpr std::size_t kHelpWidth = 79;

// Returns "text" with its words wrapped onto lines of at most "width" characters where they fit.
std::string Wrapped(const std::string& text, std::size_t width) {
  std::string wrapped;
  std::size_t lineLength = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find(' ', at), text.size());
    const std::size_t wordLength = end - at;
    if (lineLength > 0 && lineLength + 1 + wordLength > width) {
      wrapped += '\n';
      lineLength = 0;
    } else if (lineLength > 0) {
      wrapped += ' ';
      ++lineLength;
    }
    wrapped.append(text, at, wordLength);
    lineLength += wordLength;
    at = end + 1;
  }
  return wrapped;
}

// CLI11's help, with the description of every option wrapped beside its name.
class TWrappingFormatter : public CLI::Formatter {
 public:
  std::string make_option_desc(const CLI::Option* option) const override {
    return Wrapped(CLI::Formatter::make_option_desc(option), kHelpWidth - get_column_width());
  }
};

struct TFormatFlags {
  bool Json = false;
  bool Loxone = false;

  TOutputFormat Format() const {
    return Json ? TOutputFormat::Json : Loxone ? TOutputFormat::Loxone : TOutputFormat::Plain;
  }
};

void AddFormatFlags(CLI::App& command, TFormatFlags& flags, bool withLoxone) {
  CLI::Option* json = command.add_flag("--json", flags.Json, "Print JSON instead of text");
  if (withLoxone) {
    command.add_flag("--loxone", flags.Loxone, "Print only the Loxone string")->excludes(json);
  }
}

void SetupList(CLI::App& app, TCliContext& context) {
  CLI::App* list = app.add_subcommand("list", "List the built-in commands in catalogue order");
  auto flags = std::make_shared<TFormatFlags>();
  AddFormatFlags(*list, *flags, false);
  list->footer(
      "Prints each command's message name, category, message code, length code and\n"
      "number of parameters.\n\n"
      "Examples:\n"
      "  brelvik-frame list\n"
      "  brelvik-frame list --json");
  list->callback([&context, flags] {
    context.Action = [&context, flags] {
      return RunList(context.Commands, {flags->Format()}, context.Out);
    };
  });
}

void SetupShow(CLI::App& app, TCliContext& context) {
  CLI::App* show = app.add_subcommand("show", "Describe one command and its parameters");
  auto request = std::make_shared<TShowRequest>();
  auto flags = std::make_shared<TFormatFlags>();
  show->add_option("NAME", request->Name, "Message name, e.g. CTRL_POSITION; letter case ignored")
      ->required();
  AddFormatFlags(*show, *flags, false);
  show->footer(
      "Prints the codes, the description and every parameter with its range or its\n"
      "options, in the order in which encode takes their values.\n\n"
      "Examples:\n"
      "  brelvik-frame show CTRL_POSITION\n"
      "  brelvik-frame show --json SET_TILT_FRAMECOUNT");
  show->callback([&context, request, flags] {
    context.Action = [&context, request, flags] {
      request->Format = flags->Format();
      return RunShow(context.Commands, *request, context.Out);
    };
  });
}

void SetupEncode(CLI::App& app, TCliContext& context) {
  CLI::App* encode = app.add_subcommand("encode", "Encode one command frame and its Loxone string");
  auto request = std::make_shared<TEncodeRequest>();
  auto flags = std::make_shared<TFormatFlags>();
  encode->add_option("NAME", request->Name, "Message name, e.g. CTRL_POSITION; letter case ignored")
      ->required();
  encode->add_option("VALUE", request->Values,
                     "Parameter values in parameter order: decimal, or 0x and hexadecimal digits; "
                     "a list parameter also takes the label of its option, e.g. STOP, letter case "
                     "ignored. Missing values take their defaults. Negative numbers need no --");
  encode
      ->add_option("--host", request->Host,
                   "Host address: three pairs of hexadecimal digits, most significant byte "
                   "first, a blank between pairs or none, e.g. \"FF FF 00\" or FFFF00")
      ->capture_default_str();
  encode
      ->add_option("--slave", request->Slave,
                   "Slave address, in the same form as the host address, e.g. \"05 00 02\"")
      ->capture_default_str();
  encode->add_flag("--unchecked", request->Unchecked,
                   "Pass values outside their bounds or options on unchanged");
  AddFormatFlags(*encode, *flags, true);
  encode->footer(
      "Prints the raw frame, the inverted bytes, the checksum, the data to send and\n"
      "the Loxone string. JSON adds the addresses, the values used and the bytes.\n\n"
      "Examples:\n"
      "  brelvik-frame encode CTRL_POSITION\n"
      "  brelvik-frame encode --loxone --slave \"05 00 03\" CTRL_POSITION 2 STOP\n"
      "  brelvik-frame encode --json SET_TILT_FRAMECOUNT 1 10 5\n\n"
      "Exit codes: 0 encoded; 1 the inputs cannot be encoded (the reason follows on\n"
      "stderr); 2 usage error; 74 the output cannot be written.");
  encode->callback([&context, request, flags] {
    context.Action = [&context, request, flags] {
      request->Format = flags->Format();
      return RunEncode(context.Commands, *request, context.Out, context.Err);
    };
  });
}

void SetupTable(CLI::App& app, TCliContext& context) {
  CLI::App* table =
      app.add_subcommand("table", "Tabulate the strings of every channel and choice of commands");
  auto request = std::make_shared<TTableRequest>();
  table->add_option("NAME", request->Names,
                    "Message names, letter case ignored, in the order of the rows; none for all "
                    "fifteen commands in catalogue order");
  table
      ->add_option("--host", request->Host,
                   "Host address, as for encode: three pairs of hexadecimal digits, e.g. "
                   "\"FF FF 00\"")
      ->capture_default_str();
  table->add_option("--slave", request->Slave, "Slave address, e.g. \"05 00 02\"")
      ->capture_default_str();
  table
      ->add_option("--set", request->Sets,
                   "The values of one parameter, for every command of the table that has it: "
                   "PARAM is its name, letter case ignored, or with one NAME its position from "
                   "1; VALUES are numbers, ranges A-B and option labels, separated by commas. "
                   "Repeat for more parameters. Without it, the channel takes 0 to 15, a list "
                   "every option and any other parameter its start value")
      ->type_name("PARAM=VALUES")
      ->allow_extra_args(false);
  table
      ->add_option("--format", request->Format,
                   "csv (RFC 4180 quoting, header row), tsv, json (an array of objects) or "
                   "markdown (a table for documentation); each gives the columns command, "
                   "category, values, parameters, data_to_send and loxone")
      ->check(CLI::IsMember(std::vector<std::string>{kTableFormatCsv, kTableFormatTsv,
                                                     kTableFormatJson, kTableFormatMarkdown}))
      ->capture_default_str();
  CLI::Option* delimiter =
      table
          ->add_option("--delimiter", request->Delimiter,
                       "Field separator of csv: one punctuation mark, a blank or a tab, e.g. ';' "
                       "for spreadsheets that write decimals with a comma")
          ->type_name("CHAR")
          ->capture_default_str();
  table->footer(
      "Prints one row per combination of the parameter values, the last parameter\n"
      "varying fastest: the values as numbers and in words, the data to send and the\n"
      "Loxone string. Nothing is printed when the table is refused, and a table may\n"
      "have at most 100000 rows.\n\n"
      "Examples:\n"
      "  brelvik-frame table --slave \"05 00 03\" > installation.csv\n"
      "  brelvik-frame table CTRL_POSITION --set \"RTS channel selection=0-3,8\"\n"
      "  brelvik-frame table --format markdown CTRL_POSITION --set Action=UP/ON,STOP\n\n"
      "Exit codes: 0 written; 2 usage error, also for an address that cannot be\n"
      "encoded and for more than 100000 rows; 74 the output cannot be written.");
  table->callback([&context, request, delimiter] {
    context.Action = [&context, request, delimiter] {
      request->DelimiterGiven = delimiter->count() > 0;
      return RunTable(context.Commands, *request, context.Out, context.Err);
    };
  });
}

void SetupDecode(CLI::App& app, TCliContext& context) {
  CLI::App* decode =
      app.add_subcommand("decode", "Check a Loxone string or a frame and say what it stands for");
  auto request = std::make_shared<TDecodeRequest>();
  auto text = std::make_shared<std::string>();
  auto flags = std::make_shared<TFormatFlags>();
  CLI::Option* textOption = decode->add_option(
      "TEXT", *text,
      "The string to check, in quotes: a Loxone string (\\x7F\\xF2...), hexadecimal "
      "pairs with blanks, commas, colons or nothing between them (7F F2 FA ...), or lines "
      "of the result area, whose \"Data to send:\" or \"Loxone:\" line is read. Without "
      "it, or with -, one string per line of standard input");
  AddFormatFlags(*decode, *flags, false);
  decode->footer(
      "Prints the command, the addresses, every parameter, the length code, the\n"
      "checksum found and expected, the verdict, and each problem and warning. A\n"
      "value outside its parameter's range or options is a warning only. JSON gives\n"
      "one object per string, an array of them for several lines.\n\n"
      "Examples:\n"
      "  brelvik-frame decode '\\x7F\\xF2\\xFA\\xFF\\x00\\x00\\xFD\\xFF\\xFA\\xFF\\xFE\\x08\\x5D'\n"
      "  brelvik-frame decode --json \"7F F2 FA FF 00 00 FD FF FA FF FE 08 5D\"\n"
      "  brelvik-frame decode < strings.txt\n"
      "  brelvik-frame encode CTRL_TILT 2 1 40 | brelvik-frame decode\n\n"
      "Exit codes: 0 every string valid; 1 a string can be read but has a problem;\n"
      "2 a string cannot be read (the reason follows on stderr), or usage error;\n"
      "74 the output cannot be written.");
  decode->callback([&context, request, text, textOption, flags] {
    context.Action = [&context, request, text, textOption, flags] {
      if (textOption->count() > 0) request->Text = *text;
      request->Format = flags->Format();
      return RunDecode(context.Commands, *request, context.In, context.Out, context.Err);
    };
  });
}

// Returns the subcommand of "app" called "name", or null.
CLI::App* FindSubcommand(const CLI::App& app, const std::string& name) {
  try {
    return app.get_subcommand(name);
  } catch (const CLI::OptionNotFound&) {
    return nullptr;
  }
}

void SetupHelp(CLI::App& app, TCliContext& context) {
  CLI::App* help = app.add_subcommand("help", "Print the help of brelvik-frame or of one command");
  auto topic = std::make_shared<std::string>();
  help->add_option("COMMAND", *topic, "The command whose help to print, e.g. encode");
  help->footer(
      "Prints the same as --help.\n\n"
      "Examples:\n"
      "  brelvik-frame help\n"
      "  brelvik-frame help encode");
  help->callback([&app, &context, topic] {
    context.Action = [&app, &context, topic] {
      if (topic->empty()) {
        // The top level's own help: App::help() would hand over to the chosen "help" command.
        context.Out << app.get_formatter()->make_help(&app, app.get_name(),
                                                      CLI::AppFormatMode::Normal);
        return kExitSuccess;
      }
      const CLI::App* command = FindSubcommand(app, *topic);
      if (command == nullptr) throw TUsageError("unknown command " + Echo(*topic));
      context.Out << command->help(app.get_name());
      return kExitSuccess;
    };
  });
}

// Returns "args" in the order CLI11 takes them, last first, with two mendings. CLI11 reads
// "--host=" as an option still waiting for its value and takes the next argument: it becomes
// "--host" "", the empty text the user gave. And CLI11 hands everything after a "--" to the top
// level once the subcommand's positionals have one value each, so "encode NAME 1 -- 2" would
// fail: the first "--" after the subcommand is taken out here instead, and every argument after
// it must be a value, which never starts with a dash unless it is a negative number.
std::vector<std::string> ArgumentStack(const CLI::App& app, const std::vector<std::string>& args) {
  std::vector<std::string> stack;
  bool afterSubcommand = false;
  bool valuesOnly = false;
  for (const std::string& arg : args) {
    if (valuesOnly) {
      if (arg.starts_with('-') && !ReadNumberText(arg)) {
        throw TUsageError(Echo(arg) +
                          " after \"--\" is not a value: a value is a number or an "
                          "option's label");
      }
      stack.push_back(arg);
    } else if (arg == "--" && afterSubcommand) {
      valuesOnly = true;
    } else if (arg.starts_with("--") && arg.size() > 3 && arg.find('=') == arg.size() - 1) {
      stack.push_back(arg.substr(0, arg.size() - 1));
      stack.emplace_back();
    } else {
      afterSubcommand = afterSubcommand || (!arg.starts_with('-') && FindSubcommand(app, arg));
      stack.push_back(arg);
    }
  }
  std::ranges::reverse(stack);
  return stack;
}

// The subcommand whose help an error points to: the one that "args" name first, before any
// "--"; null for the top level, and for "help", whose errors are about the top level's commands.
const CLI::App* ChosenSubcommand(const CLI::App& app, const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") break;
    if (arg.starts_with('-')) continue;
    const CLI::App* command = FindSubcommand(app, arg);
    return command != nullptr && command->get_name() != "help" ? command : nullptr;
  }
  return nullptr;
}

// The first argument that is no option, before any "--", when it names no subcommand.
const std::string* UnknownSubcommand(const CLI::App& app, const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") break;
    if (arg.starts_with('-')) continue;
    return FindSubcommand(app, arg) == nullptr ? &arg : nullptr;
  }
  return nullptr;
}

// A sentence of CLI11's starts with a capital; the messages of the command line start small,
// unless the word is a name in capitals such as "NAME".
std::string AsMessage(std::string text) {
  const auto isCapital = [](char c) { return c >= 'A' && c <= 'Z'; };
  if (text.size() >= 2 && isCapital(text[0]) && !isCapital(text[1])) {
    text[0] = static_cast<char>(text[0] - 'A' + 'a');
  }
  return text;
}

// Writes "message" in the one form of every error, with the hint to the help of "command".
void ReportError(std::ostream& err, const std::string& message, const CLI::App* command) {
  err << kProgramName << ": " << message << '\n'
      << "Try '" << kProgramName << (command != nullptr ? " " + command->get_name() : "")
      << " --help' for more information.\n";
}

}  // namespace

int RunFrameCli(std::vector<std::string> args, std::istream& in, std::ostream& out,
                std::ostream& err) {
  TListCommands commands;
  AddBuiltInCommands(commands);
  TCliContext context{commands, in, out, err, {}};

  CLI::App app{
      "Composes RS485 command frames for the Veltram Brelvik transmitter and their\n"
      "escaped Loxone strings."};
  app.name(kProgramName);
  app.formatter(std::make_shared<TWrappingFormatter>());
  app.set_version_flag("--version", std::string(kProgramName) + " " + BRELVIK_VERSION);
  app.require_subcommand(1);
  SetupList(app, context);
  SetupShow(app, context);
  SetupEncode(app, context);
  SetupDecode(app, context);
  SetupTable(app, context);
  SetupHelp(app, context);
  app.footer(
      "Every command takes --help, e.g. 'brelvik-frame encode --help', and\n"
      "'brelvik-frame help encode' prints the same.\n\n"
      "Examples:\n"
      "  brelvik-frame list\n"
      "  brelvik-frame show CTRL_POSITION\n"
      "  brelvik-frame encode --loxone CTRL_POSITION 2 STOP\n"
      "  brelvik-frame decode "
      "'\\x7F\\xF2\\xFA\\xFF\\x00\\x00\\xFD\\xFF\\xFA\\xFF\\xFE\\x08\\x5D'\n"
      "  brelvik-frame table --slave \"05 00 03\" > installation.csv\n\n"
      "Exit codes:\n"
      "  0   done; decode: every string is valid\n"
      "  1   encode: the inputs cannot be encoded; decode: a string has a problem\n"
      "  2   usage error: unknown command or option, a value that is not allowed;\n"
      "      decode: a string cannot be read\n"
      "  74  the output cannot be written (stdout closed, disk full, broken pipe)");

  errno = 0;
  const CLI::App* chosen = ChosenSubcommand(app, args);
  int code = kExitSuccess;
  try {
    if (const std::string* unknown = UnknownSubcommand(app, args)) {
      throw TUsageError("unknown command " + Echo(*unknown));
    }
    try {
      app.parse(ArgumentStack(app, args));
    } catch (const CLI::ParseError& error) {
      const bool success = error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success);
      // Help and version are "errors" of CLI11 that print what was asked for and succeed.
      if (!success) throw TUsageError(AsMessage(error.what()));
      app.exit(error, out, err);
    }
    if (context.Action) code = context.Action();
  } catch (const TCliError& error) {
    ReportError(err, error.what(), chosen);
    code = error.ExitCode();
  }

  out.flush();
  if (!out) {
    const int cause = errno;
    ReportError(err,
                std::string("cannot write the output") +
                    (cause != 0 ? std::string(": ") + std::strerror(cause) : std::string()),
                chosen);
    return kExitWriteError;
  }
  return code;
}
