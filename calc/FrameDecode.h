#pragma once

// Reading a string back: the bytes of a Loxone string, of hexadecimal pairs or of a pasted block
// of the result area, checked against the catalogue and the frame layout, and decoded into the
// command, the addresses and the parameter values that give them.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "FrameCalc.h"
#include "TListCommands.h"

// Where the bytes of a text come from.
enum class TDecodeForm {
  Loxone,          // "\x7F\xF2...": "\x" and two hexadecimal digits per byte.
  HexPairs,        // "7F F2 FA", "7FF2FA", "7F,F2,FA" or "7F:F2:FA".
  DataToSendLine,  // The "Data to send:" line of a pasted block of the result area.
  LoxoneLine,      // The "Loxone:" line of a pasted block that has no "Data to send:" line.
};

// Why a text gives no bytes.
enum class TReadFault {
  NoBytes,         // Nothing but blanks and separators.
  NotHexDigit,     // A character where a hexadecimal digit must stand.
  HalfByte,        // A hexadecimal digit without the second digit of its byte.
  NotEscaped,      // In a Loxone string, a character where "\x" must stand.
  EndsInsideByte,  // In a Loxone string, the text ends after "\" or "\x".
};

// Where reading stopped and why.
struct TReadError {
  TReadFault Fault = TReadFault::NoBytes;
  std::size_t Position = 0;  // In characters from 1 over the whole text; NoBytes: 0.
  std::string Text;          // The character at fault; empty at the end of the text.

  friend bool operator==(const TReadError&, const TReadError&) = default;
};

// The checks of a frame that has been read, in the order of the frame's bytes.
enum class TFrameProblemKind {
  TooShort,             // Fewer than the 9 bytes of codes and addresses before the checksum.
  UnknownMessageCode,   // No command of the catalogue has the message code.
  WrongLengthCode,      // The length code differs from the command's Len.
  WrongThirdByte,       // The third byte is not the constant 05.
  WrongParameterCount,  // Not one parameter byte per parameter of the command.
  WrongChecksum,        // The bytes after the frame are not its checksum, or there are none.
  ExtraBytes,           // Bytes left after a correct checksum.
};

// A failed check, with what it found and what it expected in words.
struct TFrameProblem {
  TFrameProblemKind Kind = TFrameProblemKind::TooShort;
  std::string Text;

  friend bool operator==(const TFrameProblem&, const TFrameProblem&) = default;
};

// One parameter byte of the frame.
struct TDecodedParameter {
  // The command's parameter this byte is for; null when the command is unknown or has fewer
  // parameters than the frame has bytes for them.
  const TProperty* Property = nullptr;
  std::int32_t Value = 0;
  std::optional<std::string> Label;  // A list parameter's option with this value, if any.
  bool Allowed = true;  // Whether the parameter's editor lets the user choose the value.

  friend bool operator==(const TDecodedParameter&, const TDecodedParameter&) = default;
};

// A value outside its parameter's bounds or options: worth a remark, not a problem, since the
// calculator itself sends such values as long as an editor shows its start value.
struct TDecodeWarning {
  std::size_t Parameter = 0;  // Its index, counted from 0.
  std::string Text;

  friend bool operator==(const TDecodeWarning&, const TDecodeWarning&) = default;
};

// Everything one decode finds. Byte counts and positions refer to Bytes, the data to send.
struct TDecodeResult {
  TDecodeForm Form = TDecodeForm::Loxone;
  std::optional<TReadError> Error;    // Set when the text is unreadable; then nothing else is.
  std::vector<std::uint8_t> Bytes;    // The data to send, as read.
  std::size_t FrameSize = 0;          // How many of Bytes precede the checksum.
  std::size_t ChecksumSize = 0;       // How many follow as the checksum; the rest are extra bytes.
  TChecksum ExpectedChecksum;         // The checksum of the frame's bytes.
  const TCommand* Command = nullptr;  // The command of the message code, or null.
  std::uint8_t MessageCode = 0;       // The frame's first byte, inverted back.
  std::optional<std::uint8_t> LengthCode;          // Its second byte, when the frame has one.
  std::optional<std::uint8_t> ExpectedLengthCode;  // The command's Len, when it is one byte.
  std::optional<std::string> Host;   // "FF FF 00": bytes 4 to 6 in the order a user types them.
  std::optional<std::string> Slave;  // Bytes 7 to 9, in the same order.
  std::vector<TParamValue> Values;   // The parameter bytes in order, as CalcFrame takes them.
  std::vector<TDecodedParameter> Parameters;  // The same bytes with their parameters.
  std::vector<TFrameProblem> Problems;
  std::vector<TDecodeWarning> Warnings;

  bool Readable() const { return !Error.has_value(); }
  // Valid when readable and every check holds: encoding Command, Host, Slave and Values with
  // CalcFrame then gives exactly Bytes.
  bool Valid() const { return Readable() && Problems.empty(); }
  std::span<const std::uint8_t> FoundChecksum() const {
    return std::span(Bytes).subspan(FrameSize, ChecksumSize);
  }
  std::span<const std::uint8_t> ExtraBytes() const {
    return std::span(Bytes).subspan(FrameSize + ChecksumSize);
  }

  friend bool operator==(const TDecodeResult&, const TDecodeResult&) = default;
};

// Reads "text" and decodes the frame in it against "commands". The text is a Loxone string ("\x"
// and two hexadecimal digits per byte, in either letter case, blanks, tabs and line breaks
// between bytes ignored), hexadecimal pairs with or without blanks, commas or colons between
// them, or a block of the result area, whose "Data to send:" line (hexadecimal pairs), or without
// one its "Loxone:" line (a Loxone string), is read; the labels are found in any letter case. The
// frame is every byte but the checksum, inverted back; where the checksum begins is found from the
// command's parameter count, else from the end, where the checksum fits.
TDecodeResult DecodeFrame(const TListCommands& commands, std::string_view text);

// Returns what is wrong with the text in words, e.g. "\"G\" at position 3 is not a hexadecimal
// digit".
std::string DescribeReadError(const TReadError& error);

// Returns the result as labelled lines, each value from column 15: the command, message and
// length codes, host, slave, every parameter, the checksum found and expected, extra bytes, the
// verdict, then every problem and every warning. An unreadable text gives the verdict only.
std::vector<std::string> DecodeLines(const TDecodeResult& result);
