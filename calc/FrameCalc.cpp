#include "FrameCalc.h"

#include <array>

#include "HexDigits.h"

namespace {

// Every value on a result line starts in column 15, after a label padded to 14 characters.
constexpr std::string_view kRawLabel = "Raw Data:     ";
constexpr std::string_view kActualLabel = "Actual Data:  ";
constexpr std::string_view kChecksumLabel = "Checksum:     ";
constexpr std::string_view kDataToSendLabel = "Data to send: ";
constexpr std::string_view kLoxoneLabel = "Loxone:       ";

// The third byte of every frame.
constexpr std::string_view kConstantByte = "05";

constexpr char kUpperHexDigits[] = "0123456789ABCDEF";

// One byte of the frame: its two digits as they stand in the raw text, and its value.
struct TGroup {
  std::array<char, 2> Text;
  std::uint8_t Value;
};

// Appends the two characters "text[0]", "text[1]" as one byte; false unless both are
// hexadecimal digits.
bool AppendGroup(std::string_view text, std::vector<TGroup>& groups) {
  if (text.size() != 2) return false;
  const int high = HexDigitValue(text[0]);
  const int low = HexDigitValue(text[1]);
  if (high < 0 || low < 0) return false;
  groups.push_back({{text[0], text[1]}, static_cast<std::uint8_t>(high * 16 + low)});
  return true;
}

// Controls and blanks, which surround an address text without being part of it.
bool IsSpaceOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Appends the bytes of an address text, last byte first. Blanks anywhere and control characters
// at either end are ignored; an odd number of remaining characters leaves a half byte, which is
// refused rather than guessed.
bool AppendAddress(std::string_view address, std::vector<TGroup>& groups) {
  while (!address.empty() && IsSpaceOrControl(address.front())) address.remove_prefix(1);
  while (!address.empty() && IsSpaceOrControl(address.back())) address.remove_suffix(1);
  std::size_t digitCount = 0;
  for (char c : address) digitCount += c != ' ';
  if (digitCount % 2 != 0) return false;

  // Pairs are cut from the right end, so the walk goes backwards: low digit first.
  char pair[2];
  std::size_t filled = 0;
  for (auto it = address.rbegin(); it != address.rend(); ++it) {
    if (*it == ' ') continue;
    pair[1 - filled] = *it;
    if (++filled == 2) {
      if (!AppendGroup(std::string_view(pair, 2), groups)) return false;
      filled = 0;
    }
  }
  return true;
}

void AppendHexByte(std::string& text, std::uint8_t value) {
  text.push_back(kUpperHexDigits[value >> 4]);
  text.push_back(kUpperHexDigits[value & 0x0F]);
}

// Appends "sum" to "bytes" most significant byte first, in as many bytes as it needs and at
// least one.
void AppendChecksumBytes(std::uint64_t sum, std::vector<std::uint8_t>& bytes) {
  int shift = 0;
  while (shift < 56 && (sum >> (shift + 8)) != 0) shift += 8;
  for (; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(sum >> shift));
}

// Joins the bytes as two upper-case digits each, one blank between them.
std::string ByteGroupText(std::span<const std::uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size() * 3);
  for (std::uint8_t byte : bytes) {
    if (!text.empty()) text.push_back(' ');
    AppendHexByte(text, byte);
  }
  return text;
}

std::string Concat(std::string_view a, std::string_view b) {
  std::string text;
  text.reserve(a.size() + b.size());
  text.append(a).append(b);
  return text;
}

TCalcResult FailureResult(std::string description) {
  TCalcResult result;
  result.Outcome = TCalcOutcome::Failure;
  result.Lines.emplace_back(kInvalidSettings);
  result.Description = std::move(description);
  result.Status = std::string(kEncodeError);
  return result;
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
  groups.reserve(9 + values.size() + (host.size() + slave.size()) / 2);
  if (!AppendGroup(command->Msg, groups) || !AppendGroup(command->Len, groups) ||
      !AppendGroup(kConstantByte, groups) || !AppendAddress(host, groups) ||
      !AppendAddress(slave, groups)) {
    return FailureResult(command->Description);
  }
  for (const TParamValue& value : values) {
    if (!value || *value < 0 || *value > 0xFF) return FailureResult(command->Description);
    const auto byte = static_cast<std::uint8_t>(*value);
    groups.push_back({{kUpperHexDigits[byte >> 4], kUpperHexDigits[byte & 0x0F]}, byte});
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
    // The inverted byte is its one's complement within the byte.
    const auto inverted = static_cast<std::uint8_t>(0xFF - group.Value);
    toSend.push_back(inverted);
    sum += inverted;
  }
  const std::size_t frameSize = toSend.size();
  AppendChecksumBytes(sum, toSend);
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
  return result;
}
