// Tests of RunAndWait: command-line forming, launch fields, and the handling of each outcome.
#include "client/run_and_wait.h"

#include <gtest/gtest.h>

#include "tests/fakes/byte_text.h"
#include "tests/fakes/fake_process_api.h"

namespace {

struct FormCase {
  const char* program;
  std::string arguments;
  std::string expected;
};

TEST(FormCommandLine, QuotesOnlyUnquotedProgramsWithSpaces) {
  const std::string longArguments(4000, 'x');
  const FormCase cases[] = {
      {"netsh", " interface ip set dns x static none", "netsh  interface ip set dns x static none"},
      {"tftp", "192.0.2.1 get mac.ini", "tftp 192.0.2.1 get mac.ini"},
      {"tftp", "", "tftp"},  // no trailing space without arguments
      {"", " get mac.ini", " get mac.ini"},
      {"", "", ""},
      {"C:\\Program Files\\x.exe", "/a", "\"C:\\Program Files\\x.exe\" /a"},
      {"C:\\Program Files\\x.exe", "", "\"C:\\Program Files\\x.exe\""},
      {"\"C:\\Program Files\\x.exe\"", "/a", "\"C:\\Program Files\\x.exe\" /a"},
      {"C:\\a \"b\\x.exe", "", "C:\\a \"b\\x.exe"},      // a double quote anywhere: left alone
      {"tab\tname", "a", "tab\tname a"},                   // only a space asks for quotes
      {"C:\\本地 程序\\x.exe", "\"q\"", "\"C:\\本地 程序\\x.exe\" \"q\""},
      {"wmic", longArguments, "wmic " + longArguments},
  };
  for (const FormCase& c : cases) {
    EXPECT_TRUE(SameBytes(FormCommandLine(c.program, c.arguments), c.expected)) << c.program;
  }
}

struct LaunchCase {
  uint16_t showState;
  std::string workingDirectory;
  uint32_t creationFlags;
};

TEST(RunAndWait, StartsWithTheFlagsOfTheShowState) {
  const LaunchCase cases[] = {
      {kSwHide, "", kCreateNewConsole | kCreateNoWindow},
      {kSwHide, "C:\\Tolvik\\", kCreateNewConsole | kCreateNoWindow},
      {1 /* SW_SHOWNORMAL */, "", kCreateNewConsole},
      {7 /* SW_SHOWMINNOACTIVE */, "D:\\", kCreateNewConsole},
  };
  for (const LaunchCase& c : cases) {
    CallLog log;
    RecordingProcessApi processes(log);
    processes.allowsSearch = true;  // RunAndWait itself takes the program as given
    RunAndWait(processes, "netsh", " x", c.workingDirectory, c.showState, kInfinite);
    ASSERT_EQ(processes.records.size(), 1u);
    const ProcessLaunch& launch = processes.records[0].launch;
    EXPECT_EQ(launch.creationFlags, c.creationFlags) << c.showState;
    EXPECT_EQ(launch.startupFlags, kStartfUseShowWindow);
    EXPECT_EQ(launch.showWindow, c.showState);
    EXPECT_EQ(launch.workingDirectory, c.workingDirectory);
    EXPECT_EQ(launch.commandLine, "netsh  x");
  }
}

struct OutcomeCase {
  const char* name;
  ProcessOutcome outcome;
  uint32_t timeout;
  bool expectedResult;
  std::vector<std::string> expectedCalls;
};

TEST(RunAndWait, ReportsEachOutcomeAndAlwaysReleasesHandles) {
  const OutcomeCase cases[] = {
      {"ends in time", {true, true}, 60000, true,
       {"Start(tftp 1 get mac.ini)", "Wait(tftp 1 get mac.ini, 60000)",
        "CloseHandles(tftp 1 get mac.ini)"}},
      // The child outlives the timeout: false, handles released, nothing ends the child.
      {"times out", {true, false}, 60000, false,
       {"Start(tftp 1 get mac.ini)", "Wait(tftp 1 get mac.ini, 60000)",
        "CloseHandles(tftp 1 get mac.ini)"}},
      {"waits without limit", {true, true}, kInfinite, true,
       {"Start(tftp 1 get mac.ini)", "Wait(tftp 1 get mac.ini, 4294967295)",
        "CloseHandles(tftp 1 get mac.ini)"}},
      {"cannot start", {false, true}, 60000, false, {"Start(tftp 1 get mac.ini)"}},
  };
  for (const OutcomeCase& c : cases) {
    CallLog log;
    RecordingProcessApi processes(log);
    processes.allowsSearch = true;  // RunAndWait itself takes the program as given
    processes.outcomes.push_back(c.outcome);
    EXPECT_EQ(RunAndWait(processes, "tftp", "1 get mac.ini", "", kSwHide, c.timeout),
              c.expectedResult)
        << c.name;
    EXPECT_TRUE(SameByteLists(log.calls, c.expectedCalls)) << c.name;
    EXPECT_TRUE(processes.HandleLeaks().empty()) << c.name;
  }
}

}  // namespace
