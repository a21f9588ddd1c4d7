// Fuzzes CalcFrame: every built-in command, or one with fuzzed codes, with fuzzed address texts
// and parameter values. Besides the invariants of every result, an independent reading of the
// inputs says whether the frame can be encoded and which raw bytes it must carry.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "BuiltInCatalog.h"
#include "FrameCalc.h"
#include "FrameInvariants.h"

namespace {

bool IsHex(char c) { return fuzz::DigitValue(c, false) >= 0; }

// The bytes of "text" as typed: blanks and controls trimmed at the ends, runs of digits between
// blanks, two digits to a byte; nothing when a run holds anything else or half a byte.
std::optional<std::vector<std::uint8_t>> AddressBytes(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  std::vector<std::uint8_t> bytes;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] == ' ') {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < text.size() && text[end] != ' ') ++end;
    if ((end - at) % 2 != 0) return std::nullopt;
    for (; at < end; at += 2) {
      if (!IsHex(text[at]) || !IsHex(text[at + 1])) return std::nullopt;
      bytes.push_back(static_cast<std::uint8_t>(fuzz::DigitValue(text[at], false) * 16 +
                                                fuzz::DigitValue(text[at + 1], false)));
    }
  }
  return bytes;
}

std::optional<std::uint8_t> CodeByte(const std::string& code) {
  if (code.size() != 2 || !IsHex(code[0]) || !IsHex(code[1])) return std::nullopt;
  return static_cast<std::uint8_t>(fuzz::DigitValue(code[0], false) * 16 +
                                   fuzz::DigitValue(code[1], false));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const TListCommands& commands = BuiltIn();
  const int pick = input.ConsumeIntegralInRange<int>(0, commands.Count());
  TCommand custom("Fuzzed");
  const TCommand* command = nullptr;
  if (pick < commands.Count()) {
    command = &commands.Items(pick);
  } else {
    custom.Msg = input.ConsumeRandomLengthString(4);
    custom.Len = input.ConsumeRandomLengthString(4);
    command = &custom;
  }
  const std::string host = input.ConsumeRandomLengthString(24);
  const std::string slave = input.ConsumeRandomLengthString(24);
  std::vector<TParamValue> values;
  const std::size_t count = pick < commands.Count()
                                ? command->Properties.size()
                                : input.ConsumeIntegralInRange<std::size_t>(0, 6);
  for (std::size_t i = 0; i < count; ++i) {
    if (input.ConsumeBool()) {
      values.emplace_back(input.ConsumeIntegral<std::int32_t>());
    } else {
      values.push_back(input.ConsumeBool() ? TParamValue(input.ConsumeIntegralInRange(0, 255))
                                           : std::nullopt);
    }
  }

  const TCalcResult result = CalcFrame(command, host, slave, values);
  FUZZ_CHECK(result.Description == command->Description);

  // What the frame must be, read independently.
  const std::optional<std::uint8_t> msg = CodeByte(command->Msg);
  const std::optional<std::uint8_t> len = CodeByte(command->Len);
  const auto hostBytes = AddressBytes(host);
  const auto slaveBytes = AddressBytes(slave);
  bool encodable = msg && len && hostBytes && slaveBytes;
  for (const TParamValue& value : values)
    encodable = encodable && value && *value >= 0 && *value <= 255;
  if (!encodable) {
    fuzz::CheckFailure(result);
    return 0;
  }
  std::vector<std::uint8_t> expected = {*msg, *len, 0x05};
  expected.insert(expected.end(), hostBytes->rbegin(), hostBytes->rend());
  expected.insert(expected.end(), slaveBytes->rbegin(), slaveBytes->rend());
  for (const TParamValue& value : values) expected.push_back(static_cast<std::uint8_t>(*value));
  FUZZ_CHECK(fuzz::CheckSuccess(result) == expected);
  // The raw text shows the codes exactly as stored.
  FUZZ_CHECK(result.Frame.Raw.compare(0, 6, command->Msg + " " + command->Len + " ") == 0);
  return 0;
}
