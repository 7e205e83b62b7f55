// Tests of the next logon's registration: which one per Windows version and outcome, the task's
// definition and schtasks' command lines, the Run value, and the line a failure adds.
#include "client/next_logon.h"

#include <gtest/gtest.h>

#include "tests/fakes/byte_text.h"
#include "tests/fakes/fake_client_platform.h"
#include "tests/pinned_texts.h"

namespace {

namespace pin = pinned_tolvik_texts;

constexpr uint32_t kWindows2000 = 0x08930005u;
constexpr uint32_t kWindowsXp = 0x0A280105u;
constexpr uint32_t kWindowsVista = 0x17700006u;
constexpr uint32_t kWindows10 = 0x4A61000Au;
const char kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kTaskFile[] = "C:\\TEMP\\tolvik-task.xml";

TEST(NextLogonActionFor, TaskFromVistaOnRunValueBefore) {
  for (uint32_t version : {kWindows2000, kWindowsXp}) {
    EXPECT_EQ(NextLogonActionFor(version, false), NextLogonAction::kWriteRunValue) << version;
    EXPECT_EQ(NextLogonActionFor(version, true), NextLogonAction::kDeleteRunValue) << version;
  }
  for (uint32_t version : {kWindowsVista, kWindows10}) {
    EXPECT_EQ(NextLogonActionFor(version, false), NextLogonAction::kCreateTask) << version;
    EXPECT_EQ(NextLogonActionFor(version, true), NextLogonAction::kDeleteTask) << version;
  }
}

TEST(CommandLineSwitches, TakesWhatFollowsTheProgram) {
  EXPECT_EQ(CommandLineSwitches("\"C:\\A B\\Tolvik.exe\" /A /K /IP:10.0.0.5 "), "/A /K /IP:10.0.0.5");
  EXPECT_EQ(CommandLineSwitches("C:\\Tolvik\\Tolvik.exe\t/A/N"), "/A/N");
  EXPECT_EQ(CommandLineSwitches("\"C:\\Tolvik\\Tolvik.exe\""), "");
  EXPECT_EQ(CommandLineSwitches("\"C:\\Tolvik\\Tolvik.exe /A"), "");
}

// What schtasks read: the file's bytes as UTF-16 LE after the byte-order mark, as ASCII text.
std::string AsciiOfUtf16File(const std::string& bytes) {
  std::string text;
  if (bytes.compare(0, 2, "\xFF\xFE") != 0) return "no byte-order mark";
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    if (bytes[i + 1] != 0) return "not ASCII";
    text += bytes[i];
  }
  return text;
}

TEST(ArrangeNextLogon, VistaOnMakesATaskForTheAdministratorsWithThisRunsSwitches) {
  FakeClientPlatform fake;
  fake.system.version = kWindows10;
  fake.system.commandLine = "\"C:\\R&D <1>\\Tolvik.exe\" /A /K /IP:10.0.0.5";
  fake.files.modulePath = "C:\\R&D <1>\\Tolvik.exe";
  std::string definition;
  fake.processes.onRun = [&](const ProcessLaunch&) { definition = fake.files.Get(kTaskFile); };
  ClientPlatform platform = fake.platform();
  ArrangeNextLogon(platform, false);

  EXPECT_EQ(fake.processes.CommandLines(),
            std::vector<std::string>{"schtasks /create /tn Tolvik /xml \"C:\\TEMP\\tolvik-task.xml\" /f"});
  EXPECT_EQ(fake.processes.records[0].launch.applicationName, "C:\\WINDOWS\\system32\\schtasks.exe");
  const std::string xml = AsciiOfUtf16File(definition);
  EXPECT_EQ(xml.compare(0, 39, "<?xml version=\"1.0\" encoding=\"UTF-16\"?>"), 0) << xml;
  for (const char* part :
       {"<Triggers><LogonTrigger><Enabled>true</Enabled></LogonTrigger></Triggers>",
        "<Principal><GroupId>S-1-5-32-544</GroupId><RunLevel>HighestAvailable</RunLevel></Principal>",
        "<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>",
        "<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>",
        "<ExecutionTimeLimit>PT0S</ExecutionTimeLimit>",
        "<Exec><Command>C:\\R&amp;D &lt;1&gt;\\Tolvik.exe</Command>"
        "<Arguments>/A /K /IP:10.0.0.5</Arguments></Exec>"}) {
    EXPECT_NE(xml.find(part), std::string::npos) << part << "\n" << xml;
  }
  EXPECT_FALSE(fake.files.Has(kTaskFile)) << "the definition's file stays behind";
  EXPECT_TRUE(fake.log.Only({"WriteStringValue", "DeleteValue"}).empty());
  EXPECT_TRUE(fake.window.infoTexts.empty());
}

struct FailureCase {
  const char* what;
  uint32_t version;
  ProcessOutcome schtasks;
  bool fileRefused;
  bool keyRefused;
  std::string line;  // what follows the fixed text; empty: no line
};

TEST(ArrangeNextLogon, SaysInOneLineWhenTheNextLogonCannotBeRegistered) {
  ProcessOutcome missing(false);
  ProcessOutcome refused;
  refused.exitCode = 1;
  const FailureCase cases[] = {
      {"task made", kWindowsVista, {}, false, false, ""},
      {"schtasks refuses", kWindowsVista, refused, false, false,
       std::string("schtasks") + pin::kErrorCode + "1"},
      {"no schtasks", kWindowsVista, missing, false, false,
       std::string("schtasks") + pin::kErrorCode + "2" + pin::kMeaningOpen +
           pin::kCodeFileNotFound + pin::kMeaningClose},
      {"schtasks hangs", kWindowsVista, {true, false}, false, false,
       std::string("schtasks") + pin::kErrorCode + "258" + pin::kMeaningOpen + pin::kCodeTimedOut +
           pin::kMeaningClose},
      {"no temporary file", kWindowsVista, {}, true, false, kTaskFile},
      {"Run value written", kWindowsXp, {}, false, false, ""},
      {"Run key refused", kWindowsXp, {}, false, true, kRun},
  };
  for (const FailureCase& c : cases) {
    FakeClientPlatform fake;
    fake.system.version = c.version;
    fake.system.commandLine = "\"C:\\Tolvik\\Tolvik.exe\" /A /N";
    fake.processes.defaultOutcome = c.schtasks;
    if (c.fileRefused) fake.files.failingWrites.insert(kTaskFile);
    if (c.keyRefused) fake.registry.failingWriteKeys.insert(kRun);
    fake.window.infoText = "修改未全部完成：";
    ClientPlatform platform = fake.platform();
    ArrangeNextLogon(platform, false);
    const std::string expected =
        c.line.empty() ? std::string("修改未全部完成：")
                       : "修改未全部完成：\r\n" + std::string(pin::kNextLogonFailed) + c.line +
                             pin::kFailedLineEnd;
    EXPECT_TRUE(SameBytes(fake.window.infoText, expected)) << c.what;
    EXPECT_EQ(fake.processes.records.size(), c.version == kWindowsVista && !c.fileRefused ? 1u : 0u)
        << c.what;
    EXPECT_FALSE(fake.files.Has(kTaskFile)) << c.what;
    if (c.version == kWindowsXp) {
      EXPECT_EQ(fake.log.Only({"WriteStringValue"}),
                std::vector<std::string>{std::string("WriteStringValue(") + kRun +
                                         ", Tolvik, \"C:\\Tolvik\\Tolvik.exe\" /A /N)"})
          << c.what;
    }
    for (const auto& write : fake.registry.writes) {
      EXPECT_EQ(write.keyPath.find("RunOnce"), std::string::npos) << c.what;
    }
  }
}

TEST(ArrangeNextLogon, ARunThatAppliedEverythingRemovesTheTaskOrTheRunValue) {
  for (uint32_t version : {kWindowsXp, kWindowsVista}) {
    FakeClientPlatform fake;
    fake.system.version = version;
    fake.processes.defaultOutcome.exitCode = 1;  // no such task: it does not matter
    fake.window.infoText = "修改完毕。";
    ClientPlatform platform = fake.platform();
    ArrangeNextLogon(platform, true);
    if (version == kWindowsVista) {
      EXPECT_EQ(fake.processes.CommandLines(),
                std::vector<std::string>{"schtasks /delete /tn Tolvik /f"});
      EXPECT_TRUE(fake.log.Only({"DeleteValue"}).empty());
    } else {
      EXPECT_TRUE(fake.processes.records.empty());
      EXPECT_EQ(fake.log.Only({"DeleteValue"}),
                std::vector<std::string>{std::string("DeleteValue(") + kRun + ", Tolvik)"});
    }
    EXPECT_TRUE(fake.log.Only({"WriteStringValue", "WriteWholeFile"}).empty());
    EXPECT_TRUE(SameBytes(fake.window.infoText, "修改完毕。"));
  }
}

}  // namespace
