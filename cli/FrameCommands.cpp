#include "FrameCommands.h"

#include <algorithm>
#include <iomanip>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>

#include "OptionList.h"
#include "ParamValues.h"

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
