#include "FrameDecode.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "HexDigits.h"
#include "ParamValues.h"
#include "TextCompare.h"
#include "Utf8Text.h"

namespace {

// Lines of the decoded result: every value starts in column 15, as on the result area.
constexpr std::size_t kLabelWidth = 14;

// Blanks, tabs and line breaks, which may stand between the bytes of every form.
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// What may stand between hexadecimal pairs.
bool IsPairSeparator(char c) { return IsSpace(c) || c == ',' || c == ':'; }

TReadError ReadError(TReadFault fault, std::string_view text, std::size_t at) {
  TReadError error;
  error.Fault = fault;
  error.Position = CharacterPosition(text, at);
  if (at < text.size()) error.Text = CharacterAt(text, at);
  return error;
}

// Appends the bytes of "text" from "begin" to "end" read as a Loxone string; positions count over
// the whole text.
std::optional<TReadError> ReadLoxone(std::string_view text, std::size_t begin, std::size_t end,
                                     std::vector<std::uint8_t>& bytes) {
  for (std::size_t at = begin; at < end;) {
    if (IsSpace(text[at])) {
      ++at;
      continue;
    }
    if (text[at] != '\\') return ReadError(TReadFault::NotEscaped, text, at);
    if (at + 1 == end) return ReadError(TReadFault::EndsInsideByte, text, at);
    if (text[at + 1] != 'x' && text[at + 1] != 'X') {
      return ReadError(TReadFault::NotEscaped, text, at + 1);
    }
    if (at + 2 == end) {
      TReadError error = ReadError(TReadFault::EndsInsideByte, text, at);
      error.Text = std::string(text.substr(at, 2));
      return error;
    }
    const int high = HexDigitValue(text[at + 2]);
    if (high < 0) return ReadError(TReadFault::NotHexDigit, text, at + 2);
    const int low = at + 3 < end ? HexDigitValue(text[at + 3]) : -1;
    if (low < 0) {
      // A digit alone before the end, a blank or the next byte is half a byte.
      const bool alone = at + 3 == end || IsSpace(text[at + 3]) || text[at + 3] == '\\';
      return ReadError(alone ? TReadFault::HalfByte : TReadFault::NotHexDigit, text,
                       alone ? at + 2 : at + 3);
    }
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    at += 4;
  }
  return std::nullopt;
}

// Appends the bytes of "text" from "begin" to "end" read as hexadecimal pairs; positions count
// over the whole text.
std::optional<TReadError> ReadPairs(std::string_view text, std::size_t begin, std::size_t end,
                                    std::vector<std::uint8_t>& bytes) {
  for (std::size_t at = begin; at < end;) {
    if (IsPairSeparator(text[at])) {
      ++at;
      continue;
    }
    const int high = HexDigitValue(text[at]);
    if (high < 0) return ReadError(TReadFault::NotHexDigit, text, at);
    if (at + 1 == end || IsPairSeparator(text[at + 1])) {
      return ReadError(TReadFault::HalfByte, text, at);
    }
    const int low = HexDigitValue(text[at + 1]);
    if (low < 0) return ReadError(TReadFault::NotHexDigit, text, at + 1);
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    at += 2;
  }
  return std::nullopt;
}

// The part of a text that holds the bytes, and its form.
struct TSource {
  TDecodeForm Form;
  std::size_t Begin;
  std::size_t End;
};

// "label" without the blanks that pad it to the width of the result area.
constexpr std::string_view Trimmed(std::string_view label) {
  return label.substr(0, label.find_last_not_of(' ') + 1);
}

// Whether "line" starts with "label", letter case ignored.
bool StartsWithLabel(std::string_view line, std::string_view label) {
  return line.size() >= label.size() && EqualsIgnoringCase(line.substr(0, label.size()), label);
}

// Finds the bytes of "text": the "Data to send:" line of a block of the result area, else its
// "Loxone:" line, else the whole text.
TSource FindSource(std::string_view text) {
  constexpr std::string_view kDataToSend = Trimmed(kDataToSendLabel);
  constexpr std::string_view kLoxone = Trimmed(kLoxoneLabel);
  std::optional<TSource> loxoneLine;
  for (std::size_t lineBegin = 0; lineBegin < text.size();) {
    const std::size_t lineEnd = std::min(text.find('\n', lineBegin), text.size());
    std::size_t at = lineBegin;
    while (at < lineEnd && (text[at] == ' ' || text[at] == '\t')) ++at;
    const std::string_view line = text.substr(at, lineEnd - at);
    if (StartsWithLabel(line, kDataToSend)) {
      return {TDecodeForm::DataToSendLine, at + kDataToSend.size(), lineEnd};
    }
    if (!loxoneLine && StartsWithLabel(line, kLoxone)) {
      loxoneLine = TSource{TDecodeForm::LoxoneLine, at + kLoxone.size(), lineEnd};
    }
    lineBegin = lineEnd + 1;
  }
  if (loxoneLine) return *loxoneLine;
  return {TDecodeForm::Loxone, 0, text.size()};
}

// Reads the bytes of "source" in "text": a "Data to send:" line as hexadecimal pairs, a "Loxone:"
// line as a Loxone string, and a whole text as a Loxone string when its first character after
// blanks is "\", else as hexadecimal pairs.
std::optional<TReadError> ReadSource(std::string_view text, TSource& source,
                                     std::vector<std::uint8_t>& bytes) {
  std::size_t first = source.Begin;
  while (first < source.End && IsSpace(text[first])) ++first;
  if (source.Form == TDecodeForm::Loxone && (first == source.End || text[first] != '\\')) {
    source.Form = TDecodeForm::HexPairs;
  }
  const bool loxone = source.Form == TDecodeForm::Loxone || source.Form == TDecodeForm::LoxoneLine;
  bytes.reserve((source.End - first) / (loxone ? 4 : 2) + 1);
  return loxone ? ReadLoxone(text, first, source.End, bytes)
                : ReadPairs(text, first, source.End, bytes);
}

// The most bytes a checksum can take: the sum of the inverted bytes is held in 64 bits.
constexpr std::size_t kMaxChecksumSize = sizeof(std::uint64_t);

struct TSplit {
  std::size_t FrameSize;
  std::size_t ChecksumSize;
};

std::uint64_t SumOf(std::span<const std::uint8_t> bytes) {
  return std::accumulate(bytes.begin(), bytes.end(), std::uint64_t{0});
}

// Whether the checksum of the first "frameSize" bytes, which add up to "sum", follows them.
bool ChecksumFits(std::span<const std::uint8_t> bytes, std::size_t frameSize, std::uint64_t sum) {
  const TChecksum checksum = ChecksumBytes(sum);
  return frameSize + checksum.Size <= bytes.size() &&
         std::ranges::equal(checksum.View(), bytes.subspan(frameSize, checksum.Size));
}

// Finds where the frame ends and the checksum begins. First where the command's parameter count
// puts it ("expected", when the command is known), then from the end, where the last bytes are
// the checksum of all before them, then where a checksum with more bytes after it fits. When no
// checksum fits, the checksum is taken from the end, as many bytes as the checksum of the bytes
// before them would take: a byte mistyped then leaves the split where it was, and a byte lost
// shows as a parameter byte missing rather than as a checksum one byte short.
TSplit FindSplit(std::span<const std::uint8_t> bytes, std::optional<std::size_t> expected) {
  const std::size_t count = bytes.size();
  if (count < 2) return {count, 0};
  if (expected && *expected < count &&
      ChecksumFits(bytes, *expected, SumOf(bytes.first(*expected)))) {
    return {*expected, ChecksumBytes(SumOf(bytes.first(*expected))).Size};
  }

  const std::uint64_t total = SumOf(bytes);
  std::uint64_t tail = 0;
  for (std::size_t size = 1; size <= kMaxChecksumSize && size < count; ++size) {
    tail += bytes[count - size];
    if (ChecksumBytes(total - tail).Size == size &&
        ChecksumFits(bytes, count - size, total - tail)) {
      return {count - size, size};
    }
  }

  if (count > kFrameHeaderSize) {
    std::uint64_t sum = SumOf(bytes.first(kFrameHeaderSize));
    for (std::size_t frameSize = kFrameHeaderSize; frameSize < count; sum += bytes[frameSize++]) {
      if (ChecksumFits(bytes, frameSize, sum)) return {frameSize, ChecksumBytes(sum).Size};
    }
  }

  tail = 0;
  for (std::size_t size = 1; size <= kMaxChecksumSize && size < count; ++size) {
    tail += bytes[count - size];
    if (ChecksumBytes(total - tail).Size == size) return {count - size, size};
  }
  if (expected && *expected < count) return {*expected, count - *expected};
  return {count - 1, 1};
}

// The command whose message code is "code", or null.
const TCommand* FindByMessageCode(const TListCommands& commands, std::uint8_t code) {
  for (std::int32_t i = 0; i < commands.Count(); ++i) {
    const TCommand& command = commands.Items(i);
    const TCodeByte msg = ReadCode(command.Msg, TCalcInput::MessageCode);
    if (!msg.Error && msg.Byte == code) return &command;
  }
  return nullptr;
}

std::string HexByte(std::uint8_t byte) { return ByteGroupText(std::span(&byte, 1)); }

// "1 byte", "2 bytes".
std::string Count(std::size_t count, std::string_view noun) {
  return std::to_string(count) + ' ' + std::string(noun) + (count == 1 ? "" : "s");
}

// The address whose three bytes, last byte first, are the frame bytes from "first" on, inverted
// back; written in the order a user types them.
std::string AddressText(std::span<const std::uint8_t> frame, std::size_t first) {
  std::array<std::uint8_t, kAddressByteCount> address;
  for (std::size_t i = 0; i < kAddressByteCount; ++i) {
    address[i] = InvertByte(frame[first + kAddressByteCount - 1 - i]);
  }
  return ByteGroupText(address);
}

void AddProblem(TDecodeResult& result, TFrameProblemKind kind, std::string text) {
  result.Problems.push_back({kind, std::move(text)});
}

std::string WarningText(const TProperty& property, std::int32_t value) {
  std::string text = "value " + std::to_string(value) + " of \"" + property.Name + '"';
  if (property.Type == kTypeList) return text + " is none of its options";
  return text + " lies outside " + std::to_string(property.Min) + " to " +
         std::to_string(property.Max);
}

// Splits the bytes read into frame and checksum, decodes the frame and runs every check.
void DecodeBytes(const TListCommands& commands, TDecodeResult& result) {
  const std::span<const std::uint8_t> bytes(result.Bytes);
  result.MessageCode = InvertByte(bytes[0]);
  result.Command = FindByMessageCode(commands, result.MessageCode);
  const TCommand* command = result.Command;
  std::optional<std::size_t> expectedFrameSize;
  if (command) expectedFrameSize = kFrameHeaderSize + command->Properties.size();

  const TSplit split = FindSplit(bytes, expectedFrameSize);
  result.FrameSize = split.FrameSize;
  result.ChecksumSize = split.ChecksumSize;
  const std::span<const std::uint8_t> frame = bytes.first(split.FrameSize);
  result.ExpectedChecksum = ChecksumBytes(SumOf(frame));

  if (frame.size() < kFrameHeaderSize) {
    AddProblem(result, TFrameProblemKind::TooShort,
               "the frame has only " + Count(frame.size(), "byte") +
                   "; its codes and addresses alone take " + std::to_string(kFrameHeaderSize));
  }
  if (!command) {
    AddProblem(result, TFrameProblemKind::UnknownMessageCode,
               "unknown message code " + HexByte(result.MessageCode) + ": no command has it");
  }
  if (frame.size() >= 2) {
    result.LengthCode = InvertByte(frame[1]);
    if (command) {
      const TCodeByte len = ReadCode(command->Len, TCalcInput::LengthCode);
      if (!len.Error) result.ExpectedLengthCode = len.Byte;
      if (result.LengthCode != result.ExpectedLengthCode) {
        AddProblem(result, TFrameProblemKind::WrongLengthCode,
                   "length code " + HexByte(*result.LengthCode) + ", but " + command->MessageName +
                       " has " + command->Len);
      }
    }
  }
  if (frame.size() >= 3 && InvertByte(frame[2]) != kConstantByte) {
    AddProblem(result, TFrameProblemKind::WrongThirdByte,
               "third byte " + HexByte(InvertByte(frame[2])) + ", but every frame has " +
                   HexByte(kConstantByte) + " there");
  }
  constexpr std::size_t kHostAt = 3;
  constexpr std::size_t kSlaveAt = kHostAt + kAddressByteCount;
  if (frame.size() >= kHostAt + kAddressByteCount) result.Host = AddressText(frame, kHostAt);
  if (frame.size() >= kSlaveAt + kAddressByteCount) result.Slave = AddressText(frame, kSlaveAt);

  if (frame.size() > kFrameHeaderSize) {
    const std::size_t count = frame.size() - kFrameHeaderSize;
    result.Values.reserve(count);
    result.Parameters.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      TDecodedParameter parameter;
      parameter.Value = InvertByte(frame[kFrameHeaderSize + i]);
      if (command && i < command->Properties.size()) {
        const TProperty& property = *command->Properties[i];
        parameter.Property = &property;
        parameter.Allowed = IsAllowedValue(property, parameter.Value);
        if (property.Type == kTypeList) parameter.Label = OptionLabel(property, parameter.Value);
        if (!parameter.Allowed) {
          result.Warnings.push_back({i, WarningText(property, parameter.Value)});
        }
      }
      result.Values.emplace_back(parameter.Value);
      result.Parameters.push_back(std::move(parameter));
    }
  }
  if (command && frame.size() >= kFrameHeaderSize &&
      result.Values.size() != command->Properties.size()) {
    AddProblem(result, TFrameProblemKind::WrongParameterCount,
               Count(result.Values.size(), "parameter byte") + ", but " + command->MessageName +
                   " takes " + std::to_string(command->Properties.size()));
  }

  const std::span<const std::uint8_t> found = result.FoundChecksum();
  if (!std::ranges::equal(found, result.ExpectedChecksum.View())) {
    const std::string expected = ByteGroupText(result.ExpectedChecksum.View());
    AddProblem(result, TFrameProblemKind::WrongChecksum,
               found.empty() ? "no checksum after the frame; its bytes add up to " + expected
                             : "checksum " + ByteGroupText(found) +
                                   ", but the frame's bytes add up to " + expected);
  }
  const std::span<const std::uint8_t> extra = result.ExtraBytes();
  if (!extra.empty()) {
    AddProblem(result, TFrameProblemKind::ExtraBytes,
               Count(extra.size(), "byte") + " after the checksum (" + ByteGroupText(extra) +
                   "): the controller's own checksum option may be switched on");
  }
}

std::string Line(std::string_view label, std::string_view value) {
  std::string line(label);
  line.resize(std::max(kLabelWidth, label.size() + 1), ' ');
  line.append(value);
  return line;
}

}  // namespace

TDecodeResult DecodeFrame(const TListCommands& commands, std::string_view text) {
  TDecodeResult result;
  TSource source = FindSource(text);
  std::optional<TReadError> error = ReadSource(text, source, result.Bytes);
  result.Form = source.Form;
  if (!error && result.Bytes.empty()) error = TReadError{};
  if (error) {
    result.Error = std::move(error);
    result.Bytes.clear();
    return result;
  }
  DecodeBytes(commands, result);
  return result;
}

std::string DescribeReadError(const TReadError& error) {
  constexpr std::string_view kLoxoneRule =
      ": a Loxone string gives every byte as \\x and two hexadecimal digits";
  const std::string at = '"' + error.Text + "\" at position " + std::to_string(error.Position);
  switch (error.Fault) {
    case TReadFault::NoBytes:
      return "no bytes to read: give a Loxone string, hexadecimal pairs or lines of the result "
             "area";
    case TReadFault::NotHexDigit:
      return at + " is not a hexadecimal digit";
    case TReadFault::HalfByte:
      return at + " is half a byte: every byte takes two hexadecimal digits";
    case TReadFault::NotEscaped:
      return at + std::string(kLoxoneRule);
    case TReadFault::EndsInsideByte:
      return at + " ends the text inside a byte" + std::string(kLoxoneRule);
  }
  return {};
}

std::vector<std::string> DecodeLines(const TDecodeResult& result) {
  std::vector<std::string> lines;
  if (!result.Readable()) {
    lines.push_back(Line("Verdict:", "unreadable: " + DescribeReadError(*result.Error)));
    return lines;
  }
  const TCommand* command = result.Command;
  lines.push_back(Line(
      "Command:", command ? command->MessageName + " (" + command->Category + ")" : "unknown"));
  lines.push_back(Line("Message code:", HexByte(result.MessageCode)));
  if (result.LengthCode) {
    std::string length = HexByte(*result.LengthCode);
    if (command) {
      length += " (expected " +
                (result.ExpectedLengthCode ? HexByte(*result.ExpectedLengthCode) : command->Len) +
                ")";
    }
    lines.push_back(Line("Length code:", length));
  }
  lines.push_back(Line("Host:", result.Host.value_or("missing")));
  lines.push_back(Line("Slave:", result.Slave.value_or("missing")));

  const std::size_t parameterCount = command ? command->Properties.size() : 0;
  const bool hasParameterRegion = result.FrameSize >= kFrameHeaderSize;
  for (std::size_t i = 0;
       i < std::max(result.Parameters.size(), hasParameterRegion ? parameterCount : std::size_t{0});
       ++i) {
    const std::string label = "Parameter " + std::to_string(i + 1) + ':';
    if (i >= result.Parameters.size()) {
      lines.push_back(Line(label, command->Properties[i]->Name + ": missing"));
      continue;
    }
    const TDecodedParameter& parameter = result.Parameters[i];
    std::string value = std::to_string(parameter.Value);
    if (parameter.Label) value += " (" + *parameter.Label + ')';
    if (parameter.Property) {
      value = parameter.Property->Name + " = " + value;
    } else if (command) {
      value += " (not a parameter of " + command->MessageName + ')';
    }
    lines.push_back(Line(label, value));
  }

  const std::span<const std::uint8_t> found = result.FoundChecksum();
  lines.push_back(Line("Checksum:", (found.empty() ? std::string("none") : ByteGroupText(found)) +
                                        " (expected " +
                                        ByteGroupText(result.ExpectedChecksum.View()) + ")"));
  if (!result.ExtraBytes().empty()) {
    lines.push_back(Line("Extra bytes:", ByteGroupText(result.ExtraBytes())));
  }
  lines.push_back(Line("Verdict:", result.Valid()
                                       ? std::string("valid")
                                       : "not valid: " + Count(result.Problems.size(), "problem")));
  for (const TFrameProblem& problem : result.Problems)
    lines.push_back(Line("Problem:", problem.Text));
  for (const TDecodeWarning& warning : result.Warnings)
    lines.push_back(Line("Warning:", warning.Text));
  return lines;
}
