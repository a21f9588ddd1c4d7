#include <gtest/gtest.h>

#include <iomanip>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "BuiltInCatalog.h"
#include "BuiltInCommands.h"
#include "FrameCalc.h"
#include "FrameDecode.h"

namespace {

using Values = std::vector<TParamValue>;
using Kinds = std::vector<TFrameProblemKind>;

// The worked example: CTRL_POSITION, host "FF FF 00", slave "05 00 02", channel 0, action 1.
constexpr char kWorkedLoxone[] = R"(\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFF\xFE\x08\x5D)";
const std::vector<std::uint8_t> kWorkedBytes = {0x7F, 0xF2, 0xFA, 0xFF, 0x00, 0x00, 0xFD,
                                                0xFF, 0xFA, 0xFF, 0xFE, 0x08, 0x5D};

// What the calculation gives for "command" with these inputs; it must succeed.
TCalcResult Encoded(const TCommand& command, std::string_view host, std::string_view slave,
                    const Values& values) {
  TCalcResult result = CalcFrame(&command, host, slave, values);
  EXPECT_EQ(result.Outcome, TCalcOutcome::Success);
  return result;
}

std::string LoxoneOf(const std::string& name, const Values& values,
                     std::string_view host = kDefaultHost, std::string_view slave = kDefaultSlave) {
  return Encoded(*BuiltIn().Find(name), host, slave, values).Frame.Loxone;
}

Kinds KindsOf(const TDecodeResult& result) {
  Kinds kinds;
  for (const TFrameProblem& problem : result.Problems) kinds.push_back(problem.Kind);
  return kinds;
}

TEST(DecodeFrameTest, WorkedExampleDecodesIntoItsInputs) {
  const TDecodeResult result = DecodeFrame(BuiltIn(), kWorkedLoxone);

  ASSERT_TRUE(result.Readable());
  EXPECT_TRUE(result.Valid());
  EXPECT_EQ(result.Form, TDecodeForm::Loxone);
  EXPECT_EQ(result.Bytes, kWorkedBytes);
  EXPECT_EQ(result.FrameSize, 11u);
  EXPECT_EQ(result.ChecksumSize, 2u);
  EXPECT_EQ(result.Command, BuiltIn().Find("CTRL_POSITION"));
  EXPECT_EQ(result.MessageCode, 0x80);
  EXPECT_EQ(result.LengthCode, 0x0D);
  EXPECT_EQ(result.ExpectedLengthCode, 0x0D);
  EXPECT_EQ(result.Host, "FF FF 00");
  EXPECT_EQ(result.Slave, "05 00 02");
  EXPECT_EQ(result.Values, (Values{0, 1}));
  ASSERT_EQ(result.Parameters.size(), 2u);
  EXPECT_EQ(result.Parameters[0].Property, result.Command->Properties[0].get());
  EXPECT_EQ(result.Parameters[0].Label, std::nullopt);
  EXPECT_EQ(result.Parameters[1].Label, "UP/ON");
  EXPECT_TRUE(result.Parameters[1].Allowed);
  EXPECT_EQ(ByteGroupText(result.ExpectedChecksum.View()), "08 5D");
  EXPECT_TRUE(result.Problems.empty());
  EXPECT_TRUE(result.Warnings.empty());

  EXPECT_EQ(DecodeLines(result), (std::vector<std::string>{
                                     "Command:      CTRL_POSITION (Control)",
                                     "Message code: 80",
                                     "Length code:  0D (expected 0D)",
                                     "Host:         FF FF 00",
                                     "Slave:        05 00 02",
                                     "Parameter 1:  RTS channel selection = 0",
                                     "Parameter 2:  Action = 1 (UP/ON)",
                                     "Checksum:     08 5D (expected 08 5D)",
                                     "Verdict:      valid",
                                 }));
}

// Addresses are read from bytes 4 to 6 and 7 to 9, each last byte first.
TEST(DecodeFrameTest, AddressesComeBackInTheOrderTheyAreTyped) {
  const TDecodeResult result =
      DecodeFrame(BuiltIn(), LoxoneOf("GET_DCT_LOCK", {}, "01 02 03", "0a 0B 0c"));
  ASSERT_TRUE(result.Valid()) << DecodeLines(result).back();
  EXPECT_EQ(result.Host, "01 02 03");
  EXPECT_EQ(result.Slave, "0A 0B 0C");
}

struct FormCase {
  const char* Name;
  std::string Text;
  TDecodeForm Form;
};

class DecodeFormTest : public testing::TestWithParam<FormCase> {};

TEST_P(DecodeFormTest, ReadsTheWorkedExample) {
  const TDecodeResult result = DecodeFrame(BuiltIn(), GetParam().Text);
  ASSERT_TRUE(result.Readable()) << DescribeReadError(*result.Error);
  EXPECT_EQ(result.Form, GetParam().Form);
  EXPECT_EQ(result.Bytes, kWorkedBytes);
  EXPECT_TRUE(result.Valid());
}

// The worked example's result area, as the calculator shows it.
std::string ResultBlock(const std::string& lineBreak) {
  std::string block;
  for (const std::string& line :
       Encoded(*BuiltIn().Find("CTRL_POSITION"), kDefaultHost, kDefaultSlave, {0, 1}).Lines) {
    block += line + lineBreak;
  }
  return block;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeFormTest,
    testing::ValuesIn(std::vector<FormCase>{
        {"Loxone", kWorkedLoxone, TDecodeForm::Loxone},
        {"LoxoneLowerCase", R"(\x7f\xf2\xfa\xff\x00\x00\xfd\xff\xfa\xff\xfe\x08\x5d)",
         TDecodeForm::Loxone},
        {"LoxoneCapitalX", R"(\X7F\xF2\XFA\xFF\x00\x00\xFD\xFF\xFA\xFF\xFE\x08\x5D)",
         TDecodeForm::Loxone},
        {"LoxoneWithBlanksTabsAndLineBreaks",
         " \\x7F \\xF2\t\\xFA\\xFF\n\\x00\\x00\r\n\\xFD\\xFF\\xFA\\xFF\\xFE\\x08\\x5D\n",
         TDecodeForm::Loxone},
        {"PairsWithBlanks", "7F F2 FA FF 00 00 FD FF FA FF FE 08 5D", TDecodeForm::HexPairs},
        {"PairsWithoutBlanks", "7FF2FAFF0000FDFFFAFFFE085D", TDecodeForm::HexPairs},
        {"PairsWithCommas", "7F,F2,FA,FF,00,00,FD,FF,FA,FF,FE,08,5D", TDecodeForm::HexPairs},
        {"PairsWithCommasAndBlanks", "7F, F2, FA, FF, 00, 00, FD, FF, FA, FF, FE, 08, 5D",
         TDecodeForm::HexPairs},
        {"PairsWithColonsLowerCase", "7f:f2:fa:ff:00:00:fd:ff:fa:ff:fe:08:5d",
         TDecodeForm::HexPairs},
        {"PairsInGroupsOnTwoLines", "7FF2 FAFF0000\nFDFFFAFF FE085D\n", TDecodeForm::HexPairs},
        {"ResultBlock", ResultBlock("\n"), TDecodeForm::DataToSendLine},
        {"ResultBlockWithCarriageReturns", ResultBlock("\r\n"), TDecodeForm::DataToSendLine},
        {"DataToSendLineAlone", "Data to send: 7F F2 FA FF 00 00 FD FF FA FF FE 08 5D",
         TDecodeForm::DataToSendLine},
        // The Data to send line wins even when a faulty Loxone line comes first.
        {"DataToSendLineBeforeLoxoneLine",
         "Loxone:       \\x00\nData to send: 7F F2 FA FF 00 00 FD FF FA FF FE 08 5D",
         TDecodeForm::DataToSendLine},
        {"LoxoneLineAmongOtherLines",
         "Raw Data:     80 0D 05 00 FF FF 02 00 05 00 01\n  loxone:  " +
             std::string(kWorkedLoxone) + "\nsomething else",
         TDecodeForm::LoxoneLine},
    }),
    [](const auto& info) { return info.param.Name; });

struct UnreadableCase {
  const char* Name;
  std::string Text;
  TReadError Error;
  std::string Message;
};

class UnreadableTest : public testing::TestWithParam<UnreadableCase> {};

TEST_P(UnreadableTest, SaysWhereReadingStopped) {
  const UnreadableCase& c = GetParam();
  const TDecodeResult result = DecodeFrame(BuiltIn(), c.Text);
  ASSERT_FALSE(result.Readable());
  EXPECT_FALSE(result.Valid());
  EXPECT_EQ(*result.Error, c.Error);
  EXPECT_EQ(DescribeReadError(*result.Error), c.Message);
  EXPECT_TRUE(result.Bytes.empty());
  EXPECT_EQ(result.Command, nullptr);
  EXPECT_EQ(DecodeLines(result),
            std::vector<std::string>{"Verdict:      unreadable: " + c.Message});
}

// Where reading stops: the fault, the position and the character there.
TReadError ReadAt(TReadFault fault, std::size_t position, std::string text) {
  TReadError error;
  error.Fault = fault;
  error.Position = position;
  error.Text = std::move(text);
  return error;
}

constexpr char kLoxoneRule[] =
    ": a Loxone string gives every byte as \\x and two hexadecimal digits";

INSTANTIATE_TEST_SUITE_P(
    Cases, UnreadableTest,
    testing::ValuesIn(std::vector<UnreadableCase>{
        {"Empty", "", ReadAt(TReadFault::NoBytes, 0, ""),
         "no bytes to read: give a Loxone string, hexadecimal pairs or lines of the result area"},
        {"SeparatorsOnly", " ,:\t\n", ReadAt(TReadFault::NoBytes, 0, ""),
         "no bytes to read: give a Loxone string, hexadecimal pairs or lines of the result area"},
        {"EmptyDataToSendLine", "Data to send:\nLoxone:       \\x7F",
         ReadAt(TReadFault::NoBytes, 0, ""),
         "no bytes to read: give a Loxone string, hexadecimal pairs or lines of the result area"},
        {"PairsWithALetterBeyondF", "7F G2", ReadAt(TReadFault::NotHexDigit, 4, "G"),
         "\"G\" at position 4 is not a hexadecimal digit"},
        {"PairsWithASecondDigitBeyondF", "7F FG", ReadAt(TReadFault::NotHexDigit, 5, "G"),
         "\"G\" at position 5 is not a hexadecimal digit"},
        {"PairsWithAHexPrefix", "0x7F", ReadAt(TReadFault::NotHexDigit, 2, "x"),
         "\"x\" at position 2 is not a hexadecimal digit"},
        {"PairsEndOnHalfAByte", "7F F2 F", ReadAt(TReadFault::HalfByte, 7, "F"),
         "\"F\" at position 7 is half a byte: every byte takes two hexadecimal digits"},
        {"HalfByteInsideARun", "7FF2F FA", ReadAt(TReadFault::HalfByte, 5, "F"),
         "\"F\" at position 5 is half a byte: every byte takes two hexadecimal digits"},
        {"LoxoneByteWithoutEscape", R"(\x7FF2)", ReadAt(TReadFault::NotEscaped, 5, "F"),
         std::string("\"F\" at position 5") + kLoxoneRule},
        {"LoxoneShellAteTheBackslashes", "x7FxF2", ReadAt(TReadFault::NotHexDigit, 1, "x"),
         "\"x\" at position 1 is not a hexadecimal digit"},
        {"LoxoneBackslashWithoutX", R"(\x7F\y2)", ReadAt(TReadFault::NotEscaped, 6, "y"),
         std::string("\"y\" at position 6") + kLoxoneRule},
        {"LoxoneNotHexadecimal", R"(\x7F\xG2)", ReadAt(TReadFault::NotHexDigit, 7, "G"),
         "\"G\" at position 7 is not a hexadecimal digit"},
        {"LoxoneSecondDigitNotHexadecimal", R"(\x7Z)", ReadAt(TReadFault::NotHexDigit, 4, "Z"),
         "\"Z\" at position 4 is not a hexadecimal digit"},
        {"LoxoneHalfByteBeforeNextByte", R"(\x7\xF2)", ReadAt(TReadFault::HalfByte, 3, "7"),
         "\"7\" at position 3 is half a byte: every byte takes two hexadecimal digits"},
        {"LoxoneHalfByteAtTheEnd", R"(\x7F\x5)", ReadAt(TReadFault::HalfByte, 7, "5"),
         "\"5\" at position 7 is half a byte: every byte takes two hexadecimal digits"},
        {"LoxoneEndsAfterEscape", R"(\x7F\x)", ReadAt(TReadFault::EndsInsideByte, 5, "\\x"),
         std::string("\"\\x\" at position 5 ends the text inside a byte") + kLoxoneRule},
        {"LoxoneEndsAfterBackslash", "\\x7F \\", ReadAt(TReadFault::EndsInsideByte, 6, "\\"),
         std::string("\"\\\" at position 6 ends the text inside a byte") + kLoxoneRule},
        {"FormsMixed", R"(\x7F F2)", ReadAt(TReadFault::NotEscaped, 6, "F"),
         std::string("\"F\" at position 6") + kLoxoneRule},
        {"CharacterOfTwoBytesCountsOnce", "\xC3\x84\xC3\x84",
         ReadAt(TReadFault::NotHexDigit, 1, "\xC3\x84"),
         "\"\xC3\x84\" at position 1 is not a hexadecimal digit"},
        {"LoxoneLineReadAsLoxoneString", "Loxone:       7F F2",
         ReadAt(TReadFault::NotEscaped, 15, "7"),
         std::string("\"7\" at position 15") + kLoxoneRule},
        {"DataToSendLineReadAsPairs", "Data to send: \\x7F",
         ReadAt(TReadFault::NotHexDigit, 15, "\\"),
         "\"\\\" at position 15 is not a hexadecimal digit"},
        {"PositionCountsCharactersNotBytes", "Raw Data: \xC3\x84\nLoxone: \\x7F\\xG0",
         ReadAt(TReadFault::NotHexDigit, 27, "G"),
         "\"G\" at position 27 is not a hexadecimal digit"},
        {"PositionCountsOverTheWholeBlock", "Raw Data:     80\nData to send: 7F F2 FA G",
         ReadAt(TReadFault::NotHexDigit, 41, "G"),
         "\"G\" at position 41 is not a hexadecimal digit"},
        {"OtherResultLineAlone", "Raw Data:     80 0D 05", ReadAt(TReadFault::NotHexDigit, 1, "R"),
         "\"R\" at position 1 is not a hexadecimal digit"},
    }),
    [](const auto& info) { return info.param.Name; });

struct ProblemCase {
  const char* Name;
  std::string Text;
  Kinds Problems;
  std::size_t FrameSize;
  std::string FirstProblem;  // The text of the first problem.
};

class DecodeProblemTest : public testing::TestWithParam<ProblemCase> {};

TEST_P(DecodeProblemTest, NamesEachFailedCheck) {
  const ProblemCase& c = GetParam();
  const TDecodeResult result = DecodeFrame(BuiltIn(), c.Text);
  ASSERT_TRUE(result.Readable()) << DescribeReadError(*result.Error);
  EXPECT_FALSE(result.Valid());
  EXPECT_EQ(KindsOf(result), c.Problems);
  EXPECT_EQ(result.FrameSize, c.FrameSize);
  ASSERT_FALSE(result.Problems.empty());
  EXPECT_EQ(result.Problems.front().Text, c.FirstProblem);
  const std::vector<std::string> lines = DecodeLines(result);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Problem:      " + c.FirstProblem), lines.end());
}

// The Loxone string of a command that is not in the catalogue, or that has other codes than the
// catalogue's: encoded by the calculation, so that its checksum is right.
std::string ForeignLoxone(const char* msg, const char* len, const Values& values) {
  TCommand command("Foreign");
  command.Msg = msg;
  command.Len = len;
  return Encoded(command, kDefaultHost, kDefaultSlave, values).Frame.Loxone;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeProblemTest,
    testing::ValuesIn(std::vector<ProblemCase>{
        {"OnlyTheCodes",
         "7F F2 FA",
         {TFrameProblemKind::TooShort, TFrameProblemKind::WrongChecksum},
         2,
         "the frame has only 2 bytes; its codes and addresses alone take 9"},
        {"OneByte",
         "7F",
         {TFrameProblemKind::TooShort, TFrameProblemKind::WrongChecksum},
         1,
         "the frame has only 1 byte; its codes and addresses alone take 9"},
        // The calculation with an empty host address: a correct checksum after 8 bytes.
        {"HostMissing",
         "7F F2 FA FD FF FA FF FE 07 5E",
         {TFrameProblemKind::TooShort},
         8,
         "the frame has only 8 bytes; its codes and addresses alone take 9"},
        {"UnknownMessageCodeSplitFromTheEnd",
         ForeignLoxone("7B", "0D", {0, 1}),
         {TFrameProblemKind::UnknownMessageCode},
         11,
         "unknown message code 7B: no command has it"},
        {"UnknownMessageCodeWithControllerChecksum",
         ForeignLoxone("7B", "0D", {0, 1}) + R"(\x5D)",
         {TFrameProblemKind::UnknownMessageCode, TFrameProblemKind::ExtraBytes},
         11,
         "unknown message code 7B: no command has it"},
        // ST_DCT_LOCK with the length code its two parameters would suggest.
        {"OldLengthCode",
         ForeignLoxone("94", "0D", {0, 1}),
         {TFrameProblemKind::WrongLengthCode},
         11,
         "length code 0D, but ST_DCT_LOCK has 0C"},
        // 80 0D 06 00 FF FF 02 00 05 00 01: the third byte 06 inverted is F9; the sum 0x85C.
        {"ThirdByteNotTheConstant",
         "7F F2 F9 FF 00 00 FD FF FA FF FE 08 5C",
         {TFrameProblemKind::WrongThirdByte},
         11,
         "third byte 06, but every frame has 05 there"},
        {"ParameterMissingWithItsChecksum",
         LoxoneOf("CTRL_POSITION", {0}),
         {TFrameProblemKind::WrongParameterCount},
         10,
         "1 parameter byte, but CTRL_POSITION takes 2"},
        {"ParameterTooManyWithItsChecksum",
         LoxoneOf("CTRL_POSITION", {0, 1, 7}),
         {TFrameProblemKind::WrongParameterCount},
         12,
         "3 parameter bytes, but CTRL_POSITION takes 2"},
        {"ByteLostInCopying",
         "7F F2 FA FF 00 00 FD FF FA FF 08 5D",
         {TFrameProblemKind::WrongParameterCount, TFrameProblemKind::WrongChecksum},
         10,
         "1 parameter byte, but CTRL_POSITION takes 2"},
        {"ChecksumMistyped",
         "7F F2 FA FF 00 00 FD FF FA FF FE 08 5E",
         {TFrameProblemKind::WrongChecksum},
         11,
         "checksum 08 5E, but the frame's bytes add up to 08 5D"},
        {"FrameByteMistyped",
         "7F F2 FA FF 00 00 FD FF FA FE FE 08 5D",
         {TFrameProblemKind::WrongChecksum},
         11,
         "checksum 08 5D, but the frame's bytes add up to 08 5C"},
        {"ChecksumMissing",
         "7F F2 FA FF 00 00 FD FF FA FF FE",
         {TFrameProblemKind::WrongParameterCount, TFrameProblemKind::WrongChecksum},
         9,
         "0 parameter bytes, but CTRL_POSITION takes 2"},
        {"ControllerChecksumOfOneByte",
         std::string(kWorkedLoxone) + R"(\x65)",
         {TFrameProblemKind::ExtraBytes},
         11,
         "1 byte after the checksum (65): the controller's own checksum option may be switched "
         "on"},
        {"ControllerChecksumOfTwoBytes",
         std::string(kWorkedLoxone) + R"(\x00\x65)",
         {TFrameProblemKind::ExtraBytes},
         11,
         "2 bytes after the checksum (00 65): the controller's own checksum option may be "
         "switched on"},
        {"EveryHeaderCheckAtOnce",
         ForeignLoxone("7B", "0D", {0, 1}).substr(0, 8) + R"(\xF9)" +
             ForeignLoxone("7B", "0D", {0, 1}).substr(12),
         {TFrameProblemKind::UnknownMessageCode, TFrameProblemKind::WrongThirdByte,
          TFrameProblemKind::WrongChecksum},
         11,
         "unknown message code 7B: no command has it"},
    }),
    [](const auto& info) { return info.param.Name; });

TEST(DecodeFrameTest, LinesShowWhatIsFoundAndWhatIsMissing) {
  const TDecodeResult lost = DecodeFrame(BuiltIn(), "7F F2 FA FF 00 00 FD FF FA FF 08 5D");
  EXPECT_EQ(DecodeLines(lost),
            (std::vector<std::string>{
                "Command:      CTRL_POSITION (Control)",
                "Message code: 80",
                "Length code:  0D (expected 0D)",
                "Host:         FF FF 00",
                "Slave:        05 00 02",
                "Parameter 1:  RTS channel selection = 0",
                "Parameter 2:  Action: missing",
                "Checksum:     08 5D (expected 07 5F)",
                "Verdict:      not valid: 2 problems",
                "Problem:      1 parameter byte, but CTRL_POSITION takes 2",
                "Problem:      checksum 08 5D, but the frame's bytes add up to 07 5F",
            }));

  const TDecodeResult foreign =
      DecodeFrame(BuiltIn(), ForeignLoxone("7B", "0D", {0, 1}) + R"(\x5D)");
  EXPECT_EQ(DecodeLines(foreign), (std::vector<std::string>{
                                      "Command:      unknown",
                                      "Message code: 7B",
                                      "Length code:  0D",
                                      "Host:         FF FF 00",
                                      "Slave:        05 00 02",
                                      "Parameter 1:  0",
                                      "Parameter 2:  1",
                                      "Checksum:     08 62 (expected 08 62)",
                                      "Extra bytes:  5D",
                                      "Verdict:      not valid: 2 problems",
                                      "Problem:      unknown message code 7B: no command has it",
                                      "Problem:      1 byte after the checksum (5D): the "
                                      "controller's own checksum option may be switched on",
                                  }));

  const TDecodeResult shortFrame = DecodeFrame(BuiltIn(), "7F F2 FA FF");
  const std::vector<std::string> lines = DecodeLines(shortFrame);
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[3], "Host:         missing");
  EXPECT_EQ(lines[4], "Slave:        missing");
  EXPECT_EQ(lines[5], "Checksum:     FA FF (expected 01 71)");
}

TEST(DecodeFrameTest, ValuesOutsideTheirBoundsOrOptionsAreWarningsOnly) {
  // The calculator's own start: "US mode" and "CE mode" show 0, below their minimum.
  const TDecodeResult start = DecodeFrame(BuiltIn(), LoxoneOf("SET_TILT_FRAMECOUNT", {0, 0, 0}));
  EXPECT_TRUE(start.Valid());
  ASSERT_EQ(start.Warnings.size(), 2u);
  EXPECT_EQ(start.Warnings[0], (TDecodeWarning{1, "value 0 of \"US mode\" lies outside 4 to 255"}));
  EXPECT_EQ(start.Warnings[1], (TDecodeWarning{2, "value 0 of \"CE mode\" lies outside 2 to 13"}));
  EXPECT_FALSE(start.Parameters[1].Allowed);
  EXPECT_EQ(DecodeLines(start).back(), "Warning:      value 0 of \"CE mode\" lies outside 2 to 13");

  const TDecodeResult noOption = DecodeFrame(BuiltIn(), LoxoneOf("CTRL_POSITION", {20, 9}));
  EXPECT_TRUE(noOption.Valid());
  EXPECT_EQ(noOption.Parameters[1].Label, std::nullopt);
  ASSERT_EQ(noOption.Warnings.size(), 2u);
  EXPECT_EQ(noOption.Warnings[0].Text,
            "value 20 of \"RTS channel selection\" lies outside 0 to 15");
  EXPECT_EQ(noOption.Warnings[1].Text, "value 9 of \"Action\" is none of its options");
}

// A sum below 0x100 gives a checksum of one byte; the split still follows the command.
TEST(DecodeFrameTest, OneByteChecksumOfACommandWithSmallCodes) {
  TListCommands commands;
  TCommand& command = commands.Add("Test");
  command.MessageName = "ALL_FF";
  command.Msg = "FF";
  command.Len = "FF";
  const TDecodeResult result = DecodeFrame(commands, "00 00 FA 00 00 00 00 00 00 FA");
  ASSERT_TRUE(result.Valid()) << DecodeLines(result).back();
  EXPECT_EQ(result.FrameSize, 9u);
  EXPECT_EQ(result.ChecksumSize, 1u);
  EXPECT_EQ(result.Host, "FF FF FF");
}

std::string RandomAddress(std::mt19937& random) {
  std::ostringstream text;
  for (std::size_t i = 0; i < kAddressByteCount; ++i) {
    text << (i > 0 ? " " : "") << std::uppercase << std::hex << std::setfill('0') << std::setw(2)
         << std::uniform_int_distribution<unsigned>(0, 255)(random);
  }
  return text.str();
}

// Every command with random addresses and random byte values, allowed or not: the string the
// calculation gives decodes into the same inputs, and encoding those again gives the same bytes.
TEST(DecodeFrameTest, RoundTripOverTheWholeCatalogue) {
  std::mt19937 random(20240901);
  std::uniform_int_distribution<std::int32_t> byteValue(0, 255);
  for (std::int32_t i = 0; i < BuiltIn().Count(); ++i) {
    const TCommand& command = BuiltIn().Items(i);
    SCOPED_TRACE(command.MessageName);
    for (int round = 0; round < 200; ++round) {
      const std::string host = RandomAddress(random);
      const std::string slave = RandomAddress(random);
      Values values;
      for (std::size_t p = 0; p < command.Properties.size(); ++p) {
        values.emplace_back(byteValue(random));
      }
      const TCalcResult encoded = Encoded(command, host, slave, values);

      for (const std::string& text : {encoded.Frame.Loxone, encoded.Frame.DataToSend}) {
        const TDecodeResult decoded = DecodeFrame(BuiltIn(), text);
        ASSERT_TRUE(decoded.Valid()) << text << "\n" << DecodeLines(decoded).back();
        ASSERT_EQ(decoded.Command, &command);
        EXPECT_EQ(decoded.Host, host);
        EXPECT_EQ(decoded.Slave, slave);
        EXPECT_EQ(decoded.Values, values);
        EXPECT_EQ(decoded.Bytes, encoded.Bytes);
        EXPECT_EQ(decoded.FrameSize, encoded.FrameSize);
        const TCalcResult again =
            CalcFrame(decoded.Command, *decoded.Host, *decoded.Slave, decoded.Values);
        EXPECT_EQ(again.Bytes, decoded.Bytes);
        EXPECT_EQ(again.Frame.Loxone, encoded.Frame.Loxone);
      }
    }
  }
}

}  // namespace
