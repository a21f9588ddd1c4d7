#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct RunResult {
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

// Runs the built brelvik-frame with "args" and collects its exit code, stdout and stderr.
RunResult RunFrame(const std::vector<std::string>& args) {
  const std::filesystem::path dir = testing::TempDir();
  const std::string out = (dir / "frame.out").string();
  const std::string err = (dir / "frame.err").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<char*> argv;
  std::string program = BRELVIK_FRAME_PATH;
  argv.push_back(program.data());
  std::vector<std::string> copies = args;
  for (std::string& arg : copies) argv.push_back(arg.data());
  argv.push_back(nullptr);

  RunResult result;
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return result;
  int status = 0;
  waitpid(pid, &status, 0);
  result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.Out = ReadFile(out);
  result.Err = ReadFile(err);
  return result;
}

constexpr char kWorkedExample[] =
    "              Cmd  |Re|Host    |Slave   |Param\n"
    "Raw Data:     80 0D 05 00 FF FF 02 00 05 00 01\n"
    "Actual Data:  7F F2 FA FF 00 00 FD FF FA FF FE\n"
    "Checksum:     08 5D\n"
    "Data to send: 7F F2 FA FF 00 00 FD FF FA FF FE 08 5D\n"
    "Loxone:       \\x7F\\xF2\\xFA\\xFF\\x00\\x00\\xFD\\xFF\\xFA\\xFF\\xFE\\x08\\x5D\n";

TEST(BrelvikFrameTest, EncodesWorkedExampleWithDefaults) {
  const RunResult run = RunFrame({"encode", "CTRL_POSITION"});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, kWorkedExample);
  EXPECT_EQ(run.Err, "");

  EXPECT_EQ(
      RunFrame({"encode", "--host", "FF FF 00", "--slave=05 00 02", "CTRL_POSITION", "0", "0x1"})
          .Out,
      kWorkedExample);
}

TEST(BrelvikFrameTest, PrintsOnlyTheLoxoneString) {
  const RunResult run = RunFrame({"encode", "--loxone", "CTRL_POSITION"});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, "\\x7F\\xF2\\xFA\\xFF\\x00\\x00\\xFD\\xFF\\xFA\\xFF\\xFE\\x08\\x5D\n");
}

TEST(BrelvikFrameTest, PrintsJson) {
  const RunResult run = RunFrame({"encode", "--json", "CTRL_POSITION"});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out,
            "{\n"
            "  \"command\": \"CTRL_POSITION\",\n"
            "  \"ok\": true,\n"
            "  \"raw\": \"80 0D 05 00 FF FF 02 00 05 00 01\",\n"
            "  \"actual\": \"7F F2 FA FF 00 00 FD FF FA FF FE\",\n"
            "  \"checksum\": \"08 5D\",\n"
            "  \"data_to_send\": \"7F F2 FA FF 00 00 FD FF FA FF FE 08 5D\",\n"
            "  \"loxone\": \"\\\\x7F\\\\xF2\\\\xFA\\\\xFF\\\\x00\\\\x00\\\\xFD\\\\xFF\\\\xFA\\\\xFF"
            "\\\\xFE\\\\x08\\\\x5D\"\n"
            "}\n");
}

TEST(BrelvikFrameTest, EmptyAddressTextsArePassedOn) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"encode", "--host", "", "CTRL_POSITION"},
        std::vector<std::string>{"encode", "--host=", "CTRL_POSITION"}}) {
    const RunResult run = RunFrame(args);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("Raw Data:     80 0D 05 02 00 05 00 01\n"), std::string::npos)
        << run.Out;
    EXPECT_NE(run.Out.find("Checksum:     07 5E\n"), std::string::npos);
  }
}

TEST(BrelvikFrameTest, MissingValuesTakeTheEditorsStartValues) {
  // SET_TILT_FRAMECOUNT starts below the minimum of two of its parameters: 0, 0, 0.
  const RunResult run = RunFrame({"encode", "SET_TILT_FRAMECOUNT", "3"});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_NE(run.Out.find("Raw Data:     91 0E 05 00 FF FF 02 00 05 03 00 00\n"), std::string::npos)
      << run.Out;
  // SET_CHANNEL_MODE's lists start on items 1, 0 and 1, whose values are 1, 0 and 1.
  const RunResult mode = RunFrame({"encode", "SET_CHANNEL_MODE"});
  EXPECT_NE(mode.Out.find("02 00 05 00 01 00 01\n"), std::string::npos) << mode.Out;
}

struct FailureCase {
  const char* Name;
  std::vector<std::string> Args;
  int ExitCode;
  std::string Out;      // Exact stdout.
  std::string ErrPart;  // Part of stderr.
};

class BrelvikFrameFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(BrelvikFrameFailureTest, ExitsWithCodeAndMessage) {
  const FailureCase& c = GetParam();
  const RunResult run = RunFrame(c.Args);
  EXPECT_EQ(run.ExitCode, c.ExitCode) << run.Out << run.Err;
  EXPECT_EQ(run.Out, c.Out);
  EXPECT_NE(run.Err.find(c.ErrPart), std::string::npos) << run.Err;
}

constexpr char kInvalid[] = "Invalid settings...\n";
constexpr char kEncodeError[] = "Error while encoding command.\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, BrelvikFrameFailureTest,
    testing::ValuesIn(std::vector<FailureCase>{
        {"HostNotHexadecimal",
         {"encode", "--host", "FG FF 00", "CTRL_POSITION"},
         1,
         kInvalid,
         kEncodeError},
        {"OddSlave", {"encode", "--slave", "05 00 2", "CTRL_POSITION"}, 1, kInvalid, kEncodeError},
        {"UncheckedAboveByte",
         {"encode", "--unchecked", "CTRL_POSITION", "256"},
         1,
         kInvalid,
         kEncodeError},
        {"UncheckedNegative",
         {"encode", "--unchecked", "CTRL_POSITION", "--", "-1"},
         1,
         kInvalid,
         kEncodeError},
        {"UncheckedBeyond64Bits",
         {"encode", "--unchecked", "CTRL_POSITION", "99999999999999999999999"},
         1,
         kInvalid,
         kEncodeError},
        {"LoxoneFailurePrintsNothing",
         {"encode", "--loxone", "--host", "GG", "CTRL_POSITION"},
         1,
         "",
         kEncodeError},
        {"JsonFailure",
         {"encode", "--json", "--host", "GG", "GET_DCT_LOCK"},
         1,
         "{\n  \"command\": \"GET_DCT_LOCK\",\n  \"ok\": false,\n  \"error\": \"Invalid "
         "settings...\"\n}\n",
         kEncodeError},
        {"UnknownCommand", {"encode", "CTRL_NOPE"}, 2, "", "unknown command \"CTRL_NOPE\""},
        {"UnknownOption", {"encode", "--bogus", "CTRL_POSITION"}, 2, "", "--bogus"},
        {"NotANumber",
         {"encode", "CTRL_POSITION", "abc"},
         2,
         "",
         "\"abc\" for \"RTS channel selection\" is not a number"},
        {"HexWithoutDigits", {"encode", "CTRL_POSITION", "0x"}, 2, "", "is not a number"},
        {"EmptyValue", {"encode", "CTRL_POSITION", ""}, 2, "", "is not a number"},
        {"AboveMaximum",
         {"encode", "CTRL_POSITION", "16"},
         2,
         "",
         "value 16 for \"RTS channel selection\" of CTRL_POSITION is out of range: allowed 0 to "
         "15"},
        {"BelowMinimum",
         {"encode", "SET_TILT_FRAMECOUNT", "0", "3"},
         2,
         "",
         "\"US mode\" of SET_TILT_FRAMECOUNT is out of range: allowed 4 to 255"},
        {"NotAnOption",
         {"encode", "CTRL_POSITION", "0", "0"},
         2,
         "",
         "value 0 for \"Action\" of CTRL_POSITION is not one of its options: 1 (UP/ON), "
         "2 (DOWN/OFF), 3 (STOP), 4 (Favorite position/light level)"},
        {"TooManyValues",
         {"encode", "CTRL_POSITION", "0", "1", "2"},
         2,
         "",
         "CTRL_POSITION takes 2 value(s), 3 given"},
        {"ValuesForCommandWithout", {"encode", "GET_DCT_LOCK", "0"}, 2, "", "takes 0 value(s)"},
        {"JsonAndLoxone", {"encode", "--json", "--loxone", "CTRL_POSITION"}, 2, "", "--json"},
        {"NoSubcommand", {}, 2, "", "subcommand"},
        {"ShowUnknown", {"show", "NOPE"}, 2, "", "unknown command"},
    }),
    [](const auto& info) { return info.param.Name; });

TEST(BrelvikFrameTest, UncheckedPassesAnyByteOn) {
  const RunResult run = RunFrame({"encode", "--unchecked", "CTRL_POSITION", "0x14", "200"});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_NE(run.Out.find("02 00 05 14 C8\n"), std::string::npos) << run.Out;
}

TEST(BrelvikFrameTest, ListsCommandsInCatalogueOrder) {
  const RunResult run = RunFrame({"list"});
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

  const RunResult json = RunFrame({"list", "--json"});
  EXPECT_NE(json.Out.find("\"name\": \"GET_DCT_LOCK\",\n    \"category\": \"Status\",\n"
                          "    \"msg\": \"A4\",\n    \"len\": \"0B\",\n    \"parameters\": 0"),
            std::string::npos)
      << json.Out;
}

TEST(BrelvikFrameTest, ShowsParametersWithTheirChoices) {
  const RunResult run = RunFrame({"show", "ctrl_position"});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_NE(run.Out.find("CTRL_POSITION (Control)\nMessage code: 80\nLength code:  0D\n"),
            std::string::npos)
      << run.Out;
  EXPECT_NE(run.Out.find("1. RTS channel selection: integer from 0 to 15, default 0\n"),
            std::string::npos);
  EXPECT_NE(run.Out.find("2. Action: one of the values below, default 1\n       1 = UP/ON\n"),
            std::string::npos);
  EXPECT_NE(RunFrame({"show", "GET_DCT_LOCK"}).Out.find("No parameters.\n"), std::string::npos);
  EXPECT_NE(RunFrame({"show", "--json", "CTRL_TILT"}).Out.find("\"name\": \"Tilting value\""),
            std::string::npos);
}

TEST(BrelvikFrameTest, HelpAndVersionSucceed) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--help"}, std::vector<std::string>{"encode", "--help"},
        std::vector<std::string>{"list", "--help"}, std::vector<std::string>{"show", "--help"}}) {
    const RunResult run = RunFrame(args);
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_NE(run.Out.find("Usage:"), std::string::npos) << run.Out;
  }
  const RunResult version = RunFrame({"--version"});
  EXPECT_EQ(version.ExitCode, 0);
  EXPECT_EQ(version.Out, "brelvik-frame 1.10\n");
}

}  // namespace
