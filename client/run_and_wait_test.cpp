// Tests of RunAndWait: command-line forming, launch fields, and the handling of each outcome.
#include "client/run_and_wait.h"

#include "client/step_outcome.h"
#include "client/system_programs.h"
#include "tests/fakes/fake_client_platform.h"
#include "tests/pinned_texts.h"

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

struct SystemRunCase {
  const char* name;
  const SystemProgram* program;
  ProcessOutcome outcome;
  RunOutcome run;
  uint32_t code;
  uint32_t wait;  // the time the child got
  bool ended;     // ended when its time was up
};

ProcessOutcome Exiting(uint32_t code, bool readable = true) {
  ProcessOutcome outcome;
  outcome.exitCode = code;
  outcome.exitCodeReadable = readable;
  return outcome;
}

TEST(RunSystemProgram, TakesTheRealExitCodeAndGivesEachProgramItsTime) {
  const SystemRunCase cases[] = {
      {"259 is the child's own code", &kNetsh, Exiting(259), RunOutcome::kEnded, 259, 300000, false},
      {"an unreadable code is Windows' error", &kWmic, Exiting(5, false), RunOutcome::kEnded, 5,
       300000, false},
      {"an unreadable code is never 0", &kNetsh, Exiting(0, false), RunOutcome::kEnded, 6, 300000,
       false},
      {"netsh that overruns is left to end", &kNetsh, {true, false}, RunOutcome::kStillRunning, 0,
       300000, false},
      {"tftp that overruns is ended", &kTftp, {true, false}, RunOutcome::kStillRunning, 0, 12000,
       true},
      {"schtasks that overruns is ended", &kSchtasks, {true, false}, RunOutcome::kStillRunning, 0,
       60000, true},
  };
  for (const SystemRunCase& c : cases) {
    FakeClientPlatform fake;
    ClientPlatform platform = fake.platform();
    fake.processes.outcomes.push_back(c.outcome);
    RunRequest request;
    request.timeoutMs = kInfinite;
    const RunResult result = RunSystemProgram(platform, *c.program, request);
    EXPECT_EQ(result.outcome, c.run) << c.name;
    EXPECT_EQ(result.code, c.code) << c.name;
    ASSERT_EQ(fake.processes.records.size(), 1u) << c.name;
    EXPECT_EQ(fake.processes.records[0].waits, std::vector<uint32_t>{c.wait}) << c.name;
    EXPECT_EQ(fake.processes.records[0].ended, c.ended) << c.name;
    EXPECT_TRUE(fake.processes.HandleLeaks().empty()) << c.name;
  }
  // A step whose program overran says so in its own words.
  StepOutcome overran;
  overran.action = "netsh  interface ip set address LAN DHCP ";
  overran.result = StepResult::kFailed;
  overran.code = kWaitTimeoutCode;
  EXPECT_TRUE(SameBytes(FailedStepsText({overran}, false),
                        std::string(pinned_tolvik_texts::kApplyIncomplete) + "\r\n" +
                            pinned_tolvik_texts::kAddressFailed + pinned_tolvik_texts::kErrorCode +
                            "258" + pinned_tolvik_texts::kMeaningOpen +
                            pinned_tolvik_texts::kCodeTimedOut + pinned_tolvik_texts::kMeaningClose +
                            pinned_tolvik_texts::kFailedLineEnd));
}

}  // namespace
