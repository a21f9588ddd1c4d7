// Fuzzes DecodeFrame with a text as it comes, or with a string that the calculation encodes for a
// built-in command with fuzzed addresses and values, then changed a little and written in one of
// the input forms. Every result must hold together; a valid verdict must round-trip through
// CalcFrame to the same bytes; the same bytes written as a Loxone string must decode the same;
// and an unchanged string must decode as valid into the inputs it was encoded from.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "BuiltInCatalog.h"
#include "FrameCalc.h"
#include "FrameDecode.h"
#include "FrameInvariants.h"

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

std::string LoxoneText(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  for (std::uint8_t byte : bytes) {
    text += "\\x";
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

std::string PairsText(const std::vector<std::uint8_t>& bytes, std::string_view separator) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) text += separator;
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0x0F];
  }
  return text;
}

std::string AddressText(FuzzedDataProvider& input) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < kAddressByteCount; ++i)
    bytes.push_back(input.ConsumeIntegral<std::uint8_t>());
  return PairsText(bytes, " ");
}

// The checksum of "frame", worked out here: the sum in as few bytes as it needs, at least one.
std::vector<std::uint8_t> Checksum(std::span<const std::uint8_t> frame) {
  std::uint64_t sum = 0;
  for (std::uint8_t byte : frame) sum += byte;
  std::vector<std::uint8_t> bytes;
  do {
    bytes.insert(bytes.begin(), static_cast<std::uint8_t>(sum & 0xFF));
    sum >>= 8;
  } while (sum != 0);
  return bytes;
}

void CheckResult(const TDecodeResult& result) {
  if (!result.Readable()) {
    FUZZ_CHECK(!result.Valid());
    FUZZ_CHECK(result.Bytes.empty());
    FUZZ_CHECK(result.Problems.empty());
    FUZZ_CHECK(result.Command == nullptr);
    return;
  }
  const std::size_t size = result.Bytes.size();
  FUZZ_CHECK(size > 0);
  FUZZ_CHECK(result.FrameSize >= 1 && result.FrameSize <= size);
  FUZZ_CHECK(result.FrameSize + result.ChecksumSize <= size);
  FUZZ_CHECK(result.Valid() == result.Problems.empty());
  FUZZ_CHECK(result.MessageCode == 0xFF - result.Bytes[0]);
  // Each check at most once, in the order of the frame's bytes.
  for (std::size_t i = 1; i < result.Problems.size(); ++i) {
    FUZZ_CHECK(result.Problems[i - 1].Kind < result.Problems[i].Kind);
  }
  bool checksumProblem = false;
  for (const TFrameProblem& problem : result.Problems) {
    FUZZ_CHECK(!problem.Text.empty());
    checksumProblem = checksumProblem || problem.Kind == TFrameProblemKind::WrongChecksum;
  }
  const std::span<const std::uint8_t> bytes(result.Bytes);
  const std::vector<std::uint8_t> expected = Checksum(bytes.first(result.FrameSize));
  FUZZ_CHECK(std::ranges::equal(result.ExpectedChecksum.View(), expected));
  FUZZ_CHECK(checksumProblem != std::ranges::equal(result.FoundChecksum(), expected));
  // Extra bytes only ever follow a checksum that fits.
  FUZZ_CHECK(result.ExtraBytes().empty() || !checksumProblem);
  FUZZ_CHECK(result.Values.size() == result.Parameters.size());
  FUZZ_CHECK(!DecodeLines(result).empty());

  if (!result.Valid()) return;
  FUZZ_CHECK(result.Command != nullptr);
  FUZZ_CHECK(result.Host && result.Slave);
  FUZZ_CHECK(result.Values.size() == result.Command->Properties.size());
  const TCalcResult again = CalcFrame(result.Command, *result.Host, *result.Slave, result.Values);
  fuzz::CheckSuccess(again);
  FUZZ_CHECK(again.Bytes == result.Bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  std::string text;
  const TCommand* encodedCommand = nullptr;
  TCalcResult encoded;
  std::string host;
  std::string slave;
  std::vector<TParamValue> values;
  bool changed = false;

  if (!input.ConsumeBool()) {
    text = input.ConsumeRemainingBytesAsString();
  } else {
    encodedCommand = &BuiltIn().Items(input.ConsumeIntegralInRange<int>(0, BuiltIn().Count() - 1));
    host = AddressText(input);
    slave = AddressText(input);
    for (std::size_t i = 0; i < encodedCommand->Properties.size(); ++i) {
      values.emplace_back(input.ConsumeIntegral<std::uint8_t>());
    }
    encoded = CalcFrame(encodedCommand, host, slave, values);
    fuzz::CheckSuccess(encoded);
    std::vector<std::uint8_t> bytes = encoded.Bytes;

    // A change as copying or a controller makes it: a byte changed, lost, added or appended.
    const int change = input.ConsumeIntegralInRange(0, 4);
    const std::size_t at = input.ConsumeIntegralInRange<std::size_t>(0, bytes.size() - 1);
    const auto byte = input.ConsumeIntegral<std::uint8_t>();
    switch (change) {
      case 1:
        changed = bytes[at] != byte;
        bytes[at] = byte;
        break;
      case 2:
        bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at));
        changed = true;
        break;
      case 3:
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), byte);
        changed = true;
        break;
      case 4:
        bytes.push_back(byte);
        changed = true;
        break;
    }

    switch (input.ConsumeIntegralInRange(0, 4)) {
      case 0:
        text = LoxoneText(bytes);
        break;
      case 1:
        text = PairsText(bytes, " ");
        break;
      case 2:
        text = PairsText(bytes, input.ConsumeBool() ? "," : ":");
        break;
      case 3:
        text = PairsText(bytes, "");
        break;
      case 4:
        // A block of the result area, with the changed bytes on its last two lines.
        for (std::size_t i = 0; i + 2 < encoded.Lines.size(); ++i) text += encoded.Lines[i] + '\n';
        text += std::string(kDataToSendLabel) + PairsText(bytes, " ") + '\n';
        text += std::string(kLoxoneLabel) + LoxoneText(bytes) + '\n';
        break;
    }
  }

  const TDecodeResult result = DecodeFrame(BuiltIn(), text);
  CheckResult(result);

  if (result.Readable()) {
    // The same bytes as a Loxone string decode the same.
    TDecodeResult again = DecodeFrame(BuiltIn(), LoxoneText(result.Bytes));
    FUZZ_CHECK(again.Form == TDecodeForm::Loxone);
    again.Form = result.Form;
    FUZZ_CHECK(again == result);
  }

  if (encodedCommand != nullptr && !changed) {
    FUZZ_CHECK(result.Valid());
    FUZZ_CHECK(result.Command == encodedCommand);
    FUZZ_CHECK(result.Host == host && result.Slave == slave);
    FUZZ_CHECK(result.Values == values);
    FUZZ_CHECK(result.Bytes == encoded.Bytes);
  }
  return 0;
}
