#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "BuiltInCommands.h"
#include "OptionList.h"
#include "ParamValues.h"
#include "TListCommands.h"

namespace {

using Pieces = std::vector<std::string>;

struct SplitCase {
  const char* Name;
  std::string Text;
  std::string Delimiter;
  Pieces Expected;
};

class SplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, YieldsNonEmptyPiecesInOrder) {
  EXPECT_EQ(Split(GetParam().Text, GetParam().Delimiter), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitTest,
    testing::ValuesIn(std::vector<SplitCase>{
        {"EmptyText", "", ";", {}},
        {"DelimitersOnly", ";;;", ";", {}},
        {"LeadingDoubledAndTrailing", ";a;;b;", ";", {"a", "b"}},
        {"EqualPiecesAllKept", "x;x;x", ";", {"x", "x", "x"}},
        {"NoDelimiterGivesWholeText", "a b", ";", {"a b"}},
        {"EmptyDelimiterGivesWholeText", "a;b", "", {"a;b"}},
        {"EmptyTextAndDelimiter", "", "", {}},
        {"BlanksAreKept", " a ; b ", ";", {" a ", " b "}},
        {"MultiCharacterDelimiterMatchedWhole", "a::b:c::", "::", {"a", "b:c"}},
        {"CaseSensitive", "aXbxc", "x", {"aXb", "c"}},
        {"OverlappingDelimiter", "a;;;b", ";;", {"a", ";b"}},
    }),
    [](const auto& info) { return info.param.Name; });

struct NumberCase {
  const char* Name;
  std::string Text;
  std::int32_t Expected;
};

class ValueTextToIntTest : public testing::TestWithParam<NumberCase> {};

TEST_P(ValueTextToIntTest, ReadsNumberOrZero) {
  EXPECT_EQ(ValueTextToInt(GetParam().Text), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ValueTextToIntTest,
                         testing::ValuesIn(std::vector<NumberCase>{
                             {"Decimal", "42", 42},
                             {"LeadingZeros", "007", 7},
                             {"Plus", "+5", 5},
                             {"Minus", "-5", -5},
                             {"LeadingBlanks", "  12", 12},
                             {"TrailingBlank", "12 ", 0},
                             {"TrailingLetter", "12a", 0},
                             {"Empty", "", 0},
                             {"BlanksOnly", "   ", 0},
                             {"SignOnly", "-", 0},
                             {"LeadingTabIsNotABlank", "\t12", 0},
                             {"DollarHex", "$1F", 31},
                             {"XHex", "x1f", 31},
                             {"UpperXHex", "X1F", 31},
                             {"ZeroXHex", "0x10", 16},
                             {"ZeroUpperXHex", "0X10", 16},
                             {"HexPrefixOnly", "0x", 0},
                             {"DollarOnly", "$", 0},
                             {"BadHexDigit", "$1G", 0},
                             {"NegativeHex", "-$10", -16},
                             {"HexAllBitsIsTwosComplement", "$FFFFFFFF", -1},
                             {"HexHighBit", "0x80000000", INT32_MIN},
                             {"HexTooLarge", "$100000000", 0},
                             {"HexLeadingZerosStillFit", "$000000001", 1},
                             {"DecimalMax", "2147483647", INT32_MAX},
                             {"DecimalMin", "-2147483648", INT32_MIN},
                             {"DecimalTooLarge", "2147483648", 0},
                             {"DecimalFarTooLarge", "99999999999999999999999", 0},
                             {"BlankAfterSign", "- 5", 0},
                         }),
                         [](const auto& info) { return info.param.Name; });

struct OptionCase {
  const char* Name;
  std::string Options;
  std::vector<TOptionItem> Expected;
};

class ReadOptionItemsTest : public testing::TestWithParam<OptionCase> {};

TEST_P(ReadOptionItemsTest, YieldsItems) {
  EXPECT_EQ(ReadOptionItems(GetParam().Options), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadOptionItemsTest,
    testing::ValuesIn(std::vector<OptionCase>{
        {"TwoItems", "0=ON;1=OFF", {{"0", 0, "ON"}, {"1", 1, "OFF"}}},
        {"DefaultWordIsOnlyLabel", "1=US Mode (Default)", {{"1", 1, "US Mode (Default)"}}},
        {"PieceWithoutEqualsSkipped", "0=a;junk;2=c", {{"0", 0, "a"}, {"2", 2, "c"}}},
        {"NothingBeforeEquals", "=a;1=b", {{"1", 1, "b"}}},
        {"NothingAfterEquals", "0=;1=b", {{"1", 1, "b"}}},
        {"ValueNotANumber", "on=Enabled", {{"on", 0, "Enabled"}}},
        {"TwoEqualsLabelBetween", "3=mid=rest", {{"3", 3, "mid"}}},
        {"LeadingBlanksInValue", " 7=seven", {{" 7", 7, "seven"}}},
        {"TrailingBlankInValue", "7 =seven", {{"7 ", 0, "seven"}}},
        {"HexValue", "$10=sixteen", {{"$10", 16, "sixteen"}}},
        {"Empty", "", {}},
    }),
    [](const auto& info) { return info.param.Name; });

TEST(StartValueTest, ListStartsOnItemNumberedDefaultSkippingBadPieces) {
  TCommand command("Test");
  command.AddList("Three pieces", "5=a;broken;9=c", 1);
  command.AddList("Past the end", "0=a;1=b", 2);
  command.AddList("Negative", "0=a", -1);
  command.AddInteger("Below minimum", 4, 255, 0);
  EXPECT_EQ(StartValue(command.GetProperty(0)), 9);
  EXPECT_EQ(StartValue(command.GetProperty(1)), std::nullopt);
  EXPECT_EQ(StartValue(command.GetProperty(2)), std::nullopt);
  EXPECT_EQ(StartValue(command.GetProperty(3)), 0);
  EXPECT_EQ(StartValue(TProperty{"BOOL", "Flag", "", 0, 0, 1}), std::nullopt);
}

// A small parameter of each kind, as the built-in table has them.
const TProperty kChannel{"INTEGER", "RTS channel selection", "", 0, 15, 0};
const TProperty kUsMode{"INTEGER", "US mode", "", 4, 255, 0};
const TProperty kUnbounded{"INTEGER", "Free", "", 5, 5, 0};
const TProperty kAction{
    "LIST", "Action", "1=UP/ON;2=DOWN/OFF;3=STOP;4=Favorite position/light level", 0, 0, 0};
const TProperty kBroken{"LIST", "Broken", "7=seven;no value;x=zero", 0, 0, 0};
const TProperty kUnknownType{"BOOL", "Flag", "", 0, 1, 0};

struct AllowedCase {
  const char* Name;
  TProperty Property;
  std::int64_t Value;
  bool Allowed;
};

class IsAllowedValueTest : public testing::TestWithParam<AllowedCase> {};

TEST_P(IsAllowedValueTest, FollowsTheEditorsRule) {
  EXPECT_EQ(IsAllowedValue(GetParam().Property, GetParam().Value), GetParam().Allowed);
}

INSTANTIATE_TEST_SUITE_P(Cases, IsAllowedValueTest,
                         testing::ValuesIn(std::vector<AllowedCase>{
                             {"IntegerLowestBound", kChannel, 0, true},
                             {"IntegerHighestBound", kChannel, 15, true},
                             {"IntegerAboveMaximum", kChannel, 16, false},
                             {"IntegerBelowMinimum", kChannel, -1, false},
                             {"DefaultBelowMinimumIsNotAllowed", kUsMode, 0, false},
                             {"BoundsThatDoNotCountAllowAnything", kUnbounded, -70000, true},
                             {"BoundsThatDoNotCountAllowHuge", kUnbounded,
                              std::numeric_limits<std::int64_t>::max(), true},
                             {"ListOptionValue", kAction, 3, true},
                             {"ListValueOfNoOption", kAction, 0, false},
                             {"ListValueBeyond32Bits", kAction, (std::int64_t{1} << 32) + 3, false},
                             {"ListValueOfTextThatIsNoNumber", kBroken, 0, true},
                             {"ListSkippedPieceGivesNoValue", kBroken, 1, false},
                             {"UnknownTypeAllowsNothing", kUnknownType, 0, false},
                         }),
                         [](const auto& info) { return info.param.Name; });

TEST(ParamValuesTest, BringWithinBoundsOnlyWhereTheyCount) {
  EXPECT_TRUE(BoundsCount(0, 15));
  EXPECT_FALSE(BoundsCount(5, 5));
  EXPECT_FALSE(BoundsCount(6, 5));
  EXPECT_EQ(BringWithinBounds(20, 0, 15), 15);
  EXPECT_EQ(BringWithinBounds(-3, 4, 255), 4);
  EXPECT_EQ(BringWithinBounds(7, 4, 255), 7);
  EXPECT_EQ(BringWithinBounds(-3, 5, 5), -3);
  EXPECT_EQ(BringWithinBounds(std::int64_t{1} << 40, 5, 5),
            std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(BringWithinBounds(-(std::int64_t{1} << 40), 0, 0),
            std::numeric_limits<std::int32_t>::min());
}

TEST(ParamValuesTest, OptionLabelOfAValue) {
  EXPECT_EQ(OptionLabel(kAction, 2), "DOWN/OFF");
  EXPECT_EQ(OptionLabel(kAction, 4), "Favorite position/light level");
  EXPECT_EQ(OptionLabel(kAction, 5), std::nullopt);
  EXPECT_EQ(OptionLabel(kBroken, 0), "zero");
  EXPECT_EQ(OptionLabel(kChannel, 0), std::nullopt);
  // The first of equal values.
  EXPECT_EQ(OptionLabel(TProperty{"LIST", "Twice", "1=first;1=second", 0, 0, 0}, 1), "first");
}

struct ReadValueCase {
  const char* Name;
  TProperty Property;
  std::string Text;
  std::optional<std::int64_t> Expected;
};

class ReadParamValueTest : public testing::TestWithParam<ReadValueCase> {};

TEST_P(ReadParamValueTest, ReadsNumberOrLabel) {
  EXPECT_EQ(ReadParamValue(GetParam().Property, GetParam().Text), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadParamValueTest,
                         testing::ValuesIn(std::vector<ReadValueCase>{
                             {"Decimal", kChannel, "12", 12},
                             {"Hexadecimal", kChannel, "0x1f", 31},
                             {"HexadecimalCapitalX", kChannel, "0XFF", 255},
                             {"Negative", kChannel, "-1", -1},
                             {"Plus", kChannel, "+7", 7},
                             {"NotANumber", kChannel, "abc", std::nullopt},
                             {"Empty", kChannel, "", std::nullopt},
                             {"HexPrefixAlone", kChannel, "0x", std::nullopt},
                             {"TwoSigns", kChannel, "--1", std::nullopt},
                             {"SignAfterHexPrefix", kChannel, "0x-1", std::nullopt},
                             {"TrailingBlank", kChannel, "1 ", std::nullopt},
                             {"LeadingBlank", kChannel, " 1", std::nullopt},
                             {"HugeIsHeldAtTheLimit", kChannel, "99999999999999999999",
                              std::numeric_limits<std::int64_t>::max()},
                             {"HugeNegative", kChannel, "-99999999999999999999",
                              -std::numeric_limits<std::int64_t>::max()},
                             {"LabelOfIntegerIsNoValue", kChannel, "STOP", std::nullopt},
                             {"Label", kAction, "STOP", 3},
                             {"LabelLetterCaseIgnored", kAction, "down/off", 2},
                             {"LabelWithBlanks", kAction, "favorite POSITION/light level", 4},
                             {"NumberStillReadForList", kAction, "2", 2},
                             {"NumberOfNoOptionStillRead", kAction, "9", 9},
                             {"PartOfALabel", kAction, "UP", std::nullopt},
                             {"LabelWithBlankAround", kAction, " STOP", std::nullopt},
                         }),
                         [](const auto& info) { return info.param.Name; });

TEST(TCommandTest, AddsParametersInOrderWithTheirFields) {
  TCommand command("Control");
  EXPECT_EQ(command.Category, "Control");
  EXPECT_EQ(command.PropertyCount(), 0);
  command.AddInteger("Count", 4, 255, 0);
  command.AddList("Action", "0=a;1=b", 1);
  ASSERT_EQ(command.PropertyCount(), 2);
  EXPECT_EQ(command.GetProperty(0), (TProperty{"INTEGER", "Count", "", 4, 255, 0}));
  EXPECT_EQ(command.GetProperty(1), (TProperty{"LIST", "Action", "0=a;1=b", 0, 0, 1}));
}

TEST(TCommandTest, IndexOutsideRangeThrows) {
  TCommand command("Control");
  command.AddInteger("Count", 0, 1, 0);
  EXPECT_THROW(command.GetProperty(1), std::out_of_range);
  EXPECT_THROW(command.GetProperty(-1), std::out_of_range);
}

TEST(TListCommandsTest, KeepsCommandsInPlaceAsTheListGrows) {
  TListCommands commands;
  TCommand& first = commands.Add("Setting");
  first.MessageName = "FIRST";
  for (int i = 0; i < 100; ++i) commands.Add("Status");
  EXPECT_EQ(commands.Count(), 101);
  EXPECT_EQ(&commands.Items(0), &first);
  EXPECT_EQ(commands.Items(0).MessageName, "FIRST");
  EXPECT_THROW(commands.Items(101), std::out_of_range);
  EXPECT_THROW(commands.Items(-1), std::out_of_range);
}

TEST(TListCommandsTest, ConstListHandsOutConstCommands) {
  static_assert(
      std::is_same_v<decltype(std::declval<const TListCommands&>().Items(0)), const TCommand&>);
  static_assert(std::is_same_v<decltype(std::declval<TListCommands&>().Items(0)), TCommand&>);
  static_assert(
      std::is_same_v<decltype(std::declval<const TListCommands&>().Find("")), const TCommand*>);
}

TEST(TListCommandsTest, FindsByMessageNameExactSpellingFirst) {
  TListCommands commands;
  for (const char* name : {"CTRL_POSITION", "Mixed_Case", "MIXED_CASE"}) {
    commands.Add("Control").MessageName = name;
  }
  EXPECT_EQ(commands.Find("CTRL_POSITION"), &commands.Items(0));
  EXPECT_EQ(commands.Find("ctrl_Position"), &commands.Items(0));
  // Letter case counts only when no command is spelled exactly so.
  EXPECT_EQ(commands.Find("MIXED_CASE"), &commands.Items(2));
  EXPECT_EQ(commands.Find("Mixed_Case"), &commands.Items(1));
  EXPECT_EQ(commands.Find("mixed_case"), &commands.Items(1));
  EXPECT_EQ(commands.Find("CTRL_POSITIO"), nullptr);
  EXPECT_EQ(commands.Find(""), nullptr);
  EXPECT_EQ(TListCommands().Find("CTRL_POSITION"), nullptr);
}

class BuiltInCommandsTest : public testing::Test {
 protected:
  BuiltInCommandsTest() { AddBuiltInCommands(commands_); }

  const TCommand& Find(const std::string& name) const {
    const TCommand* command = commands_.Find(name);
    if (command == nullptr) throw std::invalid_argument(name);
    return *command;
  }

  TListCommands commands_;
};

// Name, category, message code, length code and parameter count, in catalogue order: the codes
// are the first two bytes of every frame.
TEST_F(BuiltInCommandsTest, ListsTheFifteenCommandsInOrderWithTheirCodes) {
  struct Row {
    std::string Name, Category, Msg, Len;
    std::int32_t Parameters;
  };
  const std::vector<Row> expected = {
      {"SET_CHANNEL_MODE", "Setting", "90", "0F", 4},
      {"SET_TILT_FRAMECOUNT", "Setting", "91", "0E", 3},
      {"SET_DIM_FRAMECOUNT", "Setting", "92", "0D", 2},
      {"SET_SUN_AUTO", "Setting", "93", "0D", 2},
      {"ST_DCT_LOCK", "Setting", "94", "0C", 2},
      {"SET_CHANNEL", "Setting", "97", "0C", 1},
      {"SET_OPEN_PROG", "Setting", "98", "0C", 1},
      {"SET_IP", "Setting", "9A", "0C", 1},
      {"CTRL_POSITION", "Control", "80", "0D", 2},
      {"CTRL_TILT", "Control", "81", "0E", 3},
      {"CTRL_DIM", "Control", "82", "0E", 3},
      {"GET_CHANNEL_MODE", "Status", "A0", "0C", 1},
      {"GET_TILT_FRAMECOUNT", "Status", "A1", "0C", 1},
      {"GET_DIM_FRAMECOUNT", "Status", "A2", "0C", 1},
      {"GET_DCT_LOCK", "Status", "A4", "0B", 0},
  };
  ASSERT_EQ(commands_.Count(), static_cast<std::int32_t>(expected.size()));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const TCommand& command = commands_.Items(static_cast<std::int32_t>(i));
    SCOPED_TRACE(expected[i].Name);
    EXPECT_EQ(command.MessageName, expected[i].Name);
    EXPECT_EQ(command.Category, expected[i].Category);
    EXPECT_EQ(command.Msg, expected[i].Msg);
    EXPECT_EQ(command.Len, expected[i].Len);
    EXPECT_EQ(command.PropertyCount(), expected[i].Parameters);
  }
}

TEST_F(BuiltInCommandsTest, CodesAreDistinctAndLengthsFollowTheParametersButOne) {
  std::set<std::string> codes;
  for (std::int32_t i = 0; i < commands_.Count(); ++i) {
    const TCommand& command = commands_.Items(i);
    SCOPED_TRACE(command.MessageName);
    EXPECT_TRUE(codes.insert(command.Msg).second);
    const std::int32_t expectedLen = 11 + command.PropertyCount();
    // The device takes ST_DCT_LOCK with one byte less than its two parameters suggest.
    EXPECT_EQ(ValueTextToInt("$" + command.Len),
              command.MessageName == "ST_DCT_LOCK" ? expectedLen - 1 : expectedLen);
  }
}

TEST_F(BuiltInCommandsTest, EveryParameterIsWellFormedAndStartsOnAByte) {
  for (std::int32_t i = 0; i < commands_.Count(); ++i) {
    const TCommand& command = commands_.Items(i);
    for (std::int32_t p = 0; p < command.PropertyCount(); ++p) {
      const TProperty& property = command.GetProperty(p);
      SCOPED_TRACE(command.MessageName + " / " + property.Name);
      if (property.Type == kTypeList) {
        EXPECT_EQ(property.Min, 0);
        EXPECT_EQ(property.Max, 0);
        EXPECT_GE(ReadOptionItems(property.Options).size(), 2u);
      } else {
        ASSERT_EQ(property.Type, kTypeInteger);
        EXPECT_TRUE(property.Options.empty());
        EXPECT_LT(property.Min, property.Max);
        EXPECT_LE(property.Max, 255);
      }
      const std::optional<std::int32_t> start = StartValue(property);
      ASSERT_TRUE(start.has_value());
      EXPECT_GE(*start, 0);
      EXPECT_LE(*start, 255);
    }
    // Every command but the two dry-contact ones starts with the channel.
    if (command.MessageName != "ST_DCT_LOCK" && command.MessageName != "GET_DCT_LOCK") {
      SCOPED_TRACE(command.MessageName);
      ASSERT_GE(command.PropertyCount(), 1);
      EXPECT_EQ(command.GetProperty(0),
                (TProperty{"INTEGER", "RTS channel selection", "", 0, 15, 0}));
    }
  }
}

TEST_F(BuiltInCommandsTest, CategoriesOccurAsListed) {
  std::map<std::string, int> counts;
  for (std::int32_t i = 0; i < commands_.Count(); ++i) ++counts[commands_.Items(i).Category];
  EXPECT_EQ(counts, (std::map<std::string, int>{{"Setting", 8}, {"Control", 3}, {"Status", 4}}));
}

TEST_F(BuiltInCommandsTest, DefaultsBelowTheMinimumAreStoredAsZero) {
  const std::vector<std::pair<std::string, std::int32_t>> below = {
      {"SET_TILT_FRAMECOUNT", 1},
      {"SET_TILT_FRAMECOUNT", 2},
      {"SET_DIM_FRAMECOUNT", 1},
      {"CTRL_TILT", 2},
      {"CTRL_DIM", 2},
  };
  for (const auto& [name, index] : below) {
    const TProperty& property = Find(name).GetProperty(index);
    SCOPED_TRACE(name + " / " + property.Name);
    EXPECT_EQ(property.Default, 0);
    EXPECT_GT(property.Min, 0);
  }
  EXPECT_EQ(Find("SET_TILT_FRAMECOUNT").GetProperty(1),
            (TProperty{"INTEGER", "US mode", "", 4, 255, 0}));
  EXPECT_EQ(Find("SET_TILT_FRAMECOUNT").GetProperty(2),
            (TProperty{"INTEGER", "CE mode", "", 2, 13, 0}));
  EXPECT_EQ(Find("CTRL_TILT").GetProperty(2),
            (TProperty{"INTEGER", "Tilting value", "", 1, 127, 0}));
}

TEST_F(BuiltInCommandsTest, ListParametersStartOnTheirDefaultItems) {
  const TCommand& mode = Find("SET_CHANNEL_MODE");
  EXPECT_EQ(mode.GetProperty(1),
            (TProperty{"LIST", "Mode", "0=CE Mode;1=US Mode (Default)", 0, 0, 1}));
  EXPECT_EQ(mode.GetProperty(2), (TProperty{"LIST", "Rolling/Tilting mode",
                                            "0=Rolling Mode (Default);1=Tilting Mode", 0, 0, 0}));
  EXPECT_EQ(mode.GetProperty(3),
            (TProperty{"LIST", "MODULIS mode", "0=Normal Mode;1=Modulis Mode (Default)", 0, 0, 1}));
  // In every list of SET_CHANNEL_MODE the start item is the one labelled "(Default)".
  for (std::int32_t p = 1; p < 4; ++p) {
    const std::vector<TOptionItem> items = ReadOptionItems(mode.GetProperty(p).Options);
    EXPECT_TRUE(items.at(mode.GetProperty(p).Default).Label.ends_with("(Default)"));
  }

  const TProperty& action = Find("CTRL_POSITION").GetProperty(1);
  EXPECT_EQ(action.Options, "1=UP/ON;2=DOWN/OFF;3=STOP;4=Favorite position/light level");
  EXPECT_EQ(StartValue(action), 1);
}

TEST_F(BuiltInCommandsTest, DryContactCommands) {
  const TCommand& lock = Find("ST_DCT_LOCK");
  ASSERT_EQ(lock.PropertyCount(), 2);
  EXPECT_EQ(lock.GetProperty(0).Type, kTypeList);
  EXPECT_EQ(lock.GetProperty(0).Name, "Inputs");
  const std::vector<TOptionItem> inputs = ReadOptionItems(lock.GetProperty(0).Options);
  ASSERT_EQ(inputs.size(), 6u);
  for (std::size_t i = 0; i < inputs.size(); ++i) EXPECT_EQ(inputs[i].Value, std::int32_t(i));
  EXPECT_EQ(inputs[0].Label, "All dry contact inputs");
  EXPECT_EQ(inputs[5].Label, "dry contact #5");
  EXPECT_EQ(lock.GetProperty(1), (TProperty{"LIST", "Status", "0=Unlock;1=Lock", 0, 0, 0}));
  EXPECT_EQ(Find("GET_DCT_LOCK").PropertyCount(), 0);
}

TEST_F(BuiltInCommandsTest, DescriptionsUseBareLineFeeds) {
  EXPECT_EQ(Find("SET_CHANNEL_MODE").Description,
            "Configure application modes:\n\n- CE/US ergonomics\n- Rolling/Tilting mode\n"
            "- MODULIS mode");
  EXPECT_EQ(Find("CTRL_POSITION").Description,
            "Move UP / Light ON\nMove DOWN / Light OFF\nSTOP movement\nMove to favorite position "
            "/ Switch light ON with favorite light level");
  for (std::int32_t i = 0; i < commands_.Count(); ++i) {
    EXPECT_EQ(commands_.Items(i).Description.find('\r'), std::string::npos);
  }
}

TEST_F(BuiltInCommandsTest, AppendsWithoutClearing) {
  AddBuiltInCommands(commands_);
  ASSERT_EQ(commands_.Count(), 30);
  EXPECT_EQ(commands_.Items(15).MessageName, "SET_CHANNEL_MODE");
  EXPECT_NE(&commands_.Items(15), &commands_.Items(0));
}

}  // namespace
