#pragma once

// What every result of CalcFrame must show, worked out here without the calculation's own code:
// the fixed labels, byte groups of two digits, each sent byte the inverse of its raw byte, the
// checksum as the sum of the inverted bytes in as few bytes as it needs, and the Loxone string
// as "\x" and two digits for every byte to send.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FrameCalc.h"
#include "FuzzCheck.h"

namespace fuzz {

inline int DigitValue(char c, bool upperOnly) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (!upperOnly && c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Reads byte groups "HH HH ...", two digits each, one blank between them, none at either end.
inline std::vector<std::uint8_t> ReadGroups(std::string_view text, bool upperOnly) {
  std::vector<std::uint8_t> bytes;
  FUZZ_CHECK(!text.empty());
  FUZZ_CHECK(text.size() % 3 == 2);
  for (std::size_t at = 0; at < text.size(); at += 3) {
    const int high = DigitValue(text[at], upperOnly);
    const int low = DigitValue(text[at + 1], upperOnly);
    FUZZ_CHECK(high >= 0 && low >= 0);
    if (at + 2 < text.size()) FUZZ_CHECK(text[at + 2] == ' ');
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  return bytes;
}

inline void CheckFailure(const TCalcResult& result) {
  FUZZ_CHECK(result.Outcome == TCalcOutcome::Failure);
  FUZZ_CHECK(result.Lines == std::vector<std::string>{"Invalid settings..."});
  FUZZ_CHECK(result.Status == std::string("Error while encoding command."));
  FUZZ_CHECK(result.Bytes.empty());
  FUZZ_CHECK(result.Frame.Loxone.empty());
}

// Checks a successful result and returns its raw bytes.
inline std::vector<std::uint8_t> CheckSuccess(const TCalcResult& result) {
  FUZZ_CHECK(result.Outcome == TCalcOutcome::Success);
  FUZZ_CHECK(result.Status == std::string());
  FUZZ_CHECK(result.Lines.size() == 6);
  FUZZ_CHECK(result.Lines[0] == "              Cmd  |Re|Host    |Slave   |Param");
  const TFrameTexts& frame = result.Frame;
  FUZZ_CHECK(result.Lines[1] == "Raw Data:     " + frame.Raw);
  FUZZ_CHECK(result.Lines[2] == "Actual Data:  " + frame.Actual);
  FUZZ_CHECK(result.Lines[3] == "Checksum:     " + frame.Checksum);
  FUZZ_CHECK(result.Lines[4] == "Data to send: " + frame.DataToSend);
  FUZZ_CHECK(result.Lines[5] == "Loxone:       " + frame.Loxone);

  const std::vector<std::uint8_t> raw = ReadGroups(frame.Raw, false);
  const std::vector<std::uint8_t> actual = ReadGroups(frame.Actual, true);
  const std::vector<std::uint8_t> checksum = ReadGroups(frame.Checksum, true);
  FUZZ_CHECK(raw.size() == actual.size());
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    FUZZ_CHECK(actual[i] == 0xFF - raw[i]);
    sum += actual[i];
  }
  // The sum in as few bytes as it needs, at least one, most significant first.
  std::vector<std::uint8_t> expected;
  do {
    expected.insert(expected.begin(), static_cast<std::uint8_t>(sum & 0xFF));
    sum >>= 8;
  } while (sum != 0);
  FUZZ_CHECK(checksum == expected);
  FUZZ_CHECK(frame.DataToSend == frame.Actual + " " + frame.Checksum);

  std::string loxone;
  std::vector<std::uint8_t> toSend = actual;
  toSend.insert(toSend.end(), checksum.begin(), checksum.end());
  for (std::uint8_t byte : toSend) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    loxone += "\\x";
    loxone += kDigits[byte >> 4];
    loxone += kDigits[byte & 0x0F];
  }
  FUZZ_CHECK(frame.Loxone == loxone);
  FUZZ_CHECK(result.Bytes == toSend);
  FUZZ_CHECK(result.FrameSize == actual.size());
  return raw;
}

}  // namespace fuzz
