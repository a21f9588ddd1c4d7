#include <gtest/gtest.h>

#include <climits>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "BuiltInCommands.h"
#include "FrameCalc.h"
#include "ParamValues.h"

namespace {

using Values = std::vector<TParamValue>;

// The bytes as two upper-case digits each, one blank between them.
std::string ByteText(const std::vector<std::uint8_t>& bytes) {
  std::ostringstream text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    text << (i > 0 ? " " : "") << std::uppercase << std::hex << std::setfill('0') << std::setw(2)
         << unsigned{bytes[i]};
  }
  return text.str();
}

std::vector<std::string> Groups(const std::string& text) {
  std::vector<std::string> groups;
  std::istringstream stream(text);
  for (std::string group; stream >> group;) groups.push_back(group);
  return groups;
}

// The worked example: CTRL_POSITION, the default addresses, channel 0 and action 1 (UP/ON).
TEST(CalcFrameTest, WorkedExample) {
  TListCommands commands;
  AddBuiltInCommands(commands);
  const TCommand& command = *commands.Find("CTRL_POSITION");

  const TCalcResult result = CalcFrame(&command, kDefaultHost, kDefaultSlave, Values{0, 1});

  EXPECT_EQ(result.Outcome, TCalcOutcome::Success);
  EXPECT_EQ(result.Lines,
            (std::vector<std::string>{
                "              Cmd  |Re|Host    |Slave   |Param",
                "Raw Data:     80 0D 05 00 FF FF 02 00 05 00 01",
                "Actual Data:  7F F2 FA FF 00 00 FD FF FA FF FE",
                "Checksum:     08 5D",
                "Data to send: 7F F2 FA FF 00 00 FD FF FA FF FE 08 5D",
                R"(Loxone:       \x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFF\xFE\x08\x5D)",
            }));
  EXPECT_EQ(result.Description, command.Description);
  EXPECT_EQ(result.Status, "");
  EXPECT_EQ(result.Frame.Loxone, R"(\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFF\xFE\x08\x5D)");
  EXPECT_EQ(result.Bytes, (std::vector<std::uint8_t>{0x7F, 0xF2, 0xFA, 0xFF, 0x00, 0x00, 0xFD, 0xFF,
                                                     0xFA, 0xFF, 0xFE, 0x08, 0x5D}));
  EXPECT_EQ(result.FrameSize, 11u);
}

TEST(CalcFrameTest, NoCommandAsksForOneAndLeavesStatusAndLoxoneAlone) {
  const TCalcResult result = CalcFrame(nullptr, "FF FF 00", "05 00 02", Values{});
  EXPECT_EQ(result.Outcome, TCalcOutcome::NoCommand);
  EXPECT_EQ(result.Lines, std::vector<std::string>{"select command..."});
  EXPECT_EQ(result.Description, "-");
  EXPECT_EQ(result.Status, std::nullopt);
  EXPECT_EQ(result.Frame, TFrameTexts{});
}

struct FrameCase {
  const char* Name;
  const char* Msg;
  const char* Len;
  std::string Host;
  std::string Slave;
  Values Parameters;
  std::string Raw;
  std::string Actual;
  std::string Checksum;
};

class FrameCaseTest : public testing::TestWithParam<FrameCase> {};

TEST_P(FrameCaseTest, EncodesFrame) {
  const FrameCase& c = GetParam();
  TCommand command("Test");
  command.Msg = c.Msg;
  command.Len = c.Len;
  command.Description = "line one\nline two";

  const TCalcResult result = CalcFrame(&command, c.Host, c.Slave, c.Parameters);

  ASSERT_EQ(result.Outcome, TCalcOutcome::Success) << result.Lines.front();
  EXPECT_EQ(result.Frame.Raw, c.Raw);
  EXPECT_EQ(result.Frame.Actual, c.Actual);
  EXPECT_EQ(result.Frame.Checksum, c.Checksum);
  EXPECT_EQ(result.Frame.DataToSend, c.Actual + " " + c.Checksum);
  std::string loxone;
  for (const std::string& group : Groups(result.Frame.DataToSend)) loxone += "\\x" + group;
  EXPECT_EQ(result.Frame.Loxone, loxone);
  ASSERT_EQ(result.Lines.size(), 6u);
  EXPECT_EQ(result.Lines[1], "Raw Data:     " + c.Raw);
  EXPECT_EQ(result.Lines[3], "Checksum:     " + c.Checksum);
  EXPECT_EQ(result.Lines[5], "Loxone:       " + loxone);
  EXPECT_EQ(result.Description, "line one\nline two");
  EXPECT_EQ(result.Status, "");
}

INSTANTIATE_TEST_SUITE_P(Cases, FrameCaseTest,
                         testing::ValuesIn(std::vector<FrameCase>{
                             {"NoParameters",
                              "A4",
                              "0B",
                              "FF FF 00",
                              "05 00 02",
                              {},
                              "A4 0B 05 00 FF FF 02 00 05",
                              "5B F4 FA FF 00 00 FD FF FA",
                              "06 3E"},
                             {"ParameterBytesTakeTwoDigits",
                              "80",
                              "0D",
                              "FF FF 00",
                              "05 00 02",
                              {16, 255},
                              "80 0D 05 00 FF FF 02 00 05 10 FF",
                              "7F F2 FA FF 00 00 FD FF FA EF 00",
                              "07 4F"},
                             {"SmallParametersGetLeadingZero",
                              "80",
                              "0D",
                              "FF FF 00",
                              "05 00 02",
                              {15, 4},
                              "80 0D 05 00 FF FF 02 00 05 0F 04",
                              "7F F2 FA FF 00 00 FD FF FA F0 FB",
                              "08 4B"},
                             {"SumBelow0x100IsOneGroup",
                              "FF",
                              "FF",
                              "FF FF FF",
                              "FF FF FF",
                              {},
                              "FF FF 05 FF FF FF FF FF FF",
                              "00 00 FA 00 00 00 00 00 00",
                              "FA"},
                             {"SumOf0x100IsTwoGroups",
                              "FF",
                              "F9",
                              "FF FF FF",
                              "FF FF FF",
                              {},
                              "FF F9 05 FF FF FF FF FF FF",
                              "00 06 FA 00 00 00 00 00 00",
                              "01 00"},
                             {"EmptyHost",
                              "80",
                              "0D",
                              "",
                              "05 00 02",
                              {0, 1},
                              "80 0D 05 02 00 05 00 01",
                              "7F F2 FA FD FF FA FF FE",
                              "07 5E"},
                             {"BlanksOnlyHost",
                              "80",
                              "0D",
                              "      ",
                              "05 00 02",
                              {0, 1},
                              "80 0D 05 02 00 05 00 01",
                              "7F F2 FA FD FF FA FF FE",
                              "07 5E"},
                             {"FourDigitHostIsTwoBytes",
                              "80",
                              "0D",
                              "FFFF",
                              "05 00 02",
                              {0, 1},
                              "80 0D 05 FF FF 02 00 05 00 01",
                              "7F F2 FA 00 00 FD FF FA FF FE",
                              "07 5E"},
                             {"BothAddressesEmpty",
                              "80",
                              "0D",
                              "",
                              "",
                              {0, 1},
                              "80 0D 05 00 01",
                              "7F F2 FA FF FE",
                              "04 68"},
                             {"LowerCaseKeptInRawOnly",
                              "80",
                              "0D",
                              "ff ff 0a",
                              "05 00 02",
                              {0, 1},
                              "80 0D 05 0a ff ff 02 00 05 00 01",
                              "7F F2 FA F5 00 00 FD FF FA FF FE",
                              "08 53"},
                             {"LongHostReversedBytewise",
                              "80",
                              "0D",
                              "01 02 03 04 05 06",
                              "05 00 02",
                              {0, 1},
                              "80 0D 05 06 05 04 03 02 01 02 00 05 00 01",
                              "7F F2 FA F9 FA FB FC FD FE FD FF FA FF FE",
                              "0D 43"},
                             {"BlanksBetweenWholeBytes",
                              "80",
                              "0D",
                              "FFFF 00",
                              " 0500 02",
                              {0, 1},
                              "80 0D 05 00 FF FF 02 00 05 00 01",
                              "7F F2 FA FF 00 00 FD FF FA FF FE",
                              "08 5D"},
                             {"ControlsAroundAddressIgnored",
                              "80",
                              "0D",
                              "\tFF FF 00\n",
                              "\r05 00 02 ",
                              {0, 1},
                              "80 0D 05 00 FF FF 02 00 05 00 01",
                              "7F F2 FA FF 00 00 FD FF FA FF FE",
                              "08 5D"},
                             {"LowerCaseCodes",
                              "a4",
                              "0b",
                              "FF FF 00",
                              "05 00 02",
                              {},
                              "a4 0b 05 00 FF FF 02 00 05",
                              "5B F4 FA FF 00 00 FD FF FA",
                              "06 3E"},
                         }),
                         [](const auto& info) { return info.param.Name; });

struct FailureCase {
  const char* Name;
  const char* Msg;
  std::string Host;
  std::string Slave;
  Values Parameters;
  TCalcError Error;
};

class FailureCaseTest : public testing::TestWithParam<FailureCase> {};

TEST_P(FailureCaseTest, ReportsInvalidSettingsAndWhy) {
  const FailureCase& c = GetParam();
  TCommand command("Test");
  command.Msg = c.Msg;
  command.Len = "0D";
  command.Description = "kept";

  const TCalcResult result = CalcFrame(&command, c.Host, c.Slave, c.Parameters);

  EXPECT_EQ(result.Outcome, TCalcOutcome::Failure);
  EXPECT_EQ(result.Lines, std::vector<std::string>{"Invalid settings..."});
  EXPECT_EQ(result.Status, "Error while encoding command.");
  EXPECT_EQ(result.Description, "kept");
  EXPECT_EQ(result.Frame, TFrameTexts{});
  EXPECT_TRUE(result.Bytes.empty());
  EXPECT_EQ(result.Error, c.Error);
}

constexpr auto kHost = TCalcInput::Host;
constexpr auto kSlave = TCalcInput::Slave;
constexpr auto kNotHex = TCalcFault::NotHexDigit;
constexpr auto kHalf = TCalcFault::HalfByte;

// An error in a text: an address or a code, with the position and the text at fault.
TCalcError TextError(TCalcInput input, TCalcFault fault, std::size_t position, std::string text) {
  TCalcError error;
  error.Input = input;
  error.Fault = fault;
  error.Position = position;
  error.Text = std::move(text);
  return error;
}

// An error in the value of the parameter numbered "parameter" from 0.
TCalcError ValueError(std::int32_t parameter, TCalcFault fault, std::int64_t value = 0) {
  TCalcError error;
  error.Input = TCalcInput::Parameter;
  error.Parameter = parameter;
  error.Fault = fault;
  error.Value = value;
  return error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailureCaseTest,
    testing::ValuesIn(std::vector<FailureCase>{
        {"HostNotHexadecimal",
         "80",
         "FG FF 00",
         "05 00 02",
         {0, 1},
         TextError(kHost, kNotHex, 2, "G")},
        {"SlaveNotHexadecimal",
         "80",
         "FF FF 00",
         "05 00 0Z",
         {0, 1},
         TextError(kSlave, kNotHex, 8, "Z")},
        {"PositionCountsTrimmedCharacters",
         "80",
         "  F- FF 00",
         "05 00 02",
         {0, 1},
         TextError(kHost, kNotHex, 4, "-")},
        {"HexPrefixInAddress",
         "80",
         "0x FF 00",
         "05 00 02",
         {0, 1},
         TextError(kHost, kNotHex, 2, "x")},
        {"OddHostLeavesHalfByte",
         "80",
         "F FF 00",
         "05 00 02",
         {0, 1},
         TextError(kHost, kHalf, 1, "F")},
        {"OddSingleDigitSlave", "80", "FF FF 00", "5", {0, 1}, TextError(kSlave, kHalf, 1, "5")},
        {"OddRunOfSix", "80", "FFF FF", "05 00 02", {0, 1}, TextError(kHost, kHalf, 1, "FFF")},
        {"EmptiedMaskPosition",
         "80",
         "FF F  00",
         "05 00 02",
         {0, 1},
         TextError(kHost, kHalf, 4, "F")},
        // Two half bytes of neighbouring groups are never joined into one byte.
        {"HalfBytesInTwoGroups",
         "80",
         "F  F  00",
         "05 00 02",
         {0, 1},
         TextError(kHost, kHalf, 1, "F")},
        {"HalfBytesBetweenBlanks",
         "80",
         "1  4 56",
         "05 00 02",
         {0, 1},
         TextError(kHost, kHalf, 1, "1")},
        {"HalfByteLastGroup",
         "80",
         "FF FF 0 ",
         "05 00 02",
         {0, 1},
         TextError(kHost, kHalf, 7, "0")},
        {"TabInsideAddress",
         "80",
         "05\t0 00 02",
         "05 00 02",
         {0, 1},
         TextError(kHost, kNotHex, 3, "\t")},
        {"NonAsciiCharacterCountsOnce",
         "80",
         "\xC3\x84\xC3\x84 FF 00",
         "05 00 02",
         {0, 1},
         TextError(kHost, kNotHex, 1, "\xC3\x84")},
        {"ValueAboveByte",
         "80",
         "FF FF 00",
         "05 00 02",
         {0, 256},
         ValueError(1, TCalcFault::ValueOutOfRange, 256)},
        {"NegativeValue",
         "80",
         "FF FF 00",
         "05 00 02",
         {-1, 1},
         ValueError(0, TCalcFault::ValueOutOfRange, -1)},
        {"SmallestValue",
         "80",
         "FF FF 00",
         "05 00 02",
         {INT32_MIN},
         ValueError(0, TCalcFault::ValueOutOfRange, INT32_MIN)},
        {"ListWithoutChosenItem",
         "80",
         "FF FF 00",
         "05 00 02",
         {0, std::nullopt},
         ValueError(1, TCalcFault::NoChosenItem)},
        {"MessageCodeNotTwoDigits",
         "8",
         "FF FF 00",
         "05 00 02",
         {0, 1},
         TextError(TCalcInput::MessageCode, TCalcFault::NotOneByte, 0, "8")},
        {"MessageCodeNotHexadecimal",
         "8G",
         "FF FF 00",
         "05 00 02",
         {0, 1},
         TextError(TCalcInput::MessageCode, kNotHex, 2, "G")},
        {"DigitsBetweenBlanksAreNotPaired",
         "80",
         "F F F F 0 0",
         "05 00 02",
         {0, 1},
         TextError(kHost, kHalf, 1, "F")},
        // The first fault in reading order: codes, host, slave, then the parameters.
        {"HostBeforeSlaveAndValues",
         "80",
         "FG FF 00",
         "Z",
         {300},
         TextError(kHost, kNotHex, 2, "G")},
    }),
    [](const auto& info) { return info.param.Name; });

TEST(CalcFrameTest, HalfBytesAreRefusedButWholeGroupsMayBeEmptyOrJoined) {
  TCommand command("Test");
  command.Msg = "80";
  command.Len = "0D";
  // The same three bytes however the blanks stand between whole bytes.
  for (const char* host : {"FFFF00", "FF FF 00", " FF FF 00 ", "FF  FF00", "FFFF 00"}) {
    SCOPED_TRACE(host);
    const TCalcResult result = CalcFrame(&command, host, kDefaultSlave, Values{});
    ASSERT_EQ(result.Outcome, TCalcOutcome::Success);
    EXPECT_EQ(result.Frame.Raw, "80 0D 05 00 FF FF 02 00 05");
  }
  // An emptied group leaves two bytes; nothing of the others moves.
  const TCalcResult emptied = CalcFrame(&command, "   FF 00", kDefaultSlave, Values{});
  ASSERT_EQ(emptied.Outcome, TCalcOutcome::Success);
  EXPECT_EQ(emptied.Frame.Raw, "80 0D 05 00 FF 02 00 05");
  const TCalcResult middle = CalcFrame(&command, "FF    00", kDefaultSlave, Values{});
  EXPECT_EQ(middle.Frame.Raw, "80 0D 05 00 FF 02 00 05");
}

TEST(ReadAddressTest, GivesTheBytesAsWrittenOrTheCalculationsError) {
  EXPECT_EQ(ReadAddress("FF FF 00", TCalcInput::Host).Bytes,
            (std::vector<std::uint8_t>{0xFF, 0xFF, 0x00}));
  EXPECT_EQ(ReadAddress("0a0B 0c", TCalcInput::Slave).Bytes,
            (std::vector<std::uint8_t>{0x0A, 0x0B, 0x0C}));
  EXPECT_EQ(ReadAddress("FFFF", TCalcInput::Host).Bytes, (std::vector<std::uint8_t>{0xFF, 0xFF}));
  EXPECT_TRUE(ReadAddress(" \t", TCalcInput::Host).Bytes.empty());
  EXPECT_FALSE(ReadAddress("", TCalcInput::Host).Error.has_value());

  const TAddressBytes bad = ReadAddress("05 0 02", TCalcInput::Slave);
  EXPECT_TRUE(bad.Bytes.empty());
  ASSERT_TRUE(bad.Error.has_value());
  EXPECT_EQ(*bad.Error, TextError(kSlave, kHalf, 4, "0"));
}

TEST(DescribeCalcFaultTest, SaysWhatIsWrongInWords) {
  EXPECT_EQ(DescribeCalcFault(TextError(kHost, kNotHex, 2, "G")),
            "\"G\" at position 2 is not a hexadecimal digit");
  EXPECT_EQ(DescribeCalcFault(TextError(kHost, kHalf, 1, "1")),
            "\"1\" at position 1 is half a byte: every byte takes two hexadecimal digits");
  EXPECT_EQ(DescribeCalcFault(TextError(TCalcInput::LengthCode, TCalcFault::NotOneByte, 0, "800")),
            "\"800\" is not one byte of two hexadecimal digits");
  EXPECT_EQ(DescribeCalcFault(ValueError(0, TCalcFault::ValueOutOfRange, 300)),
            "value 300 does not fit in a byte (0 to 255)");
  EXPECT_EQ(DescribeCalcFault(ValueError(0, TCalcFault::NoChosenItem)), "no option is chosen");
}

// Every built-in command with the values its editors start with: the frame has one group per
// code, address byte and parameter, each sent byte inverts its raw byte, and the checksum is
// their sum.
TEST(CalcFrameTest, EveryBuiltInCommandEncodesConsistently) {
  TListCommands commands;
  AddBuiltInCommands(commands);
  for (std::int32_t i = 0; i < commands.Count(); ++i) {
    const TCommand& command = commands.Items(i);
    SCOPED_TRACE(command.MessageName);
    Values values;
    for (const auto& property : command.Properties) values.push_back(StartValue(*property));

    const TCalcResult result = CalcFrame(&command, kDefaultHost, kDefaultSlave, values);

    ASSERT_EQ(result.Outcome, TCalcOutcome::Success);
    EXPECT_EQ(result.Frame.DataToSend, ByteText(result.Bytes));
    EXPECT_EQ(result.FrameSize, 9u + values.size());
    const std::vector<std::string> raw = Groups(result.Frame.Raw);
    const std::vector<std::string> actual = Groups(result.Frame.Actual);
    ASSERT_EQ(raw.size(), 9u + values.size());
    ASSERT_EQ(actual.size(), raw.size());
    EXPECT_EQ(raw[0], command.Msg);
    EXPECT_EQ(raw[1], command.Len);
    unsigned sum = 0;
    for (std::size_t g = 0; g < raw.size(); ++g) {
      const unsigned inverted = std::stoul(actual[g], nullptr, 16);
      EXPECT_EQ(inverted, 0xFFu - std::stoul(raw[g], nullptr, 16)) << "group " << g;
      sum += inverted;
    }
    // Two bytes for every built-in command with three-byte addresses.
    EXPECT_GE(sum, 0x100u);
    EXPECT_LE(sum, 0xFFFu);
    std::ostringstream checksum;
    checksum << std::uppercase << std::hex << std::setfill('0') << std::setw(2) << (sum >> 8) << ' '
             << std::setw(2) << (sum & 0xFF);
    EXPECT_EQ(result.Frame.Checksum, checksum.str());
    EXPECT_EQ(result.Frame.Loxone.size(), 4 * (raw.size() + 2));
    EXPECT_EQ(result.Lines[0], kHeaderLine);
  }
}

}  // namespace
