// Tests of the finishing actions: close outcomes, the batch file, the restart, the RunOnce value.
#include "client/finishing.h"

#include <gtest/gtest.h>

#include "tests/fakes/byte_text.h"
#include "tests/fakes/fake_client_platform.h"
#include "tests/pinned_texts.h"

namespace {

const char kListPath[] = "C:\\Tolvik\\mac.ini";
const char kIcdPath[] = "C:\\Tolvik\\icd.ini";
const char kBatchPath[] = "C:\\TEMP\\$94827$.bat";
const char kBatchCommandLine[] = "cmd.exe /c \"\"C:\\TEMP\\$94827$.bat\"\"";

// The calls that change something outside Tolvik.
std::vector<std::string> Actions(const CallLog& log) {
  return log.Only({"DeleteFile", "DeleteAtNextStart", "WriteWholeFile", "Start", "CloseHandles",
                   "EnablePrivilege", "InitiateSystemShutdown", "ExitWindows"});
}

const std::vector<std::string> kRestartCalls = {
    "EnablePrivilege(, SeShutdownPrivilege)", "EnablePrivilege(, SeRemoteShutdownPrivilege)",
    "InitiateSystemShutdown(, 0, 0, 1)"};

struct CloseCase {
  uint8_t applied, deleteAfterwards, restartAfterwards;
  std::vector<std::string> expected;
  uint8_t joinPending = 0;  // Windows XP: the domain join waits for the restart
};

TEST(FinishOnClose, CarriesOutWhatTheSwitchesAskedOnlyAfterAnApply) {
  const std::string batchCalls[] = {
      std::string("WriteWholeFile(") + kBatchPath + ", 208)",
      std::string("Start(") + kBatchCommandLine + ")",
      std::string("CloseHandles(") + kBatchCommandLine + ")"};
  const CloseCase cases[] = {
      {0, 0, 0, {}},
      {0, 1, 0, {}},
      {0, 0, 1, {}},
      {0, 1, 1, {}},
      {1, 0, 0, {}},
      {1, 1, 0, {std::string("DeleteFile(") + kListPath + ")", "DeleteAtNextStart(C:\\Tolvik\\Tolvik.exe)",
                 batchCalls[0], batchCalls[1], batchCalls[2]}},
      {1, 0, 1, kRestartCalls},
      {1, 1, 1, {std::string("DeleteFile(") + kListPath + ")", "DeleteAtNextStart(C:\\Tolvik\\Tolvik.exe)",
                 kRestartCalls[0], kRestartCalls[1], kRestartCalls[2]}},
      // A join waiting for the new name: the restart /R asks for, and nothing deleted.
      {0, 1, 1, kRestartCalls, 1},
      {0, 1, 0, {}, 1},
  };
  for (const CloseCase& c : cases) {
    FakeClientPlatform fake;
    fake.files.Put(kListPath, "[list]\r\n");
    fake.files.Put(kIcdPath, "[cfg]\r\n");
    ClientState state;
    state.Applied = c.applied;
    state.DeleteAfterwards = c.deleteAfterwards;
    state.RestartAfterwards = c.restartAfterwards;
    state.JoinPending = c.joinPending;
    ClientPlatform platform = fake.platform();
    FinishOnClose(platform, state);
    const std::string label = std::to_string(c.applied) + std::to_string(c.deleteAfterwards) +
                              std::to_string(c.restartAfterwards);
    EXPECT_TRUE(SameByteLists(Actions(fake.log), c.expected)) << label;
    EXPECT_EQ(fake.files.Has(kListPath), !c.applied || c.deleteAfterwards == 0) << label;
    EXPECT_TRUE(fake.files.Has(kIcdPath)) << label;  // /K removes the list only
    EXPECT_EQ(fake.window.closeRequests, 0) << label;  // the close is already under way
    EXPECT_TRUE(fake.processes.HandleLeaks().empty()) << label;
  }
}

TEST(FinishOnClose, WritesTheBatchFileAndStartsItHiddenAtIdlePriority) {
  FakeClientPlatform fake;
  fake.files.modulePath = "C:\\Program Files\\工具\\Tolvik.exe";
  fake.files.tempPath = "C:\\Documents and Settings\\用户\\Local Settings\\Temp";  // no final "\"
  ClientState state;
  state.Applied = 1;
  state.DeleteAfterwards = 1;
  ClientPlatform platform = fake.platform();
  FinishOnClose(platform, state);

  const std::string temp = "C:\\Documents and Settings\\\xD3\xC3\xBB\xA7\\Local Settings\\Temp\\";
  const std::string del = "del \"C:\\Program Files\\\xB9\xA4\xBE\xDF\\Tolvik.exe\"\r\n";
  const std::string batch = temp + "$94827$.bat";
  EXPECT_TRUE(SameBytes(fake.files.Get(batch),
                        "cd " + temp + "\r\n" + del + del + del + del + del + del + "del \"" +
                            batch + "\"\r\n"));
  ASSERT_EQ(fake.processes.records.size(), 1u);
  const ProcessLaunch& launch = fake.processes.records[0].launch;
  // cmd from the system directory runs the file; cmd takes off the outer pair of quotes, the
  // inner pair keeps the path with its spaces whole.
  EXPECT_EQ(launch.applicationName, "C:\\WINDOWS\\system32\\cmd.exe");
  EXPECT_TRUE(SameBytes(launch.commandLine, "cmd.exe /c \"\"" + batch + "\"\""));
  EXPECT_EQ(launch.creationFlags, kIdlePriorityClass);
  EXPECT_EQ(launch.startupFlags, kStartfUseShowWindow);
  EXPECT_EQ(launch.showWindow, kSwHide);
  EXPECT_EQ(launch.workingDirectory, "");
  EXPECT_TRUE(fake.processes.records[0].waits.empty());  // never waited for
  EXPECT_EQ(fake.processes.records[0].closes, 1);
}

TEST(SelfDeleteBatchText, HoldsExactlyEightLinesWithPercentSignsDoubled) {
  struct Case { const char* temp; const char* program; const char* expected; };
  // The plain text is checked where FinishOnClose writes it.
  const Case cases[] = {
      // cmd would expand %PATH% or eat a lone "%"; "%%" is one "%" on every line.
      {"C:\\T%1\\", "C:\\100%\\%PATH%.exe",
       "cd C:\\T%%1\\\r\n"
       "del \"C:\\100%%\\%%PATH%%.exe\"\r\ndel \"C:\\100%%\\%%PATH%%.exe\"\r\n"
       "del \"C:\\100%%\\%%PATH%%.exe\"\r\ndel \"C:\\100%%\\%%PATH%%.exe\"\r\n"
       "del \"C:\\100%%\\%%PATH%%.exe\"\r\ndel \"C:\\100%%\\%%PATH%%.exe\"\r\n"
       "del \"C:\\T%%1\\$94827$.bat\"\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(SameBytes(SelfDeleteBatchText(c.temp, c.program), c.expected)) << c.program;
  }
}

struct BatchFailureCase {
  const char* name;
  std::function<void(FakeClientPlatform&)> arrange;
  bool expectWriteAttempt;
};

// A batch file that is not on disk complete is never started; the list is deleted all the same
// and nothing else is attempted.
TEST(FinishOnClose, StartsNoBatchFileThatWasNotWrittenWhole) {
  const BatchFailureCase cases[] = {
      {"temporary directory missing",
       [](FakeClientPlatform& fake) { fake.files.missingDirectories.insert("C:\\TEMP\\"); }, true},
      {"disk full", [](FakeClientPlatform& fake) { fake.files.shortWrites[kBatchPath] = 40; }, true},
      {"no right to write",
       [](FakeClientPlatform& fake) { fake.files.failingWrites.insert(kBatchPath); }, true},
      {"no temporary path", [](FakeClientPlatform& fake) { fake.files.tempPath = ""; }, false},
      // No cmd.exe that Tolvik may start: the file is not even written.
      {"no system directory", [](FakeClientPlatform& fake) { fake.system.systemDirectory = ""; },
       false},
  };
  for (const BatchFailureCase& c : cases) {
    FakeClientPlatform fake;
    fake.files.Put(kListPath, "[list]\r\n");
    c.arrange(fake);
    ClientState state;
    state.Applied = 1;
    state.DeleteAfterwards = 1;
    ClientPlatform platform = fake.platform();
    FinishOnClose(platform, state);
    EXPECT_EQ(fake.log.Count("Start"), 0u) << c.name;
    EXPECT_EQ(fake.log.Count("WriteWholeFile"), c.expectWriteAttempt ? 1u : 0u) << c.name;
    EXPECT_FALSE(fake.files.Has(kListPath)) << c.name;
    EXPECT_EQ(fake.system.shutdownRequests, 0) << c.name;
  }
}

TEST(FinishOnClose, GoesOnWhenTheListCannotBeDeletedOrTheBatchFileStarted) {
  FakeClientPlatform fake;
  fake.files.Put(kListPath, "x");
  fake.files.failingDeletes.insert(kListPath);
  fake.processes.defaultOutcome.starts = false;
  ClientState state;
  state.Applied = 1;
  state.DeleteAfterwards = 1;
  ClientPlatform platform = fake.platform();
  FinishOnClose(platform, state);
  EXPECT_TRUE(SameByteLists(Actions(fake.log),
                            {std::string("DeleteFile(") + kListPath + ")",
                             "DeleteAtNextStart(C:\\Tolvik\\Tolvik.exe)",
                             std::string("WriteWholeFile(") + kBatchPath + ", 208)",
                             std::string("Start(") + kBatchCommandLine + ")"}));
}

struct RestartCase {
  const char* name;
  uint32_t version;
  std::string machine;
  bool force, reboot;
  std::vector<std::string> failingPrivileges;
  bool systemAgrees;
  bool expectedResult;
  std::vector<std::string> expectedCalls;
};

TEST(RestartComputer, UsesTheCallsOfEachWindowsFamily) {
  const uint32_t nt = 0x0A280105, win98 = 0xC0000A04;
  const RestartCase cases[] = {
      {"NT restart", nt, "", false, true, {}, true, true,
       {"EnablePrivilege(, SeShutdownPrivilege)", "EnablePrivilege(, SeRemoteShutdownPrivilege)",
        "InitiateSystemShutdown(, 0, 0, 1)"}},
      {"NT forced shutdown of a named machine", nt, "PC7", true, false, {}, true, true,
       {"EnablePrivilege(PC7, SeShutdownPrivilege)",
        "EnablePrivilege(PC7, SeRemoteShutdownPrivilege)", "InitiateSystemShutdown(PC7, 0, 1, 0)"}},
      {"NT refused", nt, "", false, true, {}, false, false,
       {"EnablePrivilege(, SeShutdownPrivilege)", "EnablePrivilege(, SeRemoteShutdownPrivilege)",
        "InitiateSystemShutdown(, 0, 0, 1)"}},
      {"NT shutdown privilege unknown", nt, "", false, true, {"SeShutdownPrivilege"}, true, false,
       {"EnablePrivilege(, SeShutdownPrivilege)"}},
      {"NT remote privilege unknown", nt, "", false, true, {"SeRemoteShutdownPrivilege"}, true,
       false,
       {"EnablePrivilege(, SeShutdownPrivilege)", "EnablePrivilege(, SeRemoteShutdownPrivilege)"}},
      {"9x restart", win98, "", false, true, {}, true, true, {"ExitWindows(3)"}},
      {"9x forced restart", win98, "", true, true, {}, true, true, {"ExitWindows(7)"}},
      {"9x forced shutdown", win98, "", true, false, {}, true, true, {"ExitWindows(5)"}},
      {"9x refused", win98, "", false, false, {}, false, false, {"ExitWindows(1)"}},
      {"9x named machine", win98, "PC7", false, true, {}, true, false, {}},
  };
  for (const RestartCase& c : cases) {
    CallLog log;
    FakeSystemApi system(log);
    system.version = c.version;
    system.failingPrivileges = c.failingPrivileges;
    system.shutdownResult = c.systemAgrees;
    system.exitWindowsResult = c.systemAgrees;
    EXPECT_EQ(RestartComputer(system, c.machine, c.force, c.reboot), c.expectedResult) << c.name;
    EXPECT_TRUE(SameByteLists(log.Only({"EnablePrivilege", "InitiateSystemShutdown", "ExitWindows"}),
                              c.expectedCalls))
        << c.name;
  }
}

struct RunOnceCase {
  std::set<StartupOption> ticked;
  std::string addressBox;
  std::string expectedSwitches;  // what follows the quoted path and one space
};

TEST(BuildRunOnceCommand, AddsTheTickedSwitchesInOrder) {
  using O = StartupOption;
  const RunOnceCase cases[] = {
      {{O::AutoApply, O::DeleteAfterwards, O::RestartAfterwards, O::FetchFromNetwork}, "",
       "/A /K /R /N"},
      {{O::RestartAfterwards}, "", " /R"},  // two spaces before /R in the value
      {{}, "", ""},
      {{O::FetchFromNetwork, O::AutoApply}, "", "/A /N"},
      {{O::DeleteAfterwards, O::FetchFromNetwork}, "", " /K /N"},
      {{O::AutoApply}, "  10.0.0.5 \t", "/A /ip:10.0.0.5"},
      {{O::AutoApply}, "   ", "/A"},
      {{}, "192.0.2.7", " /ip:192.0.2.7"},
      {{O::AutoApply}, "服务器 1", "/A /ip:\xB7\xFE\xCE\xF1\xC6\xF7 1"},
  };
  for (const RunOnceCase& c : cases) {
    CallLog log;
    RecordingWindow window(log);
    window.ticked = c.ticked;
    window.addressBox = c.addressBox;
    EXPECT_TRUE(SameBytes(BuildRunOnceCommand(window, "C:\\My Tools\\Tolvik.exe"),
                          "\"C:\\My Tools\\Tolvik.exe\" " + c.expectedSwitches));
  }
}

TEST(RegisterRunOnce, WritesTheValueAndClosesEvenWhenTheKeyIsRefused) {
  for (bool refused : {false, true}) {
    FakeClientPlatform fake;
    if (refused) fake.registry.failingWriteKeys.insert(pinned_tolvik_texts::kRunOnceKey);
    ClientPlatform platform = fake.platform();
    RegisterRunOnce(platform);
    ASSERT_EQ(fake.registry.writes.size(), 1u);
    EXPECT_EQ(fake.registry.writes[0].keyPath,
              "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce");
    EXPECT_EQ(fake.registry.writes[0].valueName, "Tolvik");
    EXPECT_TRUE(SameBytes(fake.registry.writes[0].value, "\"C:\\Tolvik\\Tolvik.exe\" /A /K /R /N"));
    EXPECT_EQ(fake.registry.Has(pinned_tolvik_texts::kRunOnceKey, "Tolvik"), !refused);
    EXPECT_EQ(fake.window.closeRequests, 1);
    EXPECT_EQ(fake.log.calls.back(), "PostCloseRequest()");
  }
}

}  // namespace
