#include "FrameCommands.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iomanip>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string_view>

#include "OptionList.h"

using nlohmann::ordered_json;

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

// Reads a command-line value: an optional sign, then decimal digits or "0x" and hexadecimal
// digits, nothing else. Magnitudes beyond 64 bits are held at the int64 limits, which are out of
// every range anyway. Returns nothing for any other text.
std::optional<std::int64_t> ParseValue(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
  std::uint64_t magnitude = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (end != text.data() + text.size()) return std::nullopt;
  constexpr auto kLimit = std::uint64_t{std::numeric_limits<std::int64_t>::max()};
  if (error == std::errc::result_out_of_range || magnitude > kLimit) magnitude = kLimit;
  const auto value = static_cast<std::int64_t>(magnitude);
  return negative ? -value : value;
}

std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted.append(1, '"').append(text).append(1, '"');
  return quoted;
}

std::string DescribeOptions(const std::vector<TOptionItem>& items) {
  std::string text;
  for (const TOptionItem& item : items) {
    if (!text.empty()) text += ", ";
    text += std::to_string(item.Value) + " (" + item.Label + ")";
  }
  return text;
}

// Throws TUsageError unless "value" is one the parameter's editor lets the user choose.
void CheckAllowed(const TCommand& command, const TProperty& property, std::int64_t value) {
  const std::string subject = "value " + std::to_string(value) + " for " + Quoted(property.Name) +
                              " of " + command.MessageName;
  if (property.Type == kTypeList) {
    const std::vector<TOptionItem> items = ReadOptionItems(property.Options);
    const bool listed = std::ranges::any_of(
        items, [value](const TOptionItem& item) { return item.Value == value; });
    if (!listed) {
      throw TUsageError(subject + " is not one of its options: " + DescribeOptions(items) +
                        " (--unchecked passes it on anyway)");
    }
  } else if (property.Max > property.Min && (value < property.Min || value > property.Max)) {
    throw TUsageError(subject + " is out of range: allowed " + std::to_string(property.Min) +
                      " to " + std::to_string(property.Max) + " (--unchecked passes it on anyway)");
  }
}

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

}  // namespace

const TCommand& FindCommand(const TListCommands& commands, const std::string& name) {
  for (std::int32_t i = 0; i < commands.Count(); ++i) {
    if (commands.Items(i).MessageName == name) return commands.Items(i);
  }
  for (std::int32_t i = 0; i < commands.Count(); ++i) {
    if (EqualsIgnoringCase(commands.Items(i).MessageName, name)) return commands.Items(i);
  }
  throw TUsageError("unknown command " + Quoted(name) +
                    "; 'brelvik-frame list' shows the known commands");
}

void RunList(const TListCommands& commands, TOutputFormat format, std::ostream& out) {
  if (format == TOutputFormat::Json) {
    ordered_json list = ordered_json::array();
    for (std::int32_t i = 0; i < commands.Count(); ++i) {
      const TCommand& command = commands.Items(i);
      list.push_back({{"name", command.MessageName},
                      {"category", command.Category},
                      {"msg", command.Msg},
                      {"len", command.Len},
                      {"parameters", command.PropertyCount()}});
    }
    out << list.dump(2) << '\n';
    return;
  }
  out << std::left << std::setw(21) << "NAME" << std::setw(9) << "CATEGORY"
      << "MSG LEN PARAMETERS\n";
  for (std::int32_t i = 0; i < commands.Count(); ++i) {
    const TCommand& command = commands.Items(i);
    out << std::setw(21) << command.MessageName << std::setw(9) << command.Category << std::setw(4)
        << command.Msg << std::setw(4) << command.Len << command.PropertyCount() << '\n';
  }
}

void RunShow(const TListCommands& commands, const std::string& name, TOutputFormat format,
             std::ostream& out) {
  const TCommand& command = FindCommand(commands, name);
  if (format == TOutputFormat::Json) {
    ordered_json parameters = ordered_json::array();
    for (const auto& property : command.Properties) parameters.push_back(PropertyJson(*property));
    const ordered_json json = {{"name", command.MessageName},
                               {"category", command.Category},
                               {"msg", command.Msg},
                               {"len", command.Len},
                               {"description", command.Description},
                               {"parameters", std::move(parameters)}};
    out << json.dump(2) << '\n';
    return;
  }
  out << command.MessageName << " (" << command.Category << ")\n"
      << "Message code: " << command.Msg << "\nLength code:  " << command.Len << "\n\n"
      << command.Description << "\n\n";
  if (command.Properties.empty()) {
    out << "No parameters.\n";
    return;
  }
  out << "Parameters, in the order of their values:\n";
  int position = 1;
  for (const auto& property : command.Properties) {
    out << "  " << position++ << ". " << property->Name << ": ";
    if (property->Type == kTypeList) {
      const TParamValue start = StartValue(*property);
      out << "one of the values below, default "
          << (start ? std::to_string(*start) : std::string("none")) << '\n';
      for (const TOptionItem& item : ReadOptionItems(property->Options)) {
        out << "       " << item.ValueText << " = " << item.Label << '\n';
      }
    } else {
      out << "integer from " << property->Min << " to " << property->Max << ", default "
          << property->Default << '\n';
    }
  }
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
    const std::optional<std::int64_t> value = ParseValue(request.Values[index]);
    if (!value) {
      throw TUsageError(Quoted(request.Values[index]) + " for " + Quoted(property->Name) +
                        " is not a number: give decimal digits or 0x and hexadecimal digits");
    }
    if (!request.Unchecked) CheckAllowed(command, *property, *value);
    // Anything beyond 32 bits is held at the 32-bit limits: still out of the byte range.
    values.push_back(static_cast<std::int32_t>(
        std::clamp<std::int64_t>(*value, std::numeric_limits<std::int32_t>::min(),
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
      }
      out << json.dump(2) << '\n';
      break;
    }
  }
  if (success) return kExitSuccess;
  err << result.Status.value_or(std::string(kEncodeError)) << '\n';
  return kExitEncodeFailure;
}
