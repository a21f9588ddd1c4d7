#pragma once

#include <array>
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

// The address texts the calculation starts with, most significant byte first.
inline constexpr std::string_view kDefaultHost = "FF FF 00";
inline constexpr std::string_view kDefaultSlave = "05 00 02";
// The number of bytes of each address in the frame layout.
inline constexpr std::size_t kAddressByteCount = 3;
// The third byte of every frame, after the message code and the length code.
inline constexpr std::uint8_t kConstantByte = 0x05;
// The bytes before the parameters: message code, length code, the constant and both addresses.
inline constexpr std::size_t kFrameHeaderSize = 3 + 2 * kAddressByteCount;

// Returns the byte sent for the frame byte "byte": its one's complement within the byte. The
// same operation turns a sent byte back into the frame byte.
constexpr std::uint8_t InvertByte(std::uint8_t byte) {
  return static_cast<std::uint8_t>(0xFF - byte);
}

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

// The input of a calculation that cannot be encoded.
enum class TCalcInput {
  MessageCode,  // The command's Msg.
  LengthCode,   // The command's Len.
  Host,
  Slave,
  Parameter,  // The value of the parameter numbered TCalcError::Parameter.
};

// What is wrong with that input.
enum class TCalcFault {
  NotHexDigit,      // A character that is not a hexadecimal digit.
  HalfByte,         // A run of digits between blanks with an odd number of them.
  NotOneByte,       // A code that is not exactly two hexadecimal digits.
  ValueOutOfRange,  // A parameter value outside 0 to 255.
  NoChosenItem,     // A list parameter with no chosen item, so no value.
};

// Why a calculation failed: the input, the fault and where in the input it lies.
struct TCalcError {
  TCalcInput Input = TCalcInput::Host;
  TCalcFault Fault = TCalcFault::NotHexDigit;
  std::int32_t Parameter = -1;  // Parameter: its index, counted from 0.
  std::size_t Position = 0;     // NotHexDigit, HalfByte: characters counted from 1, as given.
  std::string Text;             // NotHexDigit: the character; HalfByte, NotOneByte: the digits.
  std::int64_t Value = 0;       // ValueOutOfRange: the value.

  friend bool operator==(const TCalcError&, const TCalcError&) = default;
};

// Everything one calculation shows.
struct TCalcResult {
  TCalcOutcome Outcome = TCalcOutcome::NoCommand;
  std::vector<std::string> Lines;     // The complete new content of the result area.
  std::string Description;            // The new text of the description label.
  std::optional<std::string> Status;  // The new status text; nothing means leave it as it is.
  TFrameTexts Frame;                  // Filled on Success only.
  std::vector<std::uint8_t> Bytes;    // Success: the data to send, byte by byte.
  std::size_t FrameSize = 0;          // Success: how many of Bytes precede the checksum.
  TCalcError Error;                   // Failure: why.
};

// Fixed texts of the result area and the status line.
inline constexpr std::string_view kNoCommandDescription = "-";
inline constexpr std::string_view kSelectCommand = "select command...";
inline constexpr std::string_view kInvalidSettings = "Invalid settings...";
inline constexpr std::string_view kEncodeError = "Error while encoding command.";
// Column titles over the raw data line; they line up in a fixed-pitch font when both addresses
// have three bytes.
inline constexpr std::string_view kHeaderLine = "              Cmd  |Re|Host    |Slave   |Param";
// The labels of the other result lines: every value starts in column 15, after a label padded to
// 14 characters.
inline constexpr std::string_view kRawLabel = "Raw Data:     ";
inline constexpr std::string_view kActualLabel = "Actual Data:  ";
inline constexpr std::string_view kChecksumLabel = "Checksum:     ";
inline constexpr std::string_view kDataToSendLabel = "Data to send: ";
inline constexpr std::string_view kLoxoneLabel = "Loxone:       ";

// Encodes "command" (nullptr when none is chosen) with the address texts "host" and "slave" and
// one value per parameter in "values". An address text is read after blanks and control
// characters at either end are trimmed: runs of hexadecimal digits separated by blanks, each run
// an even number of digits, most significant byte first. A character that is not a hexadecimal
// digit, a run with an odd number of digits (half a byte), or a value that is missing or outside
// 0..255 gives the Failure outcome, with the reason in Error.
TCalcResult CalcFrame(const TCommand* command, std::string_view host, std::string_view slave,
                      std::span<const TParamValue> values);

// The checksum of a frame: the sum of its inverted bytes, most significant byte first, in as few
// bytes as it needs and at least one.
struct TChecksum {
  std::array<std::uint8_t, sizeof(std::uint64_t)> Bytes{};
  std::size_t Size = 0;

  std::span<const std::uint8_t> View() const { return {Bytes.data(), Size}; }
  friend bool operator==(const TChecksum&, const TChecksum&) = default;
};

// Returns the checksum bytes of "sum", the sum of a frame's inverted bytes.
TChecksum ChecksumBytes(std::uint64_t sum);

// Returns "bytes" as byte-group text: two upper-case hexadecimal digits each, one blank between
// them, none at either end.
std::string ByteGroupText(std::span<const std::uint8_t> bytes);

// The byte of a command's code text, Msg or Len ("input" is MessageCode or LengthCode), as
// CalcFrame reads it, or the error that CalcFrame would report for it.
struct TCodeByte {
  std::uint8_t Byte = 0;
  std::optional<TCalcError> Error;
};
TCodeByte ReadCode(std::string_view code, TCalcInput input);

// The bytes of an address text as CalcFrame reads it ("input" is Host or Slave), in the order
// they are written, or the error that CalcFrame would report for it.
struct TAddressBytes {
  std::vector<std::uint8_t> Bytes;
  std::optional<TCalcError> Error;
};
TAddressBytes ReadAddress(std::string_view text, TCalcInput input);

// Returns the fault of "error" in words, e.g. "\"G\" at position 2 is not a hexadecimal digit";
// the caller names the input.
std::string DescribeCalcFault(const TCalcError& error);
