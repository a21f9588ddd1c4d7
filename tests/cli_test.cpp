#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "FrameCli.h"

extern char** environ;

namespace {

using Args = std::vector<std::string>;

struct RunResult {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

// Runs the command line in this process, as the binary's main() does, with "input" as stdin.
RunResult RunCli(const Args& args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  RunResult result;
  result.ExitCode = RunFrameCli(args, in, out, err);
  result.Out = out.str();
  result.Err = err.str();
  return result;
}

constexpr char kWorkedExample[] =
    "              Cmd  |Re|Host    |Slave   |Param\n"
    "Raw Data:     80 0D 05 00 FF FF 02 00 05 00 01\n"
    "Actual Data:  7F F2 FA FF 00 00 FD FF FA FF FE\n"
    "Checksum:     08 5D\n"
    "Data to send: 7F F2 FA FF 00 00 FD FF FA FF FE 08 5D\n"
    "Loxone:       \\x7F\\xF2\\xFA\\xFF\\x00\\x00\\xFD\\xFF\\xFA\\xFF\\xFE\\x08\\x5D\n";
constexpr char kWorkedLoxone[] = R"(\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFF\xFE\x08\x5D)";

constexpr char kInvalid[] = "Invalid settings...\n";
constexpr char kEncodeError[] = "Error while encoding command.\n";
constexpr char kEncodeHint[] = "Try 'brelvik-frame encode --help' for more information.\n";

TEST(EncodeTest, WorkedExampleWithDefaults) {
  const RunResult run = RunCli({"encode", "CTRL_POSITION"});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, kWorkedExample);
  EXPECT_EQ(run.Err, "");

  EXPECT_EQ(
      RunCli({"encode", "--host", "FF FF 00", "--slave=05 00 02", "CTRL_POSITION", "0", "0x1"}).Out,
      kWorkedExample);
}

struct LoxoneCase {
  const char* Name;
  Args Arguments;
  std::string Loxone;
};

class EncodeLoxoneTest : public testing::TestWithParam<LoxoneCase> {};

TEST_P(EncodeLoxoneTest, PrintsTheLoxoneString) {
  const RunResult run = RunCli(GetParam().Arguments);
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(run.Out, GetParam().Loxone + "\n");
  EXPECT_EQ(run.Err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EncodeLoxoneTest,
    testing::ValuesIn(std::vector<LoxoneCase>{
        {"Defaults", {"encode", "--loxone", "CTRL_POSITION"}, kWorkedLoxone},
        {"NameLetterCaseIgnored", {"encode", "--loxone", "ctrl_position"}, kWorkedLoxone},
        {"OptionsAfterTheValues", {"encode", "CTRL_POSITION", "0", "1", "--loxone"}, kWorkedLoxone},
        {"ActionByNumber",
         {"encode", "--loxone", "CTRL_POSITION", "0", "3"},
         R"(\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFF\xFC\x08\x5B)"},
        {"ActionByLabel",
         {"encode", "--loxone", "CTRL_POSITION", "0", "STOP"},
         R"(\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFF\xFC\x08\x5B)"},
        {"LabelLetterCaseIgnored",
         {"encode", "--loxone", "CTRL_POSITION", "0", "stop"},
         R"(\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFF\xFC\x08\x5B)"},
        {"LabelWithBlanks",
         {"encode", "--loxone", "CTRL_TILT", "0", "tilt -", "1"},
         R"(\x7E\xF1\xFA\xFF\x00\x00\xFD\xFF\xFA\xFF\xFE\xFE\x09\x59)"},
        {"DoubleDashBeforeTheValues",
         {"encode", "--loxone", "CTRL_POSITION", "--", "0", "3"},
         R"(\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFF\xFC\x08\x5B)"},
        {"DoubleDashAmongTheValues",
         {"encode", "--loxone", "CTRL_POSITION", "0", "--", "3"},
         R"(\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFF\xFC\x08\x5B)"},
        {"DoubleDashBeforeTheName",
         {"encode", "--loxone", "--", "CTRL_POSITION", "0", "3"},
         R"(\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFF\xFC\x08\x5B)"},
        {"AddressWithoutBlanks",
         {"encode", "--loxone", "--host", "FFFF00", "CTRL_POSITION"},
         kWorkedLoxone},
        {"UncheckedPassesAnyByteOn",
         {"encode", "--loxone", "--unchecked", "CTRL_POSITION", "0x14", "200"},
         R"(\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xEB\x37\x07\x82)"},
    }),
    [](const auto& info) { return info.param.Name; });

TEST(EncodeTest, JsonKeepsItsKeysAndAddsTheInputs) {
  const RunResult run = RunCli({"encode", "--json", "CTRL_POSITION", "0", "STOP"});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out,
            "{\n"
            "  \"command\": \"CTRL_POSITION\",\n"
            "  \"ok\": true,\n"
            "  \"raw\": \"80 0D 05 00 FF FF 02 00 05 00 03\",\n"
            "  \"actual\": \"7F F2 FA FF 00 00 FD FF FA FF FC\",\n"
            "  \"checksum\": \"08 5B\",\n"
            "  \"data_to_send\": \"7F F2 FA FF 00 00 FD FF FA FF FC 08 5B\",\n"
            "  \"loxone\": \"\\\\x7F\\\\xF2\\\\xFA\\\\xFF\\\\x00\\\\x00\\\\xFD\\\\xFF\\\\xFA\\\\xFF"
            "\\\\xFC\\\\x08\\\\x5B\",\n"
            "  \"host\": \"FF FF 00\",\n"
            "  \"slave\": \"05 00 02\",\n"
            "  \"values\": [\n    0,\n    3\n  ],\n"
            "  \"parameters\": [\n"
            "    {\n      \"name\": \"RTS channel selection\",\n      \"value\": 0\n    },\n"
            "    {\n      \"name\": \"Action\",\n      \"value\": 3,\n      \"label\": \"STOP\"\n"
            "    }\n"
            "  ],\n"
            "  \"bytes\": [\n    127,\n    242,\n    250,\n    255,\n    0,\n    0,\n    253,\n"
            "    255,\n    250,\n    255,\n    252,\n    8,\n    91\n  ]\n"
            "}\n");
}

TEST(EncodeTest, JsonOfDefaultsAndOfAValueOfNoOption) {
  using nlohmann::json;
  const json defaults = json::parse(RunCli({"encode", "--json", "SET_TILT_FRAMECOUNT", "3"}).Out);
  EXPECT_EQ(defaults["values"], json::parse("[3, 0, 0]"));
  EXPECT_EQ(defaults["parameters"][1]["name"], "US mode");
  EXPECT_FALSE(defaults["parameters"][1].contains("label"));

  const json unchecked =
      json::parse(RunCli({"encode", "--json", "--unchecked", "CTRL_POSITION", "0", "9"}).Out);
  EXPECT_EQ(unchecked["ok"], true);
  EXPECT_EQ(unchecked["parameters"][1]["label"], nullptr);
}

TEST(EncodeTest, EmptyAddressTextsArePassedOnWithAWarning) {
  for (const Args& args : {Args{"encode", "--host", "", "CTRL_POSITION"},
                           Args{"encode", "--host=", "CTRL_POSITION"}}) {
    const RunResult run = RunCli(args);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("Raw Data:     80 0D 05 02 00 05 00 01\n"), std::string::npos)
        << run.Out;
    EXPECT_NE(run.Out.find("Checksum:     07 5E\n"), std::string::npos);
    EXPECT_EQ(run.Err,
              "brelvik-frame: warning: host \"\" gives 0 bytes; the frame layout expects 3\n");
  }
  const RunResult longSlave = RunCli({"encode", "--loxone", "--slave", "01020304", "GET_DCT_LOCK"});
  EXPECT_EQ(longSlave.ExitCode, 0);
  EXPECT_EQ(longSlave.Err,
            "brelvik-frame: warning: slave \"01020304\" gives 4 bytes; the frame layout expects "
            "3\n");
}

TEST(EncodeTest, MissingValuesTakeTheEditorsStartValues) {
  // SET_TILT_FRAMECOUNT starts below the minimum of two of its parameters: 0, 0, 0.
  const RunResult run = RunCli({"encode", "SET_TILT_FRAMECOUNT", "3"});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_NE(run.Out.find("Raw Data:     91 0E 05 00 FF FF 02 00 05 03 00 00\n"), std::string::npos)
      << run.Out;
  // SET_CHANNEL_MODE's lists start on items 1, 0 and 1, whose values are 1, 0 and 1.
  const RunResult mode = RunCli({"encode", "SET_CHANNEL_MODE"});
  EXPECT_NE(mode.Out.find("02 00 05 00 01 00 01\n"), std::string::npos) << mode.Out;
}

// One row in each format: channel 3, DOWN/OFF, the default addresses.
const Args kOneRow = {"table", "CTRL_POSITION",  "--set", "RTS channel selection=3",
                      "--set", "Action=DOWN/OFF"};
constexpr char kOneRowData[] = "7F F2 FA FF 00 00 FD FF FA FC FD 08 59";
constexpr char kOneRowLoxone[] = R"(\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFC\xFD\x08\x59)";

Args With(Args args, const Args& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

struct TableCase {
  const char* Name;
  Args Arguments;
  std::string Out;
};

class TableFormatTest : public testing::TestWithParam<TableCase> {};

TEST_P(TableFormatTest, WritesExactlyTheseColumns) {
  const RunResult run = RunCli(GetParam().Arguments);
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(run.Out, GetParam().Out);
  EXPECT_EQ(run.Err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Formats, TableFormatTest,
    testing::ValuesIn(std::vector<TableCase>{
        {"CsvByDefault", kOneRow,
         "command,category,values,parameters,data_to_send,loxone\n"
         "CTRL_POSITION,Control,3 2,RTS channel selection=3; Action=2 (DOWN/OFF)," +
             std::string(kOneRowData) + "," + kOneRowLoxone + "\n"},
        {"CsvWithSemicolonsQuotesTheParameters", With(kOneRow, {"--delimiter", ";"}),
         "command;category;values;parameters;data_to_send;loxone\n"
         "CTRL_POSITION;Control;3 2;\"RTS channel selection=3; Action=2 (DOWN/OFF)\";" +
             std::string(kOneRowData) + ";" + kOneRowLoxone + "\n"},
        {"Tsv", With(kOneRow, {"--format", "tsv"}),
         "command\tcategory\tvalues\tparameters\tdata_to_send\tloxone\n"
         "CTRL_POSITION\tControl\t3 2\tRTS channel selection=3; Action=2 (DOWN/OFF)\t" +
             std::string(kOneRowData) + "\t" + kOneRowLoxone + "\n"},
        {"Markdown", With(kOneRow, {"--format", "markdown"}),
         "| command | category | values | parameters | data_to_send | loxone |\n"
         "| --- | --- | --- | --- | --- | --- |\n"
         "| `CTRL_POSITION` | Control | 3 2 | RTS channel selection=3; Action=2 (DOWN/OFF) | `" +
             std::string(kOneRowData) + "` | `" + kOneRowLoxone + "` |\n"},
        {"Json", With(kOneRow, {"--format=json"}),
         "[\n  {\n    \"command\": \"CTRL_POSITION\",\n    \"category\": \"Control\",\n"
         "    \"values\": [\n      3,\n      2\n    ],\n"
         "    \"parameters\": [\n"
         "      {\n        \"name\": \"RTS channel selection\",\n        \"value\": 3\n      },\n"
         "      {\n        \"name\": \"Action\",\n        \"value\": 2,\n"
         "        \"label\": \"DOWN/OFF\"\n      }\n    ],\n"
         "    \"data_to_send\": \"" +
             std::string(kOneRowData) +
             "\",\n"
             "    \"loxone\": \"\\\\x7F\\\\xF2\\\\xFA\\\\xFF\\\\x00\\\\x00\\\\xFD\\\\xFF"
             "\\\\xFA\\\\xFC\\\\xFD\\\\x08\\\\x59\"\n  }\n]\n"},
        {"CommandWithoutParameters",
         {"table", "get_dct_lock", "--format", "tsv"},
         "command\tcategory\tvalues\tparameters\tdata_to_send\tloxone\n"
         "GET_DCT_LOCK\tStatus\t\t\t5B F4 FA FF 00 00 FD FF FA 06 3E\t"
         "\\x5B\\xF4\\xFA\\xFF\\x00\\x00\\xFD\\xFF\\xFA\\x06\\x3E\n"},
    }),
    [](const auto& info) { return info.param.Name; });

// The rows of a whole installation, each what encode gives for its values.
TEST(TableTest, EveryRowEqualsEncodeForItsValues) {
  const Args addresses = {"--host", "FF FF 01", "--slave", "05 00 03"};
  const RunResult run = RunCli(With({"table", "--format", "json"}, addresses));
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  const nlohmann::json rows = nlohmann::json::parse(run.Out);
  ASSERT_EQ(rows.size(), 429u);
  std::vector<std::string> order;
  for (const nlohmann::json& row : rows) {
    const std::string name = row["command"];
    if (order.empty() || order.back() != name) order.push_back(name);
    Args encode = With({"encode", "--json"}, addresses);
    encode.push_back(name);
    for (const nlohmann::json& value : row["values"]) encode.push_back(value.dump());
    const nlohmann::json expected = nlohmann::json::parse(RunCli(encode).Out);
    SCOPED_TRACE(row.dump());
    EXPECT_EQ(row["data_to_send"], expected["data_to_send"]);
    EXPECT_EQ(row["loxone"], expected["loxone"]);
    EXPECT_EQ(row["parameters"], expected["parameters"]);
  }
  // Each command once, in catalogue order.
  EXPECT_EQ(order.size(), 15u);
  EXPECT_EQ(order.front(), "SET_CHANNEL_MODE");
  EXPECT_EQ(order.back(), "GET_DCT_LOCK");

  // The other formats carry the same rows, one line each after the header.
  for (const char* format : {"csv", "tsv"}) {
    const std::string text = RunCli({"table", "--format", format}).Out;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 430) << format;
  }
  const std::string markdown = RunCli({"table", "--format", "markdown"}).Out;
  EXPECT_EQ(std::count(markdown.begin(), markdown.end(), '\n'), 431);
}

TEST(TableTest, SetsApplyToEveryCommandThatHasTheParameter) {
  // Two channels for every command with a channel; ST_DCT_LOCK and GET_DCT_LOCK have none.
  const RunResult run = RunCli({"table", "--set", "RTS channel selection=0,8", "--format", "json"});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  const nlohmann::json rows = nlohmann::json::parse(run.Out);
  // 429 rows with 16 channels each, but the 13 rows of the two commands without: (429-13)/8+13.
  EXPECT_EQ(rows.size(), 65u);
  for (const nlohmann::json& row : rows) {
    if (row["command"] == "ST_DCT_LOCK" || row["command"] == "GET_DCT_LOCK") continue;
    const int channel = row["values"][0];
    EXPECT_TRUE(channel == 0 || channel == 8) << row.dump();
  }

  // Options before the names, in the order given; positions with one command.
  const RunResult two = RunCli(
      {"table", "--set", "Action=STOP,up/on", "--set=1=2-3", "CTRL_POSITION", "--format", "tsv"});
  ASSERT_EQ(two.ExitCode, 0) << two.Err;
  std::vector<std::string> values;
  std::istringstream lines(two.Out);
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line)) values.push_back(line.substr(line.find('\t', 14) + 1, 3));
  EXPECT_EQ(values, (std::vector<std::string>{"2 3", "2 1", "3 3", "3 1"}));

  // Several names, in the order given.
  const std::string both =
      RunCli({"table", "SET_IP", "GET_DCT_LOCK", "--set", "rts channel selection=4"}).Out;
  EXPECT_NE(both.find("\nSET_IP,Setting,4,RTS channel selection=4,"), std::string::npos) << both;
  EXPECT_NE(both.find("\nGET_DCT_LOCK,Status,,,5B F4"), std::string::npos) << both;
}

TEST(TableTest, AddressOfOtherThanThreeBytesIsTabulatedWithAWarning) {
  const RunResult run = RunCli({"table", "--slave", "05 00", "GET_DCT_LOCK"});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_NE(run.Out.find("\nGET_DCT_LOCK,Status,,,5B F4 FA FF 00 00 FF FA 05 41,"),
            std::string::npos)
      << run.Out;
  EXPECT_EQ(run.Err,
            "brelvik-frame: warning: slave \"05 00\" gives 2 bytes; the frame layout expects 3\n");
}

struct FailureCase {
  const char* Name;
  Args Arguments;
  int ExitCode;
  std::string Out;  // Exact stdout.
  std::string Err;  // Exact stderr.
};

class FailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(FailureTest, ExitsWithCodeAndMessage) {
  const FailureCase& c = GetParam();
  const RunResult run = RunCli(c.Arguments);
  EXPECT_EQ(run.ExitCode, c.ExitCode) << run.Out << run.Err;
  EXPECT_EQ(run.Out, c.Out);
  EXPECT_EQ(run.Err, c.Err);
}

// "Error while encoding command.", then the reason in the one form of every error.
std::string EncodeFailure(const std::string& reason) {
  return kEncodeError + ("brelvik-frame: " + reason + "\n") + kEncodeHint;
}

std::string UsageError(const std::string& message, const std::string& command = "encode") {
  return "brelvik-frame: " + message + "\nTry 'brelvik-frame" +
         (command.empty() ? "" : " " + command) + " --help' for more information.\n";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailureTest,
    testing::ValuesIn(std::vector<FailureCase>{
        {"HostNotHexadecimal",
         {"encode", "--host", "FG FF 00", "CTRL_POSITION"},
         1,
         kInvalid,
         EncodeFailure("host \"FG FF 00\": \"G\" at position 2 is not a hexadecimal digit")},
        {"OddSlave",
         {"encode", "--slave", "05 00 2", "CTRL_POSITION"},
         1,
         kInvalid,
         EncodeFailure("slave \"05 00 2\": \"2\" at position 7 is half a byte: every byte takes "
                       "two hexadecimal digits")},
        {"HalfBytesOfTwoGroupsAreNotJoined",
         {"encode", "--host", "1  4 56", "CTRL_POSITION"},
         1,
         kInvalid,
         EncodeFailure("host \"1  4 56\": \"1\" at position 1 is half a byte: every byte takes two "
                       "hexadecimal digits")},
        {"ControlCharactersAreEscapedInTheEcho",
         {"encode", "--host", "FF\x1b[31m", "CTRL_POSITION"},
         1,
         kInvalid,
         EncodeFailure("host \"FF\\x1B[31m\": \"\x1b\" at position 3 is not a hexadecimal digit")},
        {"LongAddressIsCutInTheEcho",
         {"encode", "--host", std::string(70, 'F') + "G", "CTRL_POSITION"},
         1,
         kInvalid,
         EncodeFailure("host \"" + std::string(60, 'F') +
                       "...\": \"G\" at position 71 is not a hexadecimal digit")},
        {"UncheckedAboveByte",
         {"encode", "--unchecked", "CTRL_POSITION", "256"},
         1,
         kInvalid,
         EncodeFailure("parameter 1 \"RTS channel selection\" of CTRL_POSITION: value 256 does not "
                       "fit in a byte (0 to 255)")},
        {"UncheckedNegativeWithoutDoubleDash",
         {"encode", "--unchecked", "CTRL_POSITION", "-1"},
         1,
         kInvalid,
         EncodeFailure("parameter 1 \"RTS channel selection\" of CTRL_POSITION: value -1 does not "
                       "fit in a byte (0 to 255)")},
        {"UncheckedBeyond64Bits",
         {"encode", "--unchecked", "CTRL_POSITION", "99999999999999999999999"},
         1,
         kInvalid,
         EncodeFailure("parameter 1 \"RTS channel selection\" of CTRL_POSITION: value "
                       "99999999999999999999999 does not fit in a byte (0 to 255)")},
        {"LoxoneFailurePrintsNothing",
         {"encode", "--loxone", "--host", "GG", "CTRL_POSITION"},
         1,
         "",
         EncodeFailure("host \"GG\": \"G\" at position 1 is not a hexadecimal digit")},
        {"JsonFailureGivesTheReason",
         {"encode", "--json", "--host", "GG", "GET_DCT_LOCK"},
         1,
         "{\n  \"command\": \"GET_DCT_LOCK\",\n  \"ok\": false,\n  \"error\": \"Invalid "
         "settings...\",\n  \"reason\": {\n    \"input\": \"host\",\n    \"problem\": "
         "\"not_hex_digit\",\n    \"position\": 1,\n    \"text\": \"G\",\n    \"message\": "
         "\"host \\\"GG\\\": \\\"G\\\" at position 1 is not a hexadecimal digit\"\n  },\n"
         "  \"host\": \"GG\",\n  \"slave\": \"05 00 02\",\n  \"values\": [],\n"
         "  \"parameters\": [],\n  \"bytes\": []\n}\n",
         EncodeFailure("host \"GG\": \"G\" at position 1 is not a hexadecimal digit")},
        {"UnknownCommand",
         {"encode", "CTRL_NOPE"},
         2,
         "",
         UsageError("unknown command \"CTRL_NOPE\"; 'brelvik-frame list' shows the known "
                    "commands")},
        {"UnknownSubcommand", {"bogus"}, 2, "", UsageError("unknown command \"bogus\"", "")},
        {"UnknownSubcommandAfterAnOption",
         {"--json", "bogus"},
         2,
         "",
         UsageError("unknown command \"bogus\"", "")},
        {"HelpOfAnUnknownCommand",
         {"help", "bogus"},
         2,
         "",
         UsageError("unknown command \"bogus\"", "")},
        {"UnknownOption",
         {"encode", "--bogus", "CTRL_POSITION"},
         2,
         "",
         UsageError("the following argument was not expected: --bogus")},
        {"NotANumber",
         {"encode", "CTRL_POSITION", "abc"},
         2,
         "",
         UsageError("\"abc\" for \"RTS channel selection\" of CTRL_POSITION is not a number: give "
                    "decimal digits or 0x and hexadecimal digits")},
        {"HexWithoutDigits",
         {"encode", "CTRL_POSITION", "0x"},
         2,
         "",
         UsageError("\"0x\" for \"RTS channel selection\" of CTRL_POSITION is not a number: give "
                    "decimal digits or 0x and hexadecimal digits")},
        {"EmptyValue",
         {"encode", "CTRL_POSITION", ""},
         2,
         "",
         UsageError("\"\" for \"RTS channel selection\" of CTRL_POSITION is not a number: give "
                    "decimal digits or 0x and hexadecimal digits")},
        {"LabelOfNoOption",
         {"encode", "CTRL_POSITION", "0", "HALT"},
         2,
         "",
         UsageError("\"HALT\" for \"Action\" of CTRL_POSITION is neither a number nor one of its "
                    "labels: UP/ON, DOWN/OFF, STOP, Favorite position/light level")},
        {"AboveMaximum",
         {"encode", "CTRL_POSITION", "16"},
         2,
         "",
         UsageError("value 16 for \"RTS channel selection\" of CTRL_POSITION is out of range: "
                    "allowed 0 to 15 (--unchecked passes it on anyway)")},
        {"HugeValueShownAsTyped",
         {"encode", "CTRL_POSITION", "99999999999999999999"},
         2,
         "",
         UsageError("value 99999999999999999999 for \"RTS channel selection\" of CTRL_POSITION is "
                    "out of range: allowed 0 to 15 (--unchecked passes it on anyway)")},
        {"BelowMinimum",
         {"encode", "SET_TILT_FRAMECOUNT", "0", "3"},
         2,
         "",
         UsageError("value 3 for \"US mode\" of SET_TILT_FRAMECOUNT is out of range: allowed 4 to "
                    "255 (--unchecked passes it on anyway)")},
        {"NotAnOption",
         {"encode", "CTRL_POSITION", "0", "0"},
         2,
         "",
         UsageError("value 0 for \"Action\" of CTRL_POSITION is not one of its options: 1 (UP/ON), "
                    "2 (DOWN/OFF), 3 (STOP), 4 (Favorite position/light level) (--unchecked "
                    "passes it on anyway)")},
        {"TooManyValues",
         {"encode", "CTRL_POSITION", "0", "1", "2"},
         2,
         "",
         UsageError("CTRL_POSITION takes 2 value(s), 3 given")},
        {"ValuesForCommandWithout",
         {"encode", "GET_DCT_LOCK", "0"},
         2,
         "",
         UsageError("GET_DCT_LOCK takes 0 value(s), 1 given")},
        {"OptionAfterDoubleDash",
         {"encode", "CTRL_POSITION", "--", "--json"},
         2,
         "",
         UsageError("\"--json\" after \"--\" is not a value: a value is a number or an option's "
                    "label")},
        {"JsonAndLoxone",
         {"encode", "--json", "--loxone", "CTRL_POSITION"},
         2,
         "",
         UsageError("--json excludes --loxone")},
        {"MissingName", {"encode"}, 2, "", UsageError("NAME is required")},
        {"NoSubcommand", {}, 2, "", UsageError("a subcommand is required", "")},
        {"TableUnknownCommand",
         {"table", "CTRL_POSITION", "CTRL_NOPE"},
         2,
         "",
         UsageError("unknown command \"CTRL_NOPE\"; 'brelvik-frame list' shows the known commands",
                    "table")},
        {"TableCommandTwice",
         {"table", "CTRL_POSITION", "ctrl_position"},
         2,
         "",
         UsageError("CTRL_POSITION is named twice; each command gives its rows once", "table")},
        {"TableSetWithoutEquals",
         {"table", "--set", "Action"},
         2,
         "",
         UsageError("--set \"Action\" is not PARAM=VALUES, e.g. --set \"RTS channel "
                    "selection=0-3,8\"",
                    "table")},
        {"TableUnknownParameterOfOneCommand",
         {"table", "CTRL_POSITION", "--set", "Speed=1"},
         2,
         "",
         UsageError("--set \"Speed=1\": \"Speed\" is no parameter of CTRL_POSITION; the "
                    "parameters of CTRL_POSITION are 1 \"RTS channel selection\", 2 \"Action\"",
                    "table")},
        {"TablePositionBeyondTheParameters",
         {"table", "GET_DCT_LOCK", "--set", "1=0"},
         2,
         "",
         UsageError("--set \"1=0\": \"1\" is no parameter of GET_DCT_LOCK; GET_DCT_LOCK has no "
                    "parameters",
                    "table")},
        {"TableUnknownParameterOfAllCommands",
         {"table", "--set", "Speed=1"},
         2,
         "",
         UsageError("--set \"Speed=1\": no command of the table has a parameter \"Speed\"; "
                    "'brelvik-frame show NAME' lists the parameters of a command",
                    "table")},
        {"TablePositionWithSeveralCommands",
         {"table", "CTRL_POSITION", "CTRL_TILT", "--set", "2=1"},
         2,
         "",
         UsageError("--set \"2=1\": a parameter given by its position needs exactly one command "
                    "NAME; give the parameter's name instead",
                    "table")},
        {"TableEmptySet",
         {"table", "SET_IP", "--set", "1= ,"},
         2,
         "",
         UsageError("--set \"1= ,\" gives no value for \"RTS channel selection\" of SET_IP: give "
                    "at least one, allowed 0 to 15",
                    "table")},
        {"TableValueOutOfRange",
         {"table", "SET_IP", "--set", "1=0,16"},
         2,
         "",
         UsageError("value 16 for \"RTS channel selection\" of SET_IP is out of range: allowed 0 "
                    "to 15",
                    "table")},
        {"TableRangePastTheOptions",
         {"table", "CTRL_POSITION", "--set", "Action=1-5"},
         2,
         "",
         UsageError("value 5 of range \"1-5\" for \"Action\" of CTRL_POSITION is not one of its "
                    "options: 1 (UP/ON), 2 (DOWN/OFF), 3 (STOP), 4 (Favorite position/light level)",
                    "table")},
        {"TableLabelOfNoOption",
         {"table", "CTRL_POSITION", "--set", "Action=HALT"},
         2,
         "",
         UsageError("\"HALT\" for \"Action\" of CTRL_POSITION is neither a number, a range A-B nor "
                    "one of its labels: UP/ON, DOWN/OFF, STOP, Favorite position/light level",
                    "table")},
        {"TableLabelMissingInOneOfTheCommands",
         {"table", "--set", "Action=STOP"},
         2,
         "",
         UsageError("\"STOP\" for \"Action\" of CTRL_TILT is neither a number, a range A-B nor "
                    "one of its labels: Tilt +, Tilt - (--set applies to every command of the "
                    "table that has the parameter: name the commands to leave the others out)",
                    "table")},
        {"TableNotANumber",
         {"table", "SET_IP", "--set", "1=one"},
         2,
         "",
         UsageError("\"one\" for \"RTS channel selection\" of SET_IP is neither a number nor a "
                    "range A-B of numbers: give decimal digits or 0x and hexadecimal digits",
                    "table")},
        {"TableBackwardRange",
         {"table", "SET_IP", "--set", "1=9-2"},
         2,
         "",
         UsageError("range \"9-2\" for \"RTS channel selection\" of SET_IP ends below its start: "
                    "give the smaller value first",
                    "table")},
        {"TableSetTwice",
         {"table", "SET_IP", "--set", "1=1", "--set", "rts channel selection=2"},
         2,
         "",
         UsageError("--set \"1=1\" and --set \"rts channel selection=2\" both give \"RTS channel "
                    "selection\" of SET_IP: give all its values in one",
                    "table")},
        {"TableTooManyValues",
         {"table", "SET_TILT_FRAMECOUNT", "--set", "US mode=4-255,4-99999999"},
         2,
         "",
         UsageError("--set \"US mode=4-255,4-99999999\" lists more than 100000 values", "table")},
        {"TableHostNotHexadecimal",
         {"table", "--host", "FG FF 00"},
         2,
         "",
         UsageError("host \"FG FF 00\": \"G\" at position 2 is not a hexadecimal digit", "table")},
        {"TableSlaveHalfByte",
         {"table", "SET_IP", "--slave", "05 00 2"},
         2,
         "",
         UsageError("slave \"05 00 2\": \"2\" at position 7 is half a byte: every byte takes two "
                    "hexadecimal digits",
                    "table")},
        {"TableUnknownFormat",
         {"table", "--format", "xml"},
         2,
         "",
         UsageError("--format: xml not in {csv,tsv,json,markdown}", "table")},
        {"TableDelimiterOfTwoCharacters",
         {"table", "--delimiter", "ab"},
         2,
         "",
         UsageError("--delimiter \"ab\" is not allowed: give one punctuation mark other than the "
                    "double quote, e.g. ';', or a blank or a tab",
                    "table")},
        {"TableDelimiterQuote",
         {"table", "--delimiter", "\""},
         2,
         "",
         UsageError("--delimiter \"\"\" is not allowed: give one punctuation mark other than the "
                    "double quote, e.g. ';', or a blank or a tab",
                    "table")},
        {"TableDelimiterLetter",
         {"table", "--delimiter", "x"},
         2,
         "",
         UsageError("--delimiter \"x\" is not allowed: give one punctuation mark other than the "
                    "double quote, e.g. ';', or a blank or a tab",
                    "table")},
        {"TableDelimiterOutsideCsv",
         {"table", "--format", "tsv", "--delimiter", ";"},
         2,
         "",
         UsageError("--delimiter applies to --format csv only, not to tsv", "table")},
        {"ShowUnknown",
         {"show", "NOPE"},
         2,
         "",
         UsageError("unknown command \"NOPE\"; 'brelvik-frame list' shows the known commands",
                    "show")},
    }),
    [](const auto& info) { return info.param.Name; });

TEST(ListTest, CommandsInCatalogueOrder) {
  const RunResult run = RunCli({"list"});
  EXPECT_EQ(run.ExitCode, 0);
  const std::vector<std::string> names = {
      "SET_CHANNEL_MODE",    "SET_TILT_FRAMECOUNT", "SET_DIM_FRAMECOUNT", "SET_SUN_AUTO",
      "ST_DCT_LOCK",         "SET_CHANNEL",         "SET_OPEN_PROG",      "SET_IP",
      "CTRL_POSITION",       "CTRL_TILT",           "CTRL_DIM",           "GET_CHANNEL_MODE",
      "GET_TILT_FRAMECOUNT", "GET_DIM_FRAMECOUNT",  "GET_DCT_LOCK"};
  std::size_t from = 0;
  for (const std::string& name : names) {
    const std::size_t at = run.Out.find("\n" + name + " ", from);
    ASSERT_NE(at, std::string::npos) << name;
    from = at + 1;
  }
  EXPECT_NE(run.Out.find("ST_DCT_LOCK          Setting  94  0C  2\n"), std::string::npos)
      << run.Out;

  const RunResult json = RunCli({"list", "--json"});
  EXPECT_NE(json.Out.find("\"name\": \"GET_DCT_LOCK\",\n    \"category\": \"Status\",\n"
                          "    \"msg\": \"A4\",\n    \"len\": \"0B\",\n    \"parameters\": 0"),
            std::string::npos)
      << json.Out;
}

TEST(ShowTest, ParametersWithTheirChoices) {
  const RunResult run = RunCli({"show", "ctrl_position"});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_NE(run.Out.find("CTRL_POSITION (Control)\nMessage code: 80\nLength code:  0D\n"),
            std::string::npos)
      << run.Out;
  EXPECT_NE(run.Out.find("1. RTS channel selection: integer from 0 to 15, default 0\n"),
            std::string::npos);
  EXPECT_NE(run.Out.find("2. Action: one of the values below, or its label, default 1\n"
                         "       1 = UP/ON\n"),
            std::string::npos);
  EXPECT_NE(RunCli({"show", "GET_DCT_LOCK"}).Out.find("No parameters.\n"), std::string::npos);
  EXPECT_NE(RunCli({"show", "--json", "CTRL_TILT"}).Out.find("\"name\": \"Tilting value\""),
            std::string::npos);
}

constexpr char kWorkedDecoded[] =
    "Command:      CTRL_POSITION (Control)\n"
    "Message code: 80\n"
    "Length code:  0D (expected 0D)\n"
    "Host:         FF FF 00\n"
    "Slave:        05 00 02\n"
    "Parameter 1:  RTS channel selection = 0\n"
    "Parameter 2:  Action = 1 (UP/ON)\n"
    "Checksum:     08 5D (expected 08 5D)\n"
    "Verdict:      valid\n";
constexpr char kWrongChecksum[] = "7F F2 FA FF 00 00 FD FF FA FF FE 08 5E";
constexpr char kDecodeHint[] = "Try 'brelvik-frame decode --help' for more information.\n";

struct DecodeCase {
  const char* Name;
  Args Arguments;
  std::string Input;  // Standard input.
  int ExitCode;
  std::string Out;  // Exact stdout.
  std::string Err;  // Exact stderr.
};

class DecodeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, PrintsEachStringAndExitsWithTheWorstVerdict) {
  const DecodeCase& c = GetParam();
  const RunResult run = RunCli(c.Arguments, c.Input);
  EXPECT_EQ(run.ExitCode, c.ExitCode);
  EXPECT_EQ(run.Out, c.Out);
  EXPECT_EQ(run.Err, c.Err);
}

// The lines of a string whose checksum is wrong, after the parameters.
const std::string kWrongChecksumDecoded =
    std::string(kWorkedDecoded).substr(0, std::string(kWorkedDecoded).find("Checksum:")) +
    "Checksum:     08 5E (expected 08 5D)\n"
    "Verdict:      not valid: 1 problem\n"
    "Problem:      checksum 08 5E, but the frame's bytes add up to 08 5D\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeTest,
    testing::ValuesIn(std::vector<DecodeCase>{
        {"LoxoneString", {"decode", kWorkedLoxone}, "", 0, kWorkedDecoded, ""},
        {"HexPairsWithCommas",
         {"decode", "7F,F2,FA,FF,00,00,FD,FF,FA,FF,FE,08,5D"},
         "",
         0,
         kWorkedDecoded,
         ""},
        {"Problem", {"decode", kWrongChecksum}, "", 1, kWrongChecksumDecoded, ""},
        {"Unreadable",
         {"decode", "7F F2 FG"},
         "",
         2,
         "Verdict:      unreadable: \"G\" at position 8 is not a hexadecimal digit\n",
         "brelvik-frame: \"7F F2 FG\": \"G\" at position 8 is not a hexadecimal digit\n" +
             std::string(kDecodeHint)},
        {"BackslashesLostToTheShell",
         {"decode", "x7FxF2"},
         "",
         2,
         "Verdict:      unreadable: \"x\" at position 1 is not a hexadecimal digit\n",
         "brelvik-frame: \"x7FxF2\": \"x\" at position 1 is not a hexadecimal digit; the shell "
         "drops the backslashes of an unquoted Loxone string: put it in single quotes\n" +
             std::string(kDecodeHint)},
        {"EmptyText",
         {"decode", ""},
         "ignored",
         2,
         "Verdict:      unreadable: no bytes to read: give a Loxone string, hexadecimal pairs or "
         "lines of the result area\n",
         "brelvik-frame: \"\": no bytes to read: give a Loxone string, hexadecimal pairs or lines "
         "of the result area\n" +
             std::string(kDecodeHint)},
        {"OneLineOnStandardInput",
         {"decode"},
         std::string(kWorkedLoxone) + "\n",
         0,
         kWorkedDecoded,
         ""},
        {"DashReadsStandardInput",
         {"decode", "-"},
         std::string("\n  \n") + kWorkedLoxone + "\r\n",
         0,
         kWorkedDecoded,
         ""},
        {"LinesOnStandardInput",
         {"decode"},
         std::string(kWorkedLoxone) + "\n\n" + kWrongChecksum + "\n",
         1,
         "Line 1:       \"" + std::string(kWorkedLoxone) + "\"\n" + kWorkedDecoded +
             "\nLine 3:       \"" + kWrongChecksum + "\"\n" + kWrongChecksumDecoded,
         ""},
        {"UnreadableLineAmongOthers",
         {"decode"},
         std::string(kWrongChecksum) + "\nnope\n",
         2,
         "Line 1:       \"" + std::string(kWrongChecksum) + "\"\n" + kWrongChecksumDecoded +
             "\nLine 2:       \"nope\"\n"
             "Verdict:      unreadable: \"n\" at position 1 is not a hexadecimal digit\n",
         "brelvik-frame: line 2 \"nope\": \"n\" at position 1 is not a hexadecimal digit\n"
         "brelvik-frame: 1 of 2 strings cannot be read\n" +
             std::string(kDecodeHint)},
        {"NothingOnStandardInput",
         {"decode"},
         "\n \n",
         2,
         "",
         "brelvik-frame: standard input holds no string to decode: give one per line, or TEXT\n" +
             std::string(kDecodeHint)},
        {"TwoTexts",
         {"decode", "7F", "F2"},
         "",
         2,
         "",
         "brelvik-frame: the following argument was not expected: F2\n" + std::string(kDecodeHint)},
    }),
    [](const auto& info) { return info.param.Name; });

// The output of encode read back through standard input: its block of lines is one string.
TEST(DecodeTest, ResultBlockOnStandardInputIsOneString) {
  const std::string block = RunCli({"encode", "CTRL_POSITION"}).Out;
  const RunResult one = RunCli({"decode"}, block);
  EXPECT_EQ(one.ExitCode, 0) << one.Err;
  EXPECT_EQ(one.Out, kWorkedDecoded);

  // Two blocks, and Loxone lines one after another, stay strings of their own.
  const std::string loxoneLine = std::string("Loxone:       ") + kWorkedLoxone + "\n";
  const RunResult several = RunCli({"decode"}, block + block + loxoneLine + loxoneLine);
  EXPECT_EQ(several.ExitCode, 0) << several.Err;
  EXPECT_EQ(several.Out.find("Line 1:       \""), 0u) << several.Out;
  for (const char* header : {"Line 7:       \"", "Line 13:      \"", "Line 14:      \""}) {
    EXPECT_NE(several.Out.find(std::string("\n\n") + header), std::string::npos) << header;
  }
  EXPECT_EQ(several.Out.find("Line 2:"), std::string::npos);
}

TEST(DecodeTest, JsonGivesOneObjectPerStringAndAnArrayForSeveralLines) {
  using nlohmann::json;
  const RunResult valid = RunCli({"decode", "--json", kWorkedLoxone});
  EXPECT_EQ(valid.ExitCode, 0);
  EXPECT_EQ(json::parse(valid.Out), json::parse(R"({
    "valid": true, "form": "loxone", "command": "CTRL_POSITION", "category": "Control",
    "message_code": "80", "length_code": "0D", "length_code_expected": "0D",
    "host": "FF FF 00", "slave": "05 00 02", "values": [0, 1],
    "parameters": [{"name": "RTS channel selection", "value": 0},
                   {"name": "Action", "value": 1, "label": "UP/ON"}],
    "checksum_found": "08 5D", "checksum_expected": "08 5D", "extra_bytes": null,
    "problems": [], "warnings": [],
    "bytes": [127, 242, 250, 255, 0, 0, 253, 255, 250, 255, 254, 8, 93]})"));
  // The keys in this order.
  EXPECT_EQ(valid.Out.find("{\n  \"valid\": true,\n  \"form\": \"loxone\",\n  \"command\""), 0u);

  const RunResult unreadable = RunCli({"decode", "--json", "7F F"});
  EXPECT_EQ(unreadable.ExitCode, 2);
  EXPECT_EQ(json::parse(unreadable.Out), json::parse(R"({"valid": false,
    "error": "\"F\" at position 4 is half a byte: every byte takes two hexadecimal digits",
    "position": 4, "text": "F"})"));
  EXPECT_NE(unreadable.Err.find("brelvik-frame: \"7F F\": "), std::string::npos);

  const RunResult lines = RunCli({"decode", "--json"}, std::string("\n") + kWrongChecksum + "\n" +
                                                           "84 F2 FA FF 00 00 FD FF FA "
                                                           "FF FE 08 62 5D\n");
  EXPECT_EQ(lines.ExitCode, 1) << lines.Err;
  const json array = json::parse(lines.Out);
  ASSERT_TRUE(array.is_array());
  ASSERT_EQ(array.size(), 2u);
  EXPECT_EQ(array[0]["line"], 2);
  EXPECT_EQ(array[0]["valid"], false);
  EXPECT_EQ(array[0]["checksum_found"], "08 5E");
  EXPECT_EQ(array[0]["problems"],
            json::parse(R"(["checksum 08 5E, but the frame's bytes add up to 08 5D"])"));
  EXPECT_EQ(array[1]["line"], 3);
  EXPECT_EQ(array[1]["command"], nullptr);
  EXPECT_EQ(array[1]["category"], nullptr);
  EXPECT_EQ(array[1]["values"], json::parse("[0, 1]"));
  EXPECT_EQ(array[1]["parameters"], json::array());
  EXPECT_EQ(array[1]["extra_bytes"], "5D");
  EXPECT_EQ(array[1]["problems"].size(), 2u);

  // A string from the calculator's start: valid, with warnings for the values below the minimum.
  const std::string start = RunCli({"encode", "--loxone", "SET_TILT_FRAMECOUNT"}).Out;
  const json warned = json::parse(RunCli({"decode", "--json"}, start).Out);
  EXPECT_EQ(warned["valid"], true);
  EXPECT_EQ(warned["warnings"], json::parse(R"(["value 0 of \"US mode\" lies outside 4 to 255",
                                                 "value 0 of \"CE mode\" lies outside 2 to 13"])"));
  EXPECT_TRUE(warned.is_object());
  EXPECT_EQ(warned["line"], 1);
}

// Every command's help has a usage line, a purpose, its options and examples; "help COMMAND"
// prints exactly what "COMMAND --help" does.
TEST(HelpTest, EveryCommandHasItsHelpBothWays) {
  const RunResult top = RunCli({"--help"});
  EXPECT_EQ(top.ExitCode, 0);
  EXPECT_EQ(top.Err, "");
  EXPECT_NE(top.Out.find("Usage: brelvik-frame [OPTIONS] SUBCOMMAND"), std::string::npos);
  EXPECT_NE(top.Out.find("Exit codes:\n  0 "), std::string::npos) << top.Out;
  EXPECT_NE(top.Out.find("\n  74  "), std::string::npos);
  EXPECT_NE(top.Out.find("decode: a string has a problem\n"), std::string::npos);
  EXPECT_EQ(RunCli({"help"}).Out, top.Out);

  for (const std::string command : {"list", "show", "encode", "decode", "table", "help"}) {
    SCOPED_TRACE(command);
    const RunResult help = RunCli({command, "--help"});
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_EQ(help.Out.find("Usage: brelvik-frame " + command), help.Out.find('\n') + 1)
        << help.Out;
    EXPECT_NE(help.Out.find("\nExamples:\n  brelvik-frame " + command), std::string::npos);
    const RunResult viaHelp = RunCli({"help", command});
    EXPECT_EQ(viaHelp.ExitCode, 0);
    EXPECT_EQ(viaHelp.Out, help.Out);
    // Fits a terminal of 80 columns.
    std::istringstream lines(help.Out);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 79u) << line;
  }
  const std::string encode = RunCli({"encode", "--help"}).Out;
  EXPECT_NE(encode.find("three pairs of hexadecimal digits,\n"), std::string::npos) << encode;
  EXPECT_NE(encode.find("most significant byte"), std::string::npos);
  EXPECT_NE(encode.find("Negative numbers need no --"), std::string::npos);

  const RunResult version = RunCli({"--version"});
  EXPECT_EQ(version.ExitCode, 0);
  EXPECT_EQ(version.Out, "brelvik-frame 1.10\n");
}

// A stream whose every write fails, as a full disk or a closed pipe does.
class FailingBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST(WriteErrorTest, OutputThatCannotBeWrittenIsAnError) {
  for (const Args& args : {Args{"encode", "CTRL_POSITION"}, Args{"list"}, Args{"--help"},
                           Args{"show", "--json", "SET_IP"}, Args{"decode", kWorkedLoxone},
                           Args{"table"}, Args{"table", "--format", "json"}}) {
    FailingBuffer buffer;
    std::ostream out(&buffer);
    std::istringstream in;
    std::ostringstream err;
    EXPECT_EQ(RunFrameCli(args, in, out, err), 74) << args.front();
    EXPECT_NE(err.str().find("brelvik-frame: cannot write the output"), std::string::npos)
        << err.str();
  }
}

// The real binary, for what only a process shows: its exit code, its streams, its arguments.
struct ProcessResult {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// How the binary's stdout is set up.
enum class StdoutKind { File, Closed, DevFull, BrokenPipe };

ProcessResult RunProcess(const Args& args, StdoutKind kind = StdoutKind::File,
                         const std::string& input = "") {
  const std::filesystem::path dir = testing::TempDir();
  const std::string in = (dir / "frame.in").string();
  const std::string out = (dir / "frame.out").string();
  const std::string err = (dir / "frame.err").string();
  std::ofstream(in, std::ios::binary) << input;
  int pipeFds[2] = {-1, -1};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, in.c_str(), O_RDONLY, 0);
  switch (kind) {
    case StdoutKind::File:
      posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC, 0600);
      break;
    case StdoutKind::Closed:
      posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
      break;
    case StdoutKind::DevFull:
      posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/full", O_WRONLY, 0);
      break;
    case StdoutKind::BrokenPipe:
      if (pipe(pipeFds) != 0) return {};
      close(pipeFds[0]);  // Nobody reads: the first write finds the pipe broken.
      posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
      break;
  }
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::string program = BRELVIK_FRAME_PATH;
  std::vector<char*> argv = {program.data()};
  Args copies = args;
  for (std::string& arg : copies) argv.push_back(arg.data());
  argv.push_back(nullptr);

  ProcessResult result;
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (pipeFds[1] >= 0) close(pipeFds[1]);
  if (spawned != 0) return result;
  int status = 0;
  waitpid(pid, &status, 0);
  result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  if (kind == StdoutKind::File) result.Out = ReadFile(out);
  result.Err = ReadFile(err);
  return result;
}

TEST(ProcessTest, ExitCodesAndStreams) {
  const ProcessResult encoded = RunProcess({"encode", "CTRL_POSITION", "-1", "--unchecked"});
  EXPECT_EQ(encoded.ExitCode, 1);
  EXPECT_EQ(encoded.Out, kInvalid);
  EXPECT_EQ(encoded.Err.find(kEncodeError), 0u) << encoded.Err;

  const ProcessResult usage = RunProcess({"encode", "--host"});
  EXPECT_EQ(usage.ExitCode, 2);
  EXPECT_EQ(usage.Out, "");
  EXPECT_EQ(usage.Err.find("brelvik-frame: "), 0u) << usage.Err;

  // An empty "--host=" stays an empty text rather than taking the next argument.
  const ProcessResult empty = RunProcess({"encode", "--host=", "--loxone", "CTRL_POSITION"});
  EXPECT_EQ(empty.ExitCode, 0) << empty.Err;
  EXPECT_EQ(empty.Out, "\\x7F\\xF2\\xFA\\xFD\\xFF\\xFA\\xFF\\xFE\\x07\\x5E\n");

  const ProcessResult help = RunProcess({"help", "encode"});
  EXPECT_EQ(help.ExitCode, 0);
  EXPECT_EQ(help.Out, RunCli({"encode", "--help"}).Out);
}

TEST(ProcessTest, DecodeReadsStandardInputAndExitsWithTheWorstVerdict) {
  const std::string input = std::string(kWorkedLoxone) + "\n" + kWrongChecksum + "\n";
  const ProcessResult problem = RunProcess({"decode"}, StdoutKind::File, input);
  EXPECT_EQ(problem.ExitCode, 1);
  EXPECT_EQ(problem.Out, RunCli({"decode"}, input).Out);
  EXPECT_EQ(problem.Err, "");

  const ProcessResult unreadable = RunProcess({"decode", "--json", "-"}, StdoutKind::File, "G\n");
  EXPECT_EQ(unreadable.ExitCode, 2);
  EXPECT_EQ(unreadable.Out.find("{\n  \"line\": 1,\n  \"valid\": false,\n  \"error\": "), 0u)
      << unreadable.Out;
  EXPECT_EQ(unreadable.Err.find("brelvik-frame: line 1 \"G\": "), 0u) << unreadable.Err;
}

TEST(ProcessTest, OutputThatCannotBeWrittenExitsWith74) {
  for (const Args& args : {Args{"encode", "CTRL_POSITION"}, Args{"table"}}) {
    for (const StdoutKind kind :
         {StdoutKind::Closed, StdoutKind::DevFull, StdoutKind::BrokenPipe}) {
      SCOPED_TRACE(args.front() + " " + std::to_string(static_cast<int>(kind)));
      const ProcessResult run = RunProcess(args, kind);
      EXPECT_EQ(run.ExitCode, 74) << run.Err;
      EXPECT_EQ(run.Err.find("brelvik-frame: cannot write the output: "), 0u) << run.Err;
    }
  }
}

}  // namespace
