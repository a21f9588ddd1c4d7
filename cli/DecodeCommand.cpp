#include "DecodeCommand.h"

#include <array>
#include <istream>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string_view>
#include <vector>

#include "CliSupport.h"
#include "FrameDecode.h"
#include "HexDigits.h"
#include "TextCompare.h"

using nlohmann::ordered_json;

namespace {

// One string to decode and where it came from.
struct TDecodeInput {
  std::string Text;
  std::size_t Line = 0;  // Its first line on standard input, counted from 1; 0 for TEXT.
};

// "label" up to its colon, without the blanks that pad it.
std::string_view LabelWord(std::string_view label) { return label.substr(0, label.find(':') + 1); }

// The place of "line" in a block of the result area: 1 for the header line, 2 to 6 for the lines
// labelled "Raw Data:" to "Loxone:"; 0 for any other line.
int ResultLinePlace(std::string_view line) {
  line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
  const std::string_view header = kHeaderLine.substr(kHeaderLine.find_first_not_of(' '));
  if (line.starts_with(header)) return 1;
  const std::array labels = {kRawLabel, kActualLabel, kChecksumLabel, kDataToSendLabel,
                             kLoxoneLabel};
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const std::string_view word = LabelWord(labels[i]);
    if (line.size() >= word.size() && EqualsIgnoringCase(line.substr(0, word.size()), word)) {
      return static_cast<int>(i) + 2;
    }
  }
  return 0;
}

// Reads one string per non-empty line of "in". The lines of a block of the result area, as
// encode prints it, stay together as one string: consecutive lines of the block in their order.
std::vector<TDecodeInput> ReadInputs(std::istream& in) {
  std::vector<TDecodeInput> inputs;
  int lastPlace = 0;  // The place of the line before in a block of the result area, or 0.
  std::string line;
  for (std::size_t number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) {
      lastPlace = 0;
      continue;
    }
    const int place = ResultLinePlace(line);
    if (place > 0 && lastPlace > 0 && place > lastPlace) {
      inputs.back().Text += '\n' + line;
    } else {
      inputs.push_back({line, number});
    }
    lastPlace = place;
  }
  return inputs;
}

// Whether "text" looks like a Loxone string that lost its backslashes to the shell, as an
// unquoted argument does: "x7FxF2...".
bool LostItsBackslashes(std::string_view text) {
  return text.size() >= 3 && (text[0] == 'x' || text[0] == 'X') && HexDigitValue(text[1]) >= 0 &&
         HexDigitValue(text[2]) >= 0;
}

// What the user gave, for a message: the line of standard input, or the text as typed.
std::string Subject(const TDecodeInput& input) {
  return (input.Line > 0 ? "line " + std::to_string(input.Line) + ' ' : std::string()) +
         Echo(input.Text);
}

// What is wrong with the text of "input", with a hint when the shell has changed it.
std::string ReadErrorText(const TDecodeInput& input, const TReadError& error) {
  std::string text = DescribeReadError(error);
  if (input.Line == 0 && LostItsBackslashes(input.Text)) {
    text +=
        "; the shell drops the backslashes of an unquoted Loxone string: put it in single "
        "quotes";
  }
  return text;
}

const char* FormKey(TDecodeForm form) {
  switch (form) {
    case TDecodeForm::Loxone:
      return "loxone";
    case TDecodeForm::HexPairs:
      return "hex_pairs";
    case TDecodeForm::DataToSendLine:
      return "data_to_send_line";
    case TDecodeForm::LoxoneLine:
      return "loxone_line";
  }
  return "";
}

// A text of byte groups, or null when there are no bytes.
ordered_json BytesJson(std::span<const std::uint8_t> bytes) {
  return bytes.empty() ? ordered_json() : ordered_json(ByteGroupText(bytes));
}

ordered_json ByteJson(std::optional<std::uint8_t> byte) {
  return byte ? BytesJson(std::span(&*byte, 1)) : ordered_json();
}

ordered_json TextJson(const std::optional<std::string>& text) {
  return text ? ordered_json(*text) : ordered_json();
}

ordered_json ResultJson(const TDecodeResult& result, const TDecodeInput& input, bool fromStdin) {
  ordered_json json;
  if (fromStdin) json["line"] = input.Line;
  json["valid"] = result.Valid();
  if (!result.Readable()) {
    json["error"] = ReadErrorText(input, *result.Error);
    if (result.Error->Position > 0) {
      json["position"] = result.Error->Position;
      json["text"] = result.Error->Text;
    }
    return json;
  }
  const TCommand* command = result.Command;
  json["form"] = FormKey(result.Form);
  json["command"] = command ? ordered_json(command->MessageName) : ordered_json();
  json["category"] = command ? ordered_json(command->Category) : ordered_json();
  json["message_code"] = ByteJson(result.MessageCode);
  json["length_code"] = ByteJson(result.LengthCode);
  json["length_code_expected"] = ByteJson(result.ExpectedLengthCode);
  json["host"] = TextJson(result.Host);
  json["slave"] = TextJson(result.Slave);
  ordered_json values = ordered_json::array();
  for (const TDecodedParameter& parameter : result.Parameters) values.push_back(parameter.Value);
  json["values"] = std::move(values);
  json["parameters"] =
      command ? ParametersJson(*command, result.Values) : ordered_json(ordered_json::array());
  json["checksum_found"] = BytesJson(result.FoundChecksum());
  json["checksum_expected"] = BytesJson(result.ExpectedChecksum.View());
  json["extra_bytes"] = BytesJson(result.ExtraBytes());
  ordered_json problems = ordered_json::array();
  for (const TFrameProblem& problem : result.Problems) problems.push_back(problem.Text);
  json["problems"] = std::move(problems);
  ordered_json warnings = ordered_json::array();
  for (const TDecodeWarning& warning : result.Warnings) warnings.push_back(warning.Text);
  json["warnings"] = std::move(warnings);
  json["bytes"] = result.Bytes;
  return json;
}

}  // namespace

int RunDecode(const TListCommands& commands, const TDecodeRequest& request, std::istream& in,
              std::ostream& out, std::ostream& err) {
  const bool fromStdin = !request.Text || *request.Text == "-";
  const std::vector<TDecodeInput> inputs =
      fromStdin ? ReadInputs(in) : std::vector<TDecodeInput>{{*request.Text, 0}};
  if (inputs.empty()) {
    throw TUsageError("standard input holds no string to decode: give one per line, or TEXT");
  }
  const bool several = inputs.size() > 1;

  ordered_json array = ordered_json::array();
  std::size_t unreadable = 0;
  std::string lastError;
  int code = kExitSuccess;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const TDecodeInput& input = inputs[i];
    const TDecodeResult result = DecodeFrame(commands, input.Text);
    if (!result.Readable()) {
      ++unreadable;
      lastError = Subject(input) + ": " + ReadErrorText(input, *result.Error);
      if (several) err << kProgramName << ": " << lastError << '\n';
    } else if (!result.Valid()) {
      code = kExitStringProblem;
    }

    if (request.Format == TOutputFormat::Json) {
      array.push_back(ResultJson(result, input, fromStdin));
      continue;
    }
    if (i > 0) out << '\n';
    if (several) {
      std::string label = "Line " + std::to_string(input.Line) + ':';
      label.resize(std::max<std::size_t>(label.size() + 1, 14), ' ');
      out << label << Echo(input.Text) << '\n';
    }
    for (const std::string& line : DecodeLines(result)) out << line << '\n';
  }
  if (request.Format == TOutputFormat::Json) out << JsonText(several ? array : array.front());

  if (unreadable == 0) return code;
  if (!several) throw TCliError(kExitUsage, lastError);
  throw TCliError(kExitUsage, std::to_string(unreadable) + " of " + std::to_string(inputs.size()) +
                                  " strings cannot be read");
}
