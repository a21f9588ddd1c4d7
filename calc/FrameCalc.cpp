#include "FrameCalc.h"

#include <array>

#include "HexDigits.h"
#include "Utf8Text.h"

namespace {

constexpr char kUpperHexDigits[] = "0123456789ABCDEF";

// One byte of the frame: its two digits as they stand in the raw text, and its value.
struct TGroup {
  std::array<char, 2> Text;
  std::uint8_t Value;
};

// The third byte of every frame.
constexpr TGroup kConstantGroup = {{'0', '5'}, kConstantByte};

// The byte of the hexadecimal digits "high" and "low", which the caller has checked.
TGroup DigitsGroup(char high, char low) {
  return {{high, low}, static_cast<std::uint8_t>(HexDigitValue(high) * 16 + HexDigitValue(low))};
}

TCalcError NotHexDigitError(TCalcInput input, std::string_view text, std::size_t at) {
  TCalcError error;
  error.Input = input;
  error.Fault = TCalcFault::NotHexDigit;
  error.Position = CharacterPosition(text, at);
  error.Text = CharacterAt(text, at);
  return error;
}

// The error of a code of the command ("input" is MessageCode or LengthCode), which must be
// exactly two hexadecimal digits; none when it is.
std::optional<TCalcError> CodeError(std::string_view code, TCalcInput input) {
  for (std::size_t i = 0; i < code.size(); ++i) {
    if (HexDigitValue(code[i]) < 0) return NotHexDigitError(input, code, i);
  }
  if (code.size() != 2) {
    TCalcError error;
    error.Input = input;
    error.Fault = TCalcFault::NotOneByte;
    error.Text = std::string(code);
    return error;
  }
  return std::nullopt;
}

// Appends a code of the command ("input" is MessageCode or LengthCode).
std::optional<TCalcError> AppendCode(std::string_view code, TCalcInput input,
                                     std::vector<TGroup>& groups) {
  if (auto error = CodeError(code, input)) return error;
  groups.push_back(DigitsGroup(code[0], code[1]));
  return std::nullopt;
}

// Controls and blanks, which surround an address text without being part of it.
bool IsSpaceOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Appends the bytes of an address text, last byte first. Controls and blanks at either end are
// trimmed; what is left is cut at blanks into runs of digits, and each run must hold whole bytes:
// a run of odd length is half a byte, refused rather than joined with a digit of the next run.
std::optional<TCalcError> AppendAddress(std::string_view address, TCalcInput input,
                                        std::vector<TGroup>& groups) {
  std::size_t first = 0;
  std::size_t last = address.size();
  while (first < last && IsSpaceOrControl(address[first])) ++first;
  while (last > first && IsSpaceOrControl(address[last - 1])) --last;

  for (std::size_t at = first; at < last;) {
    if (address[at] == ' ') {
      ++at;
      continue;
    }
    const std::size_t runStart = at;
    for (; at < last && address[at] != ' '; ++at) {
      if (HexDigitValue(address[at]) < 0) return NotHexDigitError(input, address, at);
    }
    if ((at - runStart) % 2 != 0) {
      TCalcError error;
      error.Input = input;
      error.Fault = TCalcFault::HalfByte;
      error.Position = CharacterPosition(address, runStart);
      error.Text = std::string(address.substr(runStart, at - runStart));
      return error;
    }
  }

  // Every run holds whole bytes, so pairing the digits from the right end pairs them within
  // their runs.
  char pair[2];
  std::size_t filled = 0;
  for (std::size_t at = last; at > first; --at) {
    const char c = address[at - 1];
    if (c == ' ') continue;
    pair[1 - filled] = c;
    if (++filled == 2) {
      groups.push_back(DigitsGroup(pair[0], pair[1]));
      filled = 0;
    }
  }
  return std::nullopt;
}

void AppendHexByte(std::string& text, std::uint8_t value) {
  text.push_back(kUpperHexDigits[value >> 4]);
  text.push_back(kUpperHexDigits[value & 0x0F]);
}

std::string Concat(std::string_view a, std::string_view b) {
  std::string text;
  text.reserve(a.size() + b.size());
  text.append(a).append(b);
  return text;
}

TCalcResult FailureResult(std::string description, TCalcError error) {
  TCalcResult result;
  result.Outcome = TCalcOutcome::Failure;
  result.Lines.emplace_back(kInvalidSettings);
  result.Description = std::move(description);
  result.Status = std::string(kEncodeError);
  result.Error = std::move(error);
  return result;
}

// The first error of the frame's inputs, appending their bytes to "groups" as they are read.
std::optional<TCalcError> AppendInputs(const TCommand& command, std::string_view host,
                                       std::string_view slave, std::span<const TParamValue> values,
                                       std::vector<TGroup>& groups) {
  if (auto error = AppendCode(command.Msg, TCalcInput::MessageCode, groups)) return error;
  if (auto error = AppendCode(command.Len, TCalcInput::LengthCode, groups)) return error;
  groups.push_back(kConstantGroup);
  if (auto error = AppendAddress(host, TCalcInput::Host, groups)) return error;
  if (auto error = AppendAddress(slave, TCalcInput::Slave, groups)) return error;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!values[i] || *values[i] < 0 || *values[i] > 0xFF) {
      TCalcError error;
      error.Input = TCalcInput::Parameter;
      error.Parameter = static_cast<std::int32_t>(i);
      error.Fault = values[i] ? TCalcFault::ValueOutOfRange : TCalcFault::NoChosenItem;
      error.Value = values[i].value_or(0);
      return error;
    }
    const auto byte = static_cast<std::uint8_t>(*values[i]);
    groups.push_back({{kUpperHexDigits[byte >> 4], kUpperHexDigits[byte & 0x0F]}, byte});
  }
  return std::nullopt;
}

}  // namespace

TCalcResult CalcFrame(const TCommand* command, std::string_view host, std::string_view slave,
                      std::span<const TParamValue> values) {
  if (command == nullptr) {
    TCalcResult result;
    result.Lines.emplace_back(kSelectCommand);
    result.Description = std::string(kNoCommandDescription);
    return result;
  }

  // Message code, length code, the constant byte, host and slave last byte first, parameters.
  std::vector<TGroup> groups;
  groups.reserve(kFrameHeaderSize + values.size() + (host.size() + slave.size()) / 2);
  if (auto error = AppendInputs(*command, host, slave, values, groups)) {
    return FailureResult(command->Description, std::move(*error));
  }

  TCalcResult result;
  result.Outcome = TCalcOutcome::Success;
  result.Description = command->Description;
  result.Status = std::string();
  TFrameTexts& frame = result.Frame;

  std::vector<std::uint8_t> toSend;
  toSend.reserve(groups.size() + 2);
  std::uint64_t sum = 0;
  frame.Raw.reserve(groups.size() * 3);
  for (const TGroup& group : groups) {
    if (!frame.Raw.empty()) frame.Raw.push_back(' ');
    frame.Raw.append(group.Text.data(), group.Text.size());
    const std::uint8_t inverted = InvertByte(group.Value);
    toSend.push_back(inverted);
    sum += inverted;
  }
  const std::size_t frameSize = toSend.size();
  const TChecksum checksum = ChecksumBytes(sum);
  const std::span<const std::uint8_t> checksumBytes = checksum.View();
  toSend.insert(toSend.end(), checksumBytes.begin(), checksumBytes.end());
  const std::span<const std::uint8_t> bytes(toSend);
  frame.Actual = ByteGroupText(bytes.first(frameSize));
  frame.Checksum = ByteGroupText(bytes.subspan(frameSize));
  frame.DataToSend = ByteGroupText(bytes);
  frame.Loxone.reserve(toSend.size() * 4);
  for (std::uint8_t byte : toSend) {
    frame.Loxone.append("\\x");
    AppendHexByte(frame.Loxone, byte);
  }

  result.Lines.reserve(6);
  result.Lines.emplace_back(kHeaderLine);
  result.Lines.push_back(Concat(kRawLabel, frame.Raw));
  result.Lines.push_back(Concat(kActualLabel, frame.Actual));
  result.Lines.push_back(Concat(kChecksumLabel, frame.Checksum));
  result.Lines.push_back(Concat(kDataToSendLabel, frame.DataToSend));
  result.Lines.push_back(Concat(kLoxoneLabel, frame.Loxone));
  result.Bytes = std::move(toSend);
  result.FrameSize = frameSize;
  return result;
}

TChecksum ChecksumBytes(std::uint64_t sum) {
  TChecksum checksum;
  int shift = 0;
  while (shift < 56 && (sum >> (shift + 8)) != 0) shift += 8;
  for (; shift >= 0; shift -= 8) {
    checksum.Bytes[checksum.Size++] = static_cast<std::uint8_t>(sum >> shift);
  }
  return checksum;
}

std::string ByteGroupText(std::span<const std::uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size() * 3);
  for (std::uint8_t byte : bytes) {
    if (!text.empty()) text.push_back(' ');
    AppendHexByte(text, byte);
  }
  return text;
}

TCodeByte ReadCode(std::string_view code, TCalcInput input) {
  TCodeByte read;
  read.Error = CodeError(code, input);
  if (!read.Error) read.Byte = DigitsGroup(code[0], code[1]).Value;
  return read;
}

TAddressBytes ReadAddress(std::string_view text, TCalcInput input) {
  std::vector<TGroup> groups;
  TAddressBytes address;
  address.Error = AppendAddress(text, input, groups);
  if (address.Error) return address;
  address.Bytes.reserve(groups.size());
  for (auto it = groups.rbegin(); it != groups.rend(); ++it) address.Bytes.push_back(it->Value);
  return address;
}

std::string DescribeCalcFault(const TCalcError& error) {
  const std::string quoted = '"' + error.Text + '"';
  switch (error.Fault) {
    case TCalcFault::NotHexDigit:
      return quoted + " at position " + std::to_string(error.Position) +
             " is not a hexadecimal digit";
    case TCalcFault::HalfByte:
      return quoted + " at position " + std::to_string(error.Position) +
             " is half a byte: every byte takes two hexadecimal digits";
    case TCalcFault::NotOneByte:
      return quoted + " is not one byte of two hexadecimal digits";
    case TCalcFault::ValueOutOfRange:
      return "value " + std::to_string(error.Value) + " does not fit in a byte (0 to 255)";
    case TCalcFault::NoChosenItem:
      return "no option is chosen";
  }
  return {};
}
