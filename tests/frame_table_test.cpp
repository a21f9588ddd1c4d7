#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

#include "BuiltInCommands.h"
#include "FrameCalc.h"
#include "FrameTable.h"
#include "ParamValues.h"
#include "TableText.h"

namespace {

// The values from "first" to "last".
TValueSet Range(std::int32_t first, std::int32_t last) {
  TValueSet values(static_cast<std::size_t>(last - first + 1));
  std::iota(values.begin(), values.end(), first);
  return values;
}

class FrameTableTest : public testing::Test {
 protected:
  FrameTableTest() { AddBuiltInCommands(commands_); }

  const TCommand& Command(const char* name) const { return *commands_.Find(name); }

  TListCommands commands_;
};

struct DefaultSetsCase {
  const char* Name;
  std::vector<TValueSet> Sets;
};

class DefaultSetsTest : public FrameTableTest,
                        public testing::WithParamInterface<DefaultSetsCase> {};

// Every channel, every option, and otherwise the start value within the bounds.
TEST_P(DefaultSetsTest, TakesChannelsOptionsOrTheStartValueWithinBounds) {
  const TCommand& command = Command(GetParam().Name);
  const TTableCommand entry = DefaultTableCommand(command);
  EXPECT_EQ(entry.Command, &command);
  EXPECT_EQ(entry.Sets, GetParam().Sets);
}

INSTANTIATE_TEST_SUITE_P(BuiltIn, DefaultSetsTest,
                         testing::ValuesIn(std::vector<DefaultSetsCase>{
                             {"SET_CHANNEL_MODE", {Range(0, 15), {0, 1}, {0, 1}, {0, 1}}},
                             // "US mode" and "CE mode" start at 0, below their minimums 4 and 2.
                             {"SET_TILT_FRAMECOUNT", {Range(0, 15), {4}, {2}}},
                             {"SET_DIM_FRAMECOUNT", {Range(0, 15), {4}}},
                             {"ST_DCT_LOCK", {Range(0, 5), {0, 1}}},
                             {"CTRL_POSITION", {Range(0, 15), {1, 2, 3, 4}}},
                             {"CTRL_TILT", {Range(0, 15), {0, 1}, {1}}},
                             {"GET_DCT_LOCK", {}},
                         }),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(DefaultValueSetTest, FollowsThePropertyRatherThanItsName) {
  // A channel parameter with fewer channels takes only those; one whose bounds do not count takes
  // all sixteen; one that allows none of them falls back to its start value.
  EXPECT_EQ(DefaultValueSet({kTypeInteger, "RTS channel selection", "", 2, 5, 0}), Range(2, 5));
  EXPECT_EQ(DefaultValueSet({kTypeInteger, "RTS channel selection", "", 0, 0, 7}), Range(0, 15));
  EXPECT_EQ(DefaultValueSet({kTypeInteger, "RTS channel selection", "", 20, 30, 0}), TValueSet{20});
  EXPECT_EQ(DefaultValueSet({kTypeInteger, "Speed", "", 1, 9, 12}), TValueSet{9});
  // Option values once each, in option order; the start item does not matter.
  EXPECT_EQ(DefaultValueSet({kTypeList, "Pick", "3=c;1=a;3=again;bad;2=b", 0, 0, 2}),
            (TValueSet{3, 1, 2}));
  EXPECT_EQ(DefaultValueSet({kTypeList, "Empty", "nothing here", 0, 0, 0}), TValueSet{});
  EXPECT_EQ(DefaultValueSet({"BOOL", "Flag", "", 0, 1, 0}), TValueSet{});
}

// The whole catalogue: rows in catalogue order, as many per command as the product of its set
// sizes, the last parameter fastest, and every row what CalcFrame gives for its values.
TEST_F(FrameTableTest, AllCommandsGiveTheProductOfTheirSetsAndCalcFrameRows) {
  const std::vector<TTableCommand> entries = DefaultTableCommands(commands_, nullptr);
  ASSERT_EQ(entries.size(), 15u);
  const TTable table = CalcTable(entries, "FF FF 01", "05 00 03");
  ASSERT_FALSE(table.Error);
  EXPECT_EQ(table.Rows.size(), 429u);
  EXPECT_EQ(TableRowCount(entries), 429u);

  std::size_t at = 0;
  for (const TTableCommand& entry : entries) {
    SCOPED_TRACE(entry.Command->MessageName);
    std::size_t product = 1;
    for (const TValueSet& set : entry.Sets) product *= set.size();
    std::vector<std::int32_t> previous;
    for (std::size_t n = 0; n < product; ++n, ++at) {
      ASSERT_LT(at, table.Rows.size());
      const TTableRow& row = table.Rows[at];
      ASSERT_EQ(row.Command, entry.Command);
      const std::vector<TParamValue> values(row.Values.begin(), row.Values.end());
      const TCalcResult expected = CalcFrame(row.Command, "FF FF 01", "05 00 03", values);
      ASSERT_EQ(expected.Outcome, TCalcOutcome::Success);
      EXPECT_EQ(row.Frame, expected.Frame);
      // Each row follows the one before in the order of the sets, the last one fastest.
      if (n > 0) {
        EXPECT_LT(previous, row.Values);
      }
      previous = row.Values;
    }
  }
  EXPECT_EQ(at, table.Rows.size());
}

TEST_F(FrameTableTest, GivenSetsKeepTheirOrder) {
  const TCommand& command = Command("CTRL_POSITION");
  const std::vector<TTableCommand> entries = {{&command, {{8, 3}, {2, 1}}}};
  const TTable table = CalcTable(entries, kDefaultHost, kDefaultSlave);
  ASSERT_FALSE(table.Error);
  std::vector<std::vector<std::int32_t>> values;
  for (const TTableRow& row : table.Rows) values.push_back(row.Values);
  EXPECT_EQ(values, (std::vector<std::vector<std::int32_t>>{{8, 2}, {8, 1}, {3, 2}, {3, 1}}));
  // The worked example: channel 3, DOWN/OFF.
  EXPECT_EQ(table.Rows[2].Frame.DataToSend, "7F F2 FA FF 00 00 FD FF FA FC FD 08 59");
  EXPECT_EQ(table.Rows[2].Frame.Loxone, R"(\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFC\xFD\x08\x59)");

  // A command without parameters gives one row.
  const TTable lock = CalcTable(DefaultTableCommands(commands_, &Command("GET_DCT_LOCK")),
                                kDefaultHost, kDefaultSlave);
  ASSERT_EQ(lock.Rows.size(), 1u);
  EXPECT_EQ(lock.Rows[0].Frame.DataToSend, "5B F4 FA FF 00 00 FD FF FA 06 3E");
}

struct TableErrorCase {
  const char* Name;
  std::vector<TValueSet> Sets;  // For CTRL_POSITION.
  const char* Host;
  TTableFault Fault;
  std::int32_t Parameter;
  std::int64_t Value;
};

class TableErrorTest : public FrameTableTest, public testing::WithParamInterface<TableErrorCase> {};

TEST_P(TableErrorTest, RefusesTheTableAndGivesNoRows) {
  const TableErrorCase& c = GetParam();
  const TCommand& command = Command("CTRL_POSITION");
  const std::vector<TTableCommand> entries = {{&command, c.Sets}};
  const TTable table = CalcTable(entries, c.Host, kDefaultSlave);
  EXPECT_TRUE(table.Rows.empty());
  ASSERT_TRUE(table.Error);
  EXPECT_EQ(table.Error->Fault, c.Fault);
  EXPECT_EQ(table.Error->Command, &command);
  EXPECT_EQ(table.Error->Parameter, c.Parameter);
  EXPECT_EQ(table.Error->Value, c.Value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TableErrorTest,
    testing::ValuesIn(std::vector<TableErrorCase>{
        {"EmptySet", {{0}, {}}, "FF FF 00", TTableFault::EmptySet, 1, 0},
        {"MissingSet", {{0}}, "FF FF 00", TTableFault::EmptySet, 1, 0},
        {"ChannelAboveItsBounds", {{3, 16}, {1}}, "FF FF 00", TTableFault::NotAllowed, 0, 16},
        {"ValueOfNoOption", {{0}, {1, 5}}, "FF FF 00", TTableFault::NotAllowed, 1, 5},
        // An address that cannot be encoded fails the first row, and so the whole table.
        {"HostNotHexadecimal", {{0, 1}, {1}}, "FG FF 00", TTableFault::Calc, -1, 0},
    }),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(FrameTableTest, AnAddressErrorSaysWhatCalcFrameSays) {
  const TTable table =
      CalcTable(DefaultTableCommands(commands_, &Command("SET_IP")), kDefaultHost, "05 00 2");
  ASSERT_TRUE(table.Error);
  EXPECT_EQ(
      table.Error->Calc,
      CalcFrame(&Command("SET_IP"), kDefaultHost, "05 00 2", std::vector<TParamValue>{0}).Error);
  EXPECT_EQ(table.Error->Calc.Input, TCalcInput::Slave);
}

// A command whose parameters allow any value, so that sets of any size can be asked for.
class LargeTableTest : public testing::Test {
 protected:
  LargeTableTest() : command_("Test") {
    command_.MessageName = "TEST";
    command_.Msg = "80";
    command_.Len = "0D";
    for (const char* name : {"A", "B", "C", "D", "E"}) command_.AddInteger(name, 0, 0, 0);
  }

  TCommand command_;
};

TEST_F(LargeTableTest, MoreThanTheLimitIsRefusedBeforeAnyRowIsCalculated) {
  const TTableCommand atLimit{&command_, {Range(0, 999), Range(0, 99), {0}, {0}, {0}}};
  EXPECT_EQ(TableRowCount(std::vector{atLimit}), kMaxTableRows);

  // With a value above a byte, a row would fail: the refusal must come first.
  const TTableCommand above{&command_, {Range(0, 1000), Range(0, 99), {0}, {0}, {0}}};
  const TTable table = CalcTable(std::vector{above}, kDefaultHost, kDefaultSlave);
  ASSERT_TRUE(table.Error);
  EXPECT_EQ(table.Error->Fault, TTableFault::TooManyRows);
  EXPECT_EQ(table.Error->RowCount, 100100u);

  // The limit counts the rows of all commands together.
  const TTableCommand half{&command_, {Range(0, 499), Range(0, 99), {0}, {0}, {0}}};
  const TTableCommand oneMore{&command_, {{0}, {0}, {0}, {0}, {0}}};
  EXPECT_EQ(CalcTable(std::vector{half, half, oneMore}, kDefaultHost, kDefaultSlave).Error->Fault,
            TTableFault::TooManyRows);

  // Products beyond 64 bits are held at the limit rather than wrapping to a small count.
  const TValueSet huge = Range(0, 99999);
  const TTableCommand overflowing{&command_, {huge, huge, huge, huge, huge}};
  EXPECT_EQ(TableRowCount(std::vector{overflowing}), std::numeric_limits<std::uint64_t>::max());
  EXPECT_EQ(TableRowCount(std::vector{overflowing, oneMore}),
            std::numeric_limits<std::uint64_t>::max());
}

TEST_F(FrameTableTest, ValuesAndParametersInWords) {
  const TCommand& position = Command("CTRL_POSITION");
  EXPECT_EQ(ValuesText(std::vector{3, 2}), "3 2");
  EXPECT_EQ(ReadableParameters(position, std::vector{3, 2}),
            "RTS channel selection=3; Action=2 (DOWN/OFF)");
  EXPECT_EQ(ReadableParameters(Command("SET_CHANNEL_MODE"), std::vector{15, 1, 0, 1}),
            "RTS channel selection=15; Mode=1 (US Mode (Default)); Rolling/Tilting mode=0 "
            "(Rolling Mode (Default)); MODULIS mode=1 (Modulis Mode (Default))");
  EXPECT_EQ(ValuesText({}), "");
  EXPECT_EQ(ReadableParameters(Command("GET_DCT_LOCK"), {}), "");
}

struct SetCase {
  const char* Name;
  const char* Command;
  const char* Text;
  std::int32_t Parameter;
  bool ByPosition;
  TValueSet Values;
  std::optional<TSetError> Error;
};

class ReadTableSetTest : public FrameTableTest, public testing::WithParamInterface<SetCase> {};

TEST_P(ReadTableSetTest, ReadsTheSetOrSaysWhatIsWrong) {
  const SetCase& c = GetParam();
  const TSetReading reading = ReadTableSet(Command(c.Command), c.Text);
  EXPECT_EQ(reading.Values, c.Values);
  ASSERT_EQ(reading.Error.has_value(), c.Error.has_value());
  if (c.Error) {
    EXPECT_EQ(reading.Error->Fault, c.Error->Fault);
    EXPECT_EQ(reading.Error->Text, c.Error->Text);
    EXPECT_EQ(reading.Error->Value, c.Error->Value);
  }
  if (!c.Error || c.Error->Fault != TSetFault::UnknownParameter) {
    EXPECT_EQ(reading.Parameter, c.Parameter);
  }
  EXPECT_EQ(reading.ByPosition, c.ByPosition);
}

TSetError Fault(TSetFault fault, std::string text, std::int64_t value = 0) {
  return {fault, std::move(text), value};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadTableSetTest,
    testing::ValuesIn(std::vector<SetCase>{
        {"NumbersAndRanges",
         "CTRL_POSITION",
         "RTS channel selection=0-3,8",
         0,
         false,
         {0, 1, 2, 3, 8},
         {}},
        {"Labels", "CTRL_POSITION", "Action=UP/ON,STOP", 1, false, {1, 3}, {}},
        {"LetterCaseAndBlanksIgnored",
         "CTRL_POSITION",
         " action = stop , up/on ",
         1,
         false,
         {3, 1},
         {}},
        {"LabelsWithADash", "CTRL_TILT", "Action=Tilt -,tilt +", 1, false, {1, 0}, {}},
        {"Position", "CTRL_POSITION", "2=1-4", 1, true, {1, 2, 3, 4}, {}},
        {"HexadecimalRange", "CTRL_POSITION", "1=0x0-0x2", 0, true, {0, 1, 2}, {}},
        {"RepeatsTakenOnceWhereTheyFirstCome",
         "CTRL_POSITION",
         "1=3,1-4,3",
         0,
         true,
         {3, 1, 2, 4},
         {}},
        {"EmptyPiecesIgnored", "CTRL_POSITION", "Action=1,,2,", 1, false, {1, 2}, {}},
        {"RangeOfOneValue", "SET_TILT_FRAMECOUNT", "US mode=7-7", 1, false, {7}, {}},
        {"NoEquals",
         "CTRL_POSITION",
         "Action",
         -1,
         false,
         {},
         Fault(TSetFault::NotParamEqualsValues, "Action")},
        {"UnknownName",
         "CTRL_POSITION",
         "Speed=1",
         -1,
         false,
         {},
         Fault(TSetFault::UnknownParameter, "Speed")},
        {"PositionTooHigh",
         "CTRL_POSITION",
         "3=1",
         -1,
         true,
         {},
         Fault(TSetFault::UnknownParameter, "3")},
        {"PositionZero",
         "CTRL_POSITION",
         "0=1",
         -1,
         true,
         {},
         Fault(TSetFault::UnknownParameter, "0")},
        {"NoParametersAtAll",
         "GET_DCT_LOCK",
         "1=0",
         -1,
         true,
         {},
         Fault(TSetFault::UnknownParameter, "1")},
        {"NothingAfterEquals",
         "CTRL_POSITION",
         "Action=",
         1,
         false,
         {},
         Fault(TSetFault::EmptySet, "")},
        {"OnlyBlanksAndCommas",
         "CTRL_POSITION",
         "Action= , ,",
         1,
         false,
         {},
         Fault(TSetFault::EmptySet, " , ,")},
        {"NeitherNumberNorLabel",
         "CTRL_POSITION",
         "Action=1,HALT",
         1,
         false,
         {},
         Fault(TSetFault::NotAValue, "HALT")},
        {"LabelOfAnotherParameter",
         "CTRL_POSITION",
         "1=STOP",
         0,
         true,
         {},
         Fault(TSetFault::NotAValue, "STOP")},
        {"ValueOfNoOption",
         "CTRL_POSITION",
         "Action=0",
         1,
         false,
         {},
         Fault(TSetFault::NotAllowed, "0", 0)},
        {"RangeReachingPastTheOptions",
         "CTRL_POSITION",
         "Action=1-5",
         1,
         false,
         {},
         Fault(TSetFault::NotAllowed, "1-5", 5)},
        {"BelowTheMinimum",
         "SET_TILT_FRAMECOUNT",
         "US mode=3-5",
         1,
         false,
         {},
         Fault(TSetFault::NotAllowed, "3-5", 3)},
        {"NegativeRange",
         "CTRL_POSITION",
         "1=-3--1",
         0,
         true,
         {},
         Fault(TSetFault::NotAllowed, "-3--1", -3)},
        {"BackwardRange",
         "CTRL_POSITION",
         "1=3-1",
         0,
         true,
         {},
         Fault(TSetFault::BackwardRange, "3-1")},
        {"RangeTooLargeToWalk",
         "SET_TILT_FRAMECOUNT",
         "US mode=4-100000000",
         1,
         false,
         {},
         Fault(TSetFault::TooManyValues, "4-100000000")},
        {"RangeOfAllNumbers",
         "SET_TILT_FRAMECOUNT",
         "US mode=-9223372036854775808-9223372036854775807",
         1,
         false,
         {},
         Fault(TSetFault::TooManyValues, "-9223372036854775808-9223372036854775807")},
    }),
    [](const auto& info) { return std::string(info.param.Name); });

// The text forms of the rows of channel 3 and 8, DOWN/OFF.
class TableTextTest : public FrameTableTest {
 protected:
  TTable Table() const {
    const std::vector<TTableCommand> entries = {{&Command("CTRL_POSITION"), {{3, 8}, {2}}}};
    return CalcTable(entries, kDefaultHost, kDefaultSlave);
  }
};

constexpr char kRow3[] =
    "CTRL_POSITION,Control,3 2,RTS channel selection=3; Action=2 (DOWN/OFF),"
    "7F F2 FA FF 00 00 FD FF FA FC FD 08 59,"
    R"(\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFC\xFD\x08\x59)";

TEST_F(TableTextTest, CsvHasAHeaderAndOneLinePerRow) {
  const std::string csv = TableText(Table().Rows, TTableFormat::Csv);
  EXPECT_EQ(csv.substr(0, csv.find('\n') + 1),
            "command,category,values,parameters,data_to_send,loxone\n");
  EXPECT_EQ(csv.substr(csv.find('\n') + 1, std::string(kRow3).size() + 1),
            kRow3 + std::string("\n"));
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3);

  // With ";" for spreadsheets that take "," as the decimal separator, the parameters hold the
  // delimiter and are quoted.
  const std::string semicolon = TableText(Table().Rows, TTableFormat::Csv, ';');
  EXPECT_NE(semicolon.find("command;category;values;parameters;data_to_send;loxone\n"
                           "CTRL_POSITION;Control;3 2;\"RTS channel selection=3; Action=2 "
                           "(DOWN/OFF)\";7F F2 FA FF 00 00 FD FF FA FC FD 08 59;"),
            std::string::npos)
      << semicolon;

  EXPECT_EQ(TableText({}, TTableFormat::Csv),
            "command,category,values,parameters,data_to_send,loxone\n");
}

TEST(CsvFieldTest, QuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(CsvField("plain text", ','), "plain text");
  EXPECT_EQ(CsvField("", ','), "");
  EXPECT_EQ(CsvField("a,b", ','), "\"a,b\"");
  EXPECT_EQ(CsvField("a,b", ';'), "a,b");
  EXPECT_EQ(CsvField("a;b", ';'), "\"a;b\"");
  EXPECT_EQ(CsvField(R"(say "hi")", ','), R"("say ""hi""")");
  EXPECT_EQ(CsvField("two\nlines", ','), "\"two\nlines\"");
  EXPECT_EQ(CsvField("cr\r", ','), "\"cr\r\"");
  EXPECT_EQ(CsvField(R"(\x7F)", ','), R"(\x7F)");
}

TEST_F(TableTextTest, TsvAndMarkdownHaveTheSameColumns) {
  const std::string tsv = TableText(Table().Rows, TTableFormat::Tsv);
  EXPECT_EQ(tsv.substr(0, tsv.find("\nCTRL_POSITION\tControl\t8 2\t")),
            std::string("command\tcategory\tvalues\tparameters\tdata_to_send\tloxone\n"
                        "CTRL_POSITION\tControl\t3 2\tRTS channel selection=3; Action=2 "
                        "(DOWN/OFF)\t7F F2 FA FF 00 00 FD FF FA FC FD 08 59\t") +
                R"(\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFC\xFD\x08\x59)");

  const std::string markdown = TableText(Table().Rows, TTableFormat::Markdown);
  EXPECT_EQ(markdown.substr(0, markdown.find("\n| `CTRL_POSITION` | Control | 8 2")),
            "| command | category | values | parameters | data_to_send | loxone |\n"
            "| --- | --- | --- | --- | --- | --- |\n"
            "| `CTRL_POSITION` | Control | 3 2 | RTS channel selection=3; Action=2 (DOWN/OFF) | "
            "`7F F2 FA FF 00 00 FD FF FA FC FD 08 59` | "
            "`\\x7F\\xF2\\xFA\\xFF\\x00\\x00\\xFD\\xFF\\xFA\\xFC\\xFD\\x08\\x59` |");
}

// A command whose texts hold everything that a format must take care of.
TEST(TableTextFixtureTest, FieldsThatNeedCareStayInTheirCells) {
  TCommand command("Odd \"group\", too");
  command.MessageName = "ODD|NAME";
  command.Msg = "80";
  command.Len = "0D";
  command.AddList("Pick", "1=tab\there;2=line\nbreak;3=a|b *c* [d]", 0);
  const TTable table =
      CalcTable(std::vector<TTableCommand>{{&command, {{1, 2, 3}}}}, kDefaultHost, kDefaultSlave);
  ASSERT_FALSE(table.Error);

  const std::string csv = TableText(table.Rows, TTableFormat::Csv);
  EXPECT_NE(csv.find("\nODD|NAME,\"Odd \"\"group\"\", too\",1,Pick=1 (tab\there),"),
            std::string::npos)
      << csv;
  EXPECT_NE(csv.find(",\"Pick=2 (line\nbreak)\","), std::string::npos) << csv;

  const std::string tsv = TableText(table.Rows, TTableFormat::Tsv);
  EXPECT_NE(tsv.find("\tPick=1 (tab here)\t"), std::string::npos) << tsv;
  EXPECT_NE(tsv.find("\tPick=2 (line break)\t"), std::string::npos) << tsv;
  EXPECT_EQ(std::count(tsv.begin(), tsv.end(), '\n'), 4);

  const std::string markdown = TableText(table.Rows, TTableFormat::Markdown);
  EXPECT_NE(
      markdown.find("| ODD\\|NAME | Odd \"group\", too | 3 | Pick=3 (a\\|b \\*c\\* \\[d\\]) |"),
      std::string::npos)
      << markdown;
  EXPECT_NE(markdown.find("| Pick=2 (line break) |"), std::string::npos) << markdown;
  EXPECT_EQ(std::count(markdown.begin(), markdown.end(), '\n'), 5);
}

}  // namespace
