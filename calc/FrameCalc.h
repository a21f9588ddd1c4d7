#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "TCommand.h"

// The value of one parameter: the byte the frame carries for it, or nothing when a list parameter
// has no chosen item.
using TParamValue = std::optional<std::int32_t>;

enum class TCalcOutcome {
  NoCommand,  // No command chosen: nothing was encoded.
  Success,    // A frame was encoded.
  Failure,    // The inputs cannot be encoded.
};

// The texts of one encoded frame, each a row of two-digit byte groups separated by one blank.
struct TFrameTexts {
  std::string Raw;         // Codes, addresses and parameters, address letters as entered.
  std::string Actual;      // Every raw byte inverted.
  std::string Checksum;    // Sum of the inverted bytes, most significant byte first.
  std::string DataToSend;  // Actual, one blank, checksum.
  std::string Loxone;      // Every byte to send as "\xHH", nothing between them.

  friend bool operator==(const TFrameTexts&, const TFrameTexts&) = default;
};

// Everything one calculation shows.
struct TCalcResult {
  TCalcOutcome Outcome = TCalcOutcome::NoCommand;
  std::vector<std::string> Lines;     // The complete new content of the result area.
  std::string Description;            // The new text of the description label.
  std::optional<std::string> Status;  // The new status text; nothing means leave it as it is.
  TFrameTexts Frame;                  // Filled on Success only.
};

// Fixed texts of the result area and the status line.
inline constexpr std::string_view kNoCommandDescription = "-";
inline constexpr std::string_view kSelectCommand = "select command...";
inline constexpr std::string_view kInvalidSettings = "Invalid settings...";
inline constexpr std::string_view kEncodeError = "Error while encoding command.";
// Column titles over the raw data line; they line up in a fixed-pitch font when both addresses
// have three bytes.
inline constexpr std::string_view kHeaderLine = "              Cmd  |Re|Host    |Slave   |Param";

// Encodes "command" (nullptr when none is chosen) with the address texts "host" and "slave", each
// byte as two hexadecimal digits with blanks anywhere, and one value per parameter in
// "values". An address whose digit count is odd, a character that is not a hexadecimal digit, or
// a value that is missing or outside 0..255 gives the Failure outcome.
TCalcResult CalcFrame(const TCommand* command, std::string_view host, std::string_view slave,
                      std::span<const TParamValue> values);
