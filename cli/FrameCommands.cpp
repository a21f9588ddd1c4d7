#include "FrameCommands.h"

#include <algorithm>
#include <cctype>
#include <iomanip>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <span>

#include "OptionList.h"
#include "ParamValues.h"
#include "TableText.h"

using nlohmann::ordered_json;

namespace {

ordered_json PropertyJson(const TProperty& property) {
  ordered_json json = {{"name", property.Name}, {"type", property.Type}};
  if (property.Type == kTypeList) {
    ordered_json options = ordered_json::array();
    for (const TOptionItem& item : ReadOptionItems(property.Options)) {
      options.push_back({{"value", item.Value}, {"label", item.Label}});
    }
    json["options"] = std::move(options);
    json["default_item"] = property.Default;
  } else {
    json["min"] = property.Min;
    json["max"] = property.Max;
  }
  const TParamValue start = StartValue(property);
  json["default"] = start ? ordered_json(*start) : ordered_json(nullptr);
  return json;
}

// Warns when an address that was read gives other than the three bytes of the frame layout.
void WarnAboutAddressSize(std::string_view role, std::string_view text, TCalcInput input,
                          std::ostream& err) {
  const std::size_t count = ReadAddress(text, input).Bytes.size();
  if (count == kAddressByteCount) return;
  err << kProgramName << ": warning: " << role << ' ' << Echo(text) << " gives " << count
      << (count == 1 ? " byte" : " bytes") << "; the frame layout expects " << kAddressByteCount
      << '\n';
}

// " for "Action" of CTRL_POSITION": whose value a message is about.
std::string ValueTarget(const TCommand& command, const TProperty& property) {
  return " for " + Echo(property.Name) + " of " + command.MessageName;
}

// The parameters of "command" by position and name, for a message.
std::string ParameterList(const TCommand& command) {
  if (command.Properties.empty()) return command.MessageName + " has no parameters";
  std::string text = "the parameters of " + command.MessageName + " are";
  for (std::size_t i = 0; i < command.Properties.size(); ++i) {
    text += (i == 0 ? " " : ", ") + std::to_string(i + 1) + " " + Echo(command.Properties[i]->Name);
  }
  return text;
}

// Says what is wrong with --set "text", read for "command", as "reading" found.
std::string DescribeSetError(const TCommand& command, std::string_view text,
                             const TSetReading& reading) {
  const TSetError& error = *reading.Error;
  const std::string option = "--set " + Echo(text);
  if (error.Fault == TSetFault::NotParamEqualsValues) {
    return option + " is not PARAM=VALUES, e.g. --set \"RTS channel selection=0-3,8\"";
  }
  if (error.Fault == TSetFault::UnknownParameter) {
    return option + ": " + Echo(error.Text) + " is no parameter of " + command.MessageName + "; " +
           ParameterList(command);
  }
  const TProperty& property = *command.Properties[static_cast<std::size_t>(reading.Parameter)];
  const std::string target = ValueTarget(command, property);
  switch (error.Fault) {
    case TSetFault::EmptySet:
      return option + " gives no value" + target + ": give at least one, " +
             DescribeAllowed(property);
    case TSetFault::NotAValue:
      if (property.Type == kTypeList) {
        return Echo(error.Text) + target +
               " is neither a number, a range A-B nor one of its labels: " +
               DescribeLabels(property);
      }
      return Echo(error.Text) + target +
             " is neither a number nor a range A-B of numbers: give decimal digits or 0x and "
             "hexadecimal digits";
    case TSetFault::NotAllowed: {
      // A single number as typed; a value from a range as read, with its range.
      const std::string value =
          ReadNumberText(error.Text)
              ? "value " + EchoUnquoted(error.Text)
              : "value " + std::to_string(error.Value) + " of range " + Echo(error.Text);
      return value + target + (property.Type == kTypeList ? " is not " : " is out of range: ") +
             DescribeAllowed(property);
    }
    case TSetFault::BackwardRange:
      return "range " + Echo(error.Text) + target +
             " ends below its start: give the smaller value first";
    case TSetFault::TooManyValues:
      return option + " lists more than " + std::to_string(kMaxTableRows) + " values";
    case TSetFault::NotParamEqualsValues:
    case TSetFault::UnknownParameter:
      break;
  }
  return option + " cannot be read";
}

// Says why the table of "request" was refused.
std::string DescribeTableError(const TTableRequest& request, const TTableError& error) {
  if (error.Fault == TTableFault::TooManyRows) {
    return "the table would have " + std::to_string(error.RowCount) + " rows; at most " +
           std::to_string(kMaxTableRows) +
           " are allowed: give fewer values with --set, or "
           "fewer commands";
  }
  const TCommand& command = *error.Command;
  if (error.Fault == TTableFault::Calc) {
    return DescribeCalcError(command, request.Host, request.Slave, error.Calc);
  }
  const TProperty& property = *command.Properties[static_cast<std::size_t>(error.Parameter)];
  const std::string subject = "parameter " + std::to_string(error.Parameter + 1) + " " +
                              Echo(property.Name) + " of " + command.MessageName;
  if (error.Fault == TTableFault::EmptySet) {
    return subject + " has no value to take in a table: give its values with --set";
  }
  return "value " + std::to_string(error.Value) + " of " + subject +
         " is not allowed: " + DescribeAllowed(property);
}

// The field separator of "request", checked: one punctuation mark other than the double quote,
// which quotes fields, or a blank or a tab; and only for csv.
char TableDelimiter(const TTableRequest& request) {
  if (request.DelimiterGiven && request.Format != kTableFormatCsv) {
    throw TUsageError("--delimiter applies to --format csv only, not to " + request.Format);
  }
  const std::string& text = request.Delimiter;
  const bool allowed =
      text.size() == 1 && text[0] != '"' &&
      (text[0] == ' ' || text[0] == '\t' ||
       (text[0] > ' ' && text[0] < 0x7F && !std::isalnum(static_cast<unsigned char>(text[0]))));
  if (!allowed) {
    throw TUsageError("--delimiter " + Echo(text) +
                      " is not allowed: give one punctuation mark other than the double quote, "
                      "e.g. ';', or a blank or a tab");
  }
  return text[0];
}

ordered_json TableJson(std::span<const TTableRow> rows) {
  ordered_json json = ordered_json::array();
  for (const TTableRow& row : rows) {
    const std::vector<TParamValue> values(row.Values.begin(), row.Values.end());
    json.push_back({{"command", row.Command->MessageName},
                    {"category", row.Command->Category},
                    {"values", row.Values},
                    {"parameters", ParametersJson(*row.Command, values)},
                    {"data_to_send", row.Frame.DataToSend},
                    {"loxone", row.Frame.Loxone}});
  }
  return json;
}

}  // namespace

const TCommand& FindCommand(const TListCommands& commands, const std::string& name) {
  if (const TCommand* command = commands.Find(name)) return *command;
  throw TUsageError("unknown command " + Echo(name) +
                    "; 'brelvik-frame list' shows the known commands");
}

int RunList(const TListCommands& commands, const TListRequest& request, std::ostream& out) {
  if (request.Format == TOutputFormat::Json) {
    ordered_json list = ordered_json::array();
    for (std::int32_t i = 0; i < commands.Count(); ++i) {
      const TCommand& command = commands.Items(i);
      list.push_back({{"name", command.MessageName},
                      {"category", command.Category},
                      {"msg", command.Msg},
                      {"len", command.Len},
                      {"parameters", command.PropertyCount()}});
    }
    out << JsonText(list);
    return kExitSuccess;
  }
  out << std::left << std::setw(21) << "NAME" << std::setw(9) << "CATEGORY"
      << "MSG LEN PARAMETERS\n";
  for (std::int32_t i = 0; i < commands.Count(); ++i) {
    const TCommand& command = commands.Items(i);
    out << std::setw(21) << command.MessageName << std::setw(9) << command.Category << std::setw(4)
        << command.Msg << std::setw(4) << command.Len << command.PropertyCount() << '\n';
  }
  return kExitSuccess;
}

int RunShow(const TListCommands& commands, const TShowRequest& request, std::ostream& out) {
  const TCommand& command = FindCommand(commands, request.Name);
  if (request.Format == TOutputFormat::Json) {
    ordered_json parameters = ordered_json::array();
    for (const auto& property : command.Properties) parameters.push_back(PropertyJson(*property));
    const ordered_json json = {{"name", command.MessageName},
                               {"category", command.Category},
                               {"msg", command.Msg},
                               {"len", command.Len},
                               {"description", command.Description},
                               {"parameters", std::move(parameters)}};
    out << JsonText(json);
    return kExitSuccess;
  }
  out << command.MessageName << " (" << command.Category << ")\n"
      << "Message code: " << command.Msg << "\nLength code:  " << command.Len << "\n\n"
      << command.Description << "\n\n";
  if (command.Properties.empty()) {
    out << "No parameters.\n";
    return kExitSuccess;
  }
  out << "Parameters, in the order of their values:\n";
  int position = 1;
  for (const auto& property : command.Properties) {
    out << "  " << position++ << ". " << property->Name << ": ";
    if (property->Type == kTypeList) {
      const TParamValue start = StartValue(*property);
      out << "one of the values below, or its label, default "
          << (start ? std::to_string(*start) : std::string("none")) << '\n';
      for (const TOptionItem& item : ReadOptionItems(property->Options)) {
        out << "       " << item.ValueText << " = " << item.Label << '\n';
      }
    } else {
      out << "integer from " << property->Min << " to " << property->Max << ", default "
          << property->Default << '\n';
    }
  }
  return kExitSuccess;
}

std::vector<TParamValue> ResolveValues(const TCommand& command, const TEncodeRequest& request) {
  if (request.Values.size() > command.Properties.size()) {
    throw TUsageError(command.MessageName + " takes " + std::to_string(command.PropertyCount()) +
                      " value(s), " + std::to_string(request.Values.size()) + " given");
  }
  std::vector<TParamValue> values;
  values.reserve(command.Properties.size());
  for (const auto& property : command.Properties) {
    const std::size_t index = values.size();
    if (index >= request.Values.size()) {
      values.push_back(StartValue(*property));
      continue;
    }
    const std::int64_t value =
        ReadValueArgument(command, *property, request.Values[index], request.Unchecked);
    // Anything beyond 32 bits is held at the 32-bit limits: still outside the byte range.
    values.push_back(static_cast<std::int32_t>(
        std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max())));
  }
  return values;
}

int RunEncode(const TListCommands& commands, const TEncodeRequest& request, std::ostream& out,
              std::ostream& err) {
  const TCommand& command = FindCommand(commands, request.Name);
  const std::vector<TParamValue> values = ResolveValues(command, request);
  const TCalcResult result = CalcFrame(&command, request.Host, request.Slave, values);
  const bool success = result.Outcome == TCalcOutcome::Success;

  switch (request.Format) {
    case TOutputFormat::Plain:
      for (const std::string& line : result.Lines) out << line << '\n';
      break;
    case TOutputFormat::Loxone:
      if (success) out << result.Frame.Loxone << '\n';
      break;
    case TOutputFormat::Json: {
      ordered_json json = {{"command", command.MessageName}, {"ok", success}};
      if (success) {
        json["raw"] = result.Frame.Raw;
        json["actual"] = result.Frame.Actual;
        json["checksum"] = result.Frame.Checksum;
        json["data_to_send"] = result.Frame.DataToSend;
        json["loxone"] = result.Frame.Loxone;
      } else {
        json["error"] = result.Lines.front();
        json["reason"] =
            CalcErrorJson(command, request.Host, request.Slave, result.Error, request.Values);
      }
      json["host"] = request.Host;
      json["slave"] = request.Slave;
      ordered_json numbers = ordered_json::array();
      for (const TParamValue& value : values) {
        numbers.push_back(value ? ordered_json(*value) : ordered_json());
      }
      json["values"] = std::move(numbers);
      json["parameters"] = ParametersJson(command, values);
      json["bytes"] = result.Bytes;
      out << JsonText(json);
      break;
    }
  }
  if (success) {
    WarnAboutAddressSize("host", request.Host, TCalcInput::Host, err);
    WarnAboutAddressSize("slave", request.Slave, TCalcInput::Slave, err);
    return kExitSuccess;
  }
  err << result.Status.value_or(std::string(kEncodeError)) << '\n';
  throw TCliError(kExitEncodeFailure, DescribeCalcError(command, request.Host, request.Slave,
                                                        result.Error, request.Values));
}

std::vector<TTableCommand> ResolveTable(const TListCommands& commands,
                                        const TTableRequest& request) {
  std::vector<TTableCommand> entries;
  if (request.Names.empty()) {
    entries = DefaultTableCommands(commands, nullptr);
  } else {
    for (const std::string& name : request.Names) {
      const TCommand& command = FindCommand(commands, name);
      for (const TTableCommand& entry : entries) {
        if (entry.Command == &command) {
          throw TUsageError(command.MessageName +
                            " is named twice; each command gives its rows "
                            "once");
        }
      }
      entries.push_back(DefaultTableCommand(command));
    }
  }

  // Which --set gave the set of each parameter of each command, so that none is given twice.
  std::vector<std::vector<const std::string*>> givenBy(entries.size());
  for (std::size_t e = 0; e < entries.size(); ++e) {
    givenBy[e].assign(entries[e].Sets.size(), nullptr);
  }
  for (const std::string& text : request.Sets) {
    bool matched = false;
    for (std::size_t e = 0; e < entries.size(); ++e) {
      const TCommand& command = *entries[e].Command;
      const TSetReading reading = ReadTableSet(command, text);
      if (reading.ByPosition && entries.size() > 1) {
        throw TUsageError("--set " + Echo(text) +
                          ": a parameter given by its position needs exactly one command NAME; "
                          "give the parameter's name instead");
      }
      if (reading.Error && reading.Error->Fault == TSetFault::UnknownParameter &&
          entries.size() > 1) {
        continue;
      }
      if (reading.Error) {
        std::string message = DescribeSetError(command, text, reading);
        // A value that another command of the table takes may be none of this one's.
        const bool commandsDiffer = reading.Error->Fault == TSetFault::NotAValue ||
                                    reading.Error->Fault == TSetFault::NotAllowed;
        if (entries.size() > 1 && commandsDiffer) {
          message +=
              " (--set applies to every command of the table that has the parameter: "
              "name the commands to leave the others out)";
        }
        throw TUsageError(message);
      }
      const auto parameter = static_cast<std::size_t>(reading.Parameter);
      if (const std::string* earlier = givenBy[e][parameter]) {
        throw TUsageError("--set " + Echo(*earlier) + " and --set " + Echo(text) + " both give " +
                          Echo(command.Properties[parameter]->Name) + " of " + command.MessageName +
                          ": give all its values in one");
      }
      givenBy[e][parameter] = &text;
      entries[e].Sets[parameter] = reading.Values;
      matched = true;
    }
    if (!matched) {
      const std::size_t equals = text.find('=');
      throw TUsageError("--set " + Echo(text) + ": no command of the table has a parameter " +
                        Echo(text.substr(0, equals)) +
                        "; 'brelvik-frame show NAME' lists the parameters of a command");
    }
  }
  return entries;
}

int RunTable(const TListCommands& commands, const TTableRequest& request, std::ostream& out,
             std::ostream& err) {
  const char delimiter = TableDelimiter(request);
  const std::vector<TTableCommand> entries = ResolveTable(commands, request);
  const TTable table = CalcTable(entries, request.Host, request.Slave);
  if (table.Error) throw TUsageError(DescribeTableError(request, *table.Error));

  if (request.Format == kTableFormatJson) {
    out << JsonText(TableJson(table.Rows));
  } else {
    const TTableFormat format = request.Format == kTableFormatTsv        ? TTableFormat::Tsv
                                : request.Format == kTableFormatMarkdown ? TTableFormat::Markdown
                                                                         : TTableFormat::Csv;
    out << TableText(table.Rows, format, delimiter);
  }
  WarnAboutAddressSize("host", request.Host, TCalcInput::Host, err);
  WarnAboutAddressSize("slave", request.Slave, TCalcInput::Slave, err);
  return kExitSuccess;
}
