#include "CliSupport.h"

#include <cstdio>
#include <vector>

#include "OptionList.h"
#include "ParamValues.h"

using nlohmann::ordered_json;

namespace {

// How much of a typed argument a message shows.
constexpr std::size_t kEchoCharacters = 60;

const char* InputKey(TCalcInput input) {
  switch (input) {
    case TCalcInput::MessageCode:
      return "message_code";
    case TCalcInput::LengthCode:
      return "length_code";
    case TCalcInput::Host:
      return "host";
    case TCalcInput::Slave:
      return "slave";
    case TCalcInput::Parameter:
      return "parameter";
  }
  return "";
}

const char* FaultKey(TCalcFault fault) {
  switch (fault) {
    case TCalcFault::NotHexDigit:
      return "not_hex_digit";
    case TCalcFault::HalfByte:
      return "half_byte";
    case TCalcFault::NotOneByte:
      return "not_one_byte";
    case TCalcFault::ValueOutOfRange:
      return "value_out_of_range";
    case TCalcFault::NoChosenItem:
      return "no_chosen_item";
  }
  return "";
}

}  // namespace

std::string Echo(std::string_view text) {
  std::string echo = "\"";
  std::size_t characters = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    const bool startsCharacter = (byte & 0xC0) != 0x80;
    if (startsCharacter && characters++ == kEchoCharacters) {
      echo += "...";
      break;
    }
    switch (byte) {
      case '\t':
        echo += "\\t";
        break;
      case '\n':
        echo += "\\n";
        break;
      case '\r':
        echo += "\\r";
        break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          char escaped[5];
          std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
          echo += escaped;
        } else {
          echo += static_cast<char>(byte);
        }
    }
  }
  return echo + '"';
}

std::string EchoUnquoted(std::string_view text) {
  const std::string echo = Echo(text);
  return echo.substr(1, echo.size() - 2);
}

std::string JsonText(const ordered_json& json) {
  return json.dump(2, ' ', false, ordered_json::error_handler_t::replace) + '\n';
}

std::string DescribeAllowed(const TProperty& property) {
  if (property.Type == kTypeList) {
    std::string text;
    for (const TOptionItem& item : ReadOptionItems(property.Options)) {
      if (!text.empty()) text += ", ";
      text += std::to_string(item.Value) + " (" + item.Label + ")";
    }
    return "one of its options: " + text;
  }
  if (!BoundsCount(property.Min, property.Max)) return "any whole number";
  return "allowed " + std::to_string(property.Min) + " to " + std::to_string(property.Max);
}

std::string DescribeLabels(const TProperty& property) {
  std::string text;
  for (const TOptionItem& item : ReadOptionItems(property.Options)) {
    if (!text.empty()) text += ", ";
    text += item.Label;
  }
  return text;
}

std::int64_t ReadValueArgument(const TCommand& command, const TProperty& property,
                               std::string_view text, bool unchecked) {
  const std::string target = " for " + Echo(property.Name) + " of " + command.MessageName;
  const std::optional<std::int64_t> value = ReadParamValue(property, text);
  if (!value) {
    if (property.Type == kTypeList) {
      throw TUsageError(Echo(text) + target +
                        " is neither a number nor one of its labels: " + DescribeLabels(property));
    }
    throw TUsageError(Echo(text) + target +
                      " is not a number: give decimal digits or 0x and hexadecimal digits");
  }
  if (!unchecked && !IsAllowedValue(property, *value)) {
    // A number as typed, not as read: a huge one is shown whole, not held at a limit.
    throw TUsageError("value " + EchoUnquoted(text) + target +
                      (property.Type == kTypeList ? " is not " : " is out of range: ") +
                      DescribeAllowed(property) + " (--unchecked passes it on anyway)");
  }
  return *value;
}

ordered_json ParametersJson(const TCommand& command, std::span<const TParamValue> values) {
  ordered_json parameters = ordered_json::array();
  for (std::size_t i = 0; i < values.size() && i < command.Properties.size(); ++i) {
    const TProperty& property = *command.Properties[i];
    ordered_json parameter = {{"name", property.Name},
                              {"value", values[i] ? ordered_json(*values[i]) : ordered_json()}};
    if (property.Type == kTypeList) {
      const std::optional<std::string> label =
          values[i] ? OptionLabel(property, *values[i]) : std::nullopt;
      parameter["label"] = label ? ordered_json(*label) : ordered_json();
    }
    parameters.push_back(std::move(parameter));
  }
  return parameters;
}

std::string DescribeCalcError(const TCommand& command, std::string_view host,
                              std::string_view slave, const TCalcError& error,
                              std::span<const std::string> valueTexts) {
  std::string subject;
  switch (error.Input) {
    case TCalcInput::MessageCode:
      subject = "message code " + Echo(command.Msg) + " of " + command.MessageName;
      break;
    case TCalcInput::LengthCode:
      subject = "length code " + Echo(command.Len) + " of " + command.MessageName;
      break;
    case TCalcInput::Host:
      subject = "host " + Echo(host);
      break;
    case TCalcInput::Slave:
      subject = "slave " + Echo(slave);
      break;
    case TCalcInput::Parameter: {
      const auto index = static_cast<std::size_t>(error.Parameter);
      subject = "parameter " + std::to_string(error.Parameter + 1);
      if (index < command.Properties.size()) subject += " " + Echo(command.Properties[index]->Name);
      subject += " of " + command.MessageName;
      break;
    }
  }
  std::string fault = DescribeCalcFault(error);
  const auto index = static_cast<std::size_t>(error.Parameter);
  if (error.Fault == TCalcFault::ValueOutOfRange && index < valueTexts.size()) {
    // The value as typed rather than as read: a huge one is not shown held at a limit.
    const std::string read = "value " + std::to_string(error.Value);
    if (fault.starts_with(read))
      fault.replace(0, read.size(), "value " + EchoUnquoted(valueTexts[index]));
  }
  return subject + ": " + fault;
}

ordered_json CalcErrorJson(const TCommand& command, std::string_view host, std::string_view slave,
                           const TCalcError& error, std::span<const std::string> valueTexts) {
  ordered_json json = {{"input", InputKey(error.Input)}};
  if (error.Input == TCalcInput::Parameter) json["parameter"] = error.Parameter + 1;
  json["problem"] = FaultKey(error.Fault);
  switch (error.Fault) {
    case TCalcFault::NotHexDigit:
    case TCalcFault::HalfByte:
      json["position"] = error.Position;
      json["text"] = error.Text;
      break;
    case TCalcFault::NotOneByte:
      json["text"] = error.Text;
      break;
    case TCalcFault::ValueOutOfRange:
      json["value"] = error.Value;
      break;
    case TCalcFault::NoChosenItem:
      break;
  }
  json["message"] = DescribeCalcError(command, host, slave, error, valueTexts);
  return json;
}
