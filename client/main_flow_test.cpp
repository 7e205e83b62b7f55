// RunMainFlow: its steps in order, what each run resets, and the switches' effect on the run.
#include "client/main_flow.h"

#include <gtest/gtest.h>

#include "client/apply_settings.h"
#include "client/fetch_retry.h"
#include "program_version.h"
#include "tests/fakes/byte_text.h"
#include "tests/fakes/fake_client_platform.h"

namespace {

const char kListPath[] = "C:\\Tolvik\\mac.ini";
const char kTcpip[] = "SYSTEM\\CurrentControlSet\\Services\\{AAA}\\Parameters\\Tcpip";
const char kConnection[] =
    "SYSTEM\\CurrentControlSet\\Control\\Network\\{4d36e972-e325-11ce-bfc1-08002be10318}\\{AAA}"
    "\\Connection";
const char kList[] = "[Config]\r\nMask=255.255.255.0\r\n[list]\r\n00E0FD3A1B01=192.0.2.10,PC10\r\n";

// One PC: a DHCP adapter "LAN" with the MAC text 00E0FD3A1B01 whose DHCP server is
// 192.0.2.1, with or without the list beside the program, and the given command line.
struct OnePc {
  explicit OnePc(const std::string& commandLine, bool listPresent = true) {
    fake.adapters.Add("{AAA}", {0x00, 0xE0, 0xFD, 0x3A, 0x1B, 0x01});
    fake.registry.SetDword(kTcpip, "EnableDHCP", 1);
    fake.registry.SetString(kTcpip, "DHCPServer", "192.0.2.1");
    fake.registry.SetString(kConnection, "Name", "LAN");
    fake.system.commandLine = commandLine;
    if (listPresent) fake.files.Put(kListPath, kList);
  }
  void Run(bool firstRun) { RunMainFlow(platform, state, firstRun); }

  FakeClientPlatform fake;
  ClientPlatform platform = fake.platform();
  ClientState state;
};

TEST(RunMainFlow, RunsItsStepsInOrderAndInstallsTheIconOnlyOnTheFirstRun) {
  // No list beside the program: only the fetch brings it.
  OnePc pc("\"C:\\Tolvik\\Tolvik.exe\" /N", false);
  FakeClientPlatform& fake = pc.fake;
  const ClientState& state = pc.state;
  fake.processes.onRun = [&fake](const ProcessLaunch& launch) {
    if (launch.commandLine.find("get mac.ini") != std::string::npos) fake.files.Put(kListPath, kList);
  };
  pc.Run(true);

  const CallLog& log = fake.log;
  EXPECT_EQ(log.Find("InstallIconAndAboutItem("), 0u);
  EXPECT_LT(log.Find("GetAdaptersInfo("), log.Find("ReadValue("));
  EXPECT_LT(log.Find("ReadValue("), log.Find("CommandLine("));
  EXPECT_LT(log.Find("CommandLine("), log.Find("Start("));
  EXPECT_LT(log.Find("Start("), log.Find("GetString("));
  EXPECT_EQ(fake.processes.CommandLines(),
            (std::vector<std::string>{"tftp 192.0.2.1 get mac.ini", "tftp 192.0.2.1 get icd.ini"}));
  EXPECT_EQ(state.AdapterMacs, (std::vector<std::string>{"00E0FD3A1B01"}));
  EXPECT_EQ(state.ConnectionNames, (std::vector<std::string>{"LAN"}));
  EXPECT_EQ(state.DhcpServers, (std::vector<std::string>{"192.0.2.1"}));
  EXPECT_EQ(state.EntryIp, "192.0.2.10");
  EXPECT_TRUE(SameBytes(fake.window.infoText,
                        "计算机名将改为: PC10\r\n“LAN”所在网卡的配置将改为: \r\n"
                        "      IP: 192.0.2.10\r\n子网掩码: 255.255.255.0\r\n"));
  EXPECT_EQ(fake.window.closeRequests, 0);
  EXPECT_EQ(state.Applied, 0);

  fake.log.Clear();
  pc.Run(false);
  EXPECT_EQ(fake.log.Count("InstallIconAndAboutItem"), 0u);
  EXPECT_EQ(fake.window.iconInstalls, 1);
  // The command line is read again, so /N fetches once more.
  EXPECT_EQ(fake.processes.CommandLines().size(), 4u);
}

TEST(RunMainFlow, EveryRunStartsFromFreshListsAndFlags) {
  OnePc pc("Tolvik.exe", false);
  ClientState& state = pc.state;
  state.ConnectionNames = {"stale"};
  state.AdapterMacs = {"AABBCCDDEEFF"};
  state.DhcpServers = {"198.51.100.1"};
  state.DeleteAfterwards = 1;
  state.Applied = 1;
  state.RestartAfterwards = 1;
  state.FetchAddress = "198.51.100.9";  // not one of the fields a run resets
  pc.Run(false);
  EXPECT_EQ(state.ConnectionNames, (std::vector<std::string>{"LAN"}));
  EXPECT_EQ(state.AdapterMacs, (std::vector<std::string>{"00E0FD3A1B01"}));
  EXPECT_EQ(state.DhcpServers, (std::vector<std::string>{"192.0.2.1"}));
  EXPECT_EQ(state.DeleteAfterwards, 0);
  EXPECT_EQ(state.Applied, 0);
  EXPECT_EQ(state.RestartAfterwards, 0);
  EXPECT_EQ(state.FetchAddress, "198.51.100.9");
  EXPECT_EQ(pc.fake.processes.CommandLines().size(), 0u);
  EXPECT_TRUE(SameBytes(pc.fake.window.infoText,
                        "未找到配置文件: MAC.INI\r\n请使用 /N 或 /IP 参数从网络获取配置文件"));
}

struct SwitchRunCase {
  const char* what;
  const char* commandLine;
  bool listPresent;
  bool applied;
  int closeRequests;
  size_t helpBoxes;
  const char* firstProcess;  // the first command line started, "" when none
};

TEST(RunMainFlow, SwitchesDecideFetchApplyAndClose) {
  const SwitchRunCase cases[] = {
      {"no switches: summary and wait", "Tolvik.exe", true, false, 0, 0, ""},
      {"/A applies and posts a close", "Tolvik.exe /A /K /R", true, true, 1, 0,
       "netsh  interface ip set address LAN static 192.0.2.10 255.255.255.0"},
      {"/a works like /A", "Tolvik.exe /a", true, true, 1, 0,
       "netsh  interface ip set address LAN static 192.0.2.10 255.255.255.0"},
      {"/A without a list applies nothing", "Tolvik.exe /A", false, false, 0, 0, ""},
      {"/? with /A: help, then the apply", "Tolvik.exe /? /A", true, true, 2, 1,
       "netsh  interface ip set address LAN static 192.0.2.10 255.255.255.0"},
      {"/IP: fetches from the named address", "Tolvik.exe /IP:198.51.100.7", false, false, 0, 0,
       "tftp 198.51.100.7 get mac.ini"},
      {"/IP: with nothing behind it fetches from the DHCP servers", "Tolvik.exe /IP:", false,
       false, 0, 0, "tftp 192.0.2.1 get mac.ini"},
  };
  for (const SwitchRunCase& c : cases) {
    OnePc pc(c.commandLine, c.listPresent);
    pc.Run(true);
    std::vector<std::string> started = pc.fake.processes.CommandLines();
    EXPECT_EQ(pc.state.Applied, c.applied ? 1 : 0) << c.what;
    EXPECT_EQ(pc.fake.window.closeRequests, c.closeRequests) << c.what;
    EXPECT_EQ(pc.fake.window.helpBoxes.size(), c.helpBoxes) << c.what;
    EXPECT_EQ(started.empty() ? std::string() : started.front(), c.firstProcess) << c.what;
  }
}

TEST(RunMainFlow, HelpComesBeforeTheApplyAndTheApplysCloseComesLast) {
  OnePc pc("Tolvik.exe /? /A");
  pc.Run(true);
  const CallLog& log = pc.fake.log;
  std::vector<std::string> calls = log.Only({"Hide", "PostCloseRequest", "Start", "Beep"});
  ASSERT_GE(calls.size(), 4u);
  EXPECT_EQ(calls[0], "Hide()");
  EXPECT_EQ(calls[1], "PostCloseRequest()");
  EXPECT_EQ(CallLog::NameOf(calls[2]), "Start");
  EXPECT_EQ(calls[calls.size() - 2], "Beep(900, 600)");
  EXPECT_EQ(calls.back(), "PostCloseRequest()");
  // The list's presence is tested once more after the summary, right before the apply.
  std::vector<std::string> tests = log.Only({"IsExistingFile", "Start"});
  ASSERT_GE(tests.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(tests.begin(), tests.begin() + 4),
            (std::vector<std::string>{"IsExistingFile(C:\\Tolvik\\mac.ini)",
                                      "IsExistingFile(C:\\Tolvik\\icd.ini)",
                                      "IsExistingFile(C:\\Tolvik\\mac.ini)",
                                      "Start(netsh  interface ip set address LAN static 192.0.2.10 "
                                      "255.255.255.0)"}));
}

TEST(RunMainFlow, KAndRAreSetOnlyForTheRunWhoseCommandLineHoldsThem) {
  OnePc pc("Tolvik.exe /K /R");
  pc.Run(true);
  EXPECT_EQ(pc.state.DeleteAfterwards, 1);
  EXPECT_EQ(pc.state.RestartAfterwards, 1);
  pc.fake.system.commandLine = "Tolvik.exe";
  pc.Run(false);
  EXPECT_EQ(pc.state.DeleteAfterwards, 0);
  EXPECT_EQ(pc.state.RestartAfterwards, 0);
}

TEST(RunMainFlow, AListGoneSinceTheLastRunLeavesNothingToApply) {
  OnePc pc("Tolvik.exe");
  pc.Run(true);
  ASSERT_EQ(pc.state.EntryIp, "192.0.2.10");

  pc.fake.files.files.erase(kListPath);
  pc.Run(false);
  EXPECT_EQ(pc.state.EntryIp, "");
  ApplySettings(pc.platform, pc.state);  // what the apply button does next
  EXPECT_EQ(pc.fake.processes.CommandLines().size(), 0u);
  EXPECT_EQ(pc.state.Applied, 0);
}

// The text of the file a socket's DATA packets carried (each block once).
std::string UploadedFile(const ScriptedDatagramApi& net) {
  std::string file;
  std::string lastBlock;
  for (const std::string& packet : net.packets) {
    if (packet.size() < 4 || packet[1] != 3 || packet.substr(2, 2) == lastBlock) continue;
    lastBlock = packet.substr(2, 2);
    file += packet.substr(4);
  }
  return file;
}

struct ReportCase {
  const char* what;
  const char* commandLine;
  const char* list;
  uint32_t renameError;      // what both SetComputerName calls answer
  std::vector<Arrival> server;  // what the report's socket hears
  std::string report;        // the report's text; empty: no report is sent
  const char* infoTail;      // what the information text ends with
  bool runOnceAgain;         // the unattended run asks for the next logon
  const char* wmicOutput = nullptr;  // what wmic prints; nullptr: its ReturnValue 0 block
};

TEST(RunMainFlow, ReportsTheApplyOrTheMissingEntryBeforeAnyClose) {
  const std::string head = std::string("[report]\r\nmac=00E0FD3A1B01\r\n");
  const std::string tail = "previous_name=CLONE-PC\r\n";
  const std::string when = std::string("time=2026-03-07 08:05:09\r\nversion=") +
                           PROGRAM_VERSION_TEXT + "\r\n[steps]\r\n";
  const char* const fetchedList =
      "[Config]\r\nMask=255.255.255.0\r\nreport=tftp\r\n[list]\r\n00E0FD3A1B01=192.0.2.10,PC10\r\n";
  const std::vector<Arrival> accepted = {AckArrival(0), AckArrival(1)};
  const ReportCase cases[] = {
      {"done, to the server the list came from", "Tolvik.exe /A /K /R /N", fetchedList, 0, accepted,
       head + "name=PC10\r\nip=192.0.2.10\r\n" + tail + "result=done\r\n" + when +
           "address=0\r\ndns=skipped\r\nname=0\r\nmembership=skipped\r\nicd=skipped\r\n",
       "修改完毕。", false},
      {"a refused rename: failed with its code, and the next logon tries again",
       "Tolvik.exe /A /N", fetchedList, 5, accepted,
       head + "name=PC10\r\nip=192.0.2.10\r\n" + tail + "result=failed\r\n" + when +
           "address=0\r\ndns=skipped\r\nname=5\r\nmembership=skipped\r\nicd=skipped\r\n",
       "（拒绝访问）。", true},
      {"no line for this PC, to a named server, without /A",
       "Tolvik.exe",
       "[Config]\r\nreport=192.0.2.1\r\n[list]\r\n00E0FD999999=192.0.2.11,PC11\r\n", 0, accepted,
       head + "name=\r\nip=\r\n" + tail + "result=no-entry\r\n" + when +
           "address=skipped\r\ndns=skipped\r\nname=skipped\r\nmembership=skipped\r\nicd=skipped\r\n",
       "未找到对应网卡！", false},
      {"a line without a value counts as no line", "Tolvik.exe /A",
       "[Config]\r\nreport=192.0.2.1\r\n[list]\r\n00E0FD3A1B01=\r\n", 0, accepted,
       head + "name=\r\nip=\r\n" + tail + "result=no-entry\r\n" + when +
           "address=skipped\r\ndns=skipped\r\nname=skipped\r\nmembership=skipped\r\nicd=skipped\r\n",
       "未找到对应网卡！", true},
      {"tftp, but the list was not fetched: no report", "Tolvik.exe /A", fetchedList, 0, accepted,
       "", "修改完毕。", false},
      {"reports off", "Tolvik.exe /A /N", kList, 0, accepted, "", "修改完毕。", false},
      {"a report the server refuses adds one line and fails nothing", "Tolvik.exe /A /K /R /N",
       fetchedList, 0, {ErrorArrival(2, "Access violation")}, "",
       "修改完毕。\r\n结果未能回报：192.0.2.1 拒绝写入：Access violation", false},
      {"a server that never answers", "Tolvik.exe /A /N", fetchedList, 0, {}, "",
       "修改完毕。\r\n结果未能回报：192.0.2.1 无应答。", false},
      {"wmic without a ReturnValue: the report says what it printed", "Tolvik.exe /A /N",
       "[Config]\r\nWorkGroup=WG\r\nreport=tftp\r\n[list]\r\n00E0FD3A1B01=192.0.2.10,PC10\r\n", 0,
       accepted,
       head + "name=PC10\r\nip=192.0.2.10\r\n" + tail + "result=failed\r\n" + when +
           "address=0\r\ndns=skipped\r\nname=0\r\nmembership=No Instance(s) Available.\r\nicd=skipped\r\n",
       "（No Instance(s) Available.）。", true, "No Instance(s) Available.\r\n"},
      {"Windows XP with a new name: the domain join waits, the report says pending",
       "Tolvik.exe /A /K /R /N",
       "[Config]\r\nDomain=corp.example\r\nreport=tftp\r\n[list]\r\n00E0FD3A1B01=192.0.2.10,PC10\r\n", 0,
       accepted,
       head + "name=PC10\r\nip=192.0.2.10\r\n" + tail + "result=pending\r\n" + when +
           "address=0\r\ndns=skipped\r\nname=0\r\nmembership=skipped\r\nicd=skipped\r\n",
       "计算机名将在重启后生效，重启后加入域 corp.example。", true},
  };
  for (const ReportCase& c : cases) {
    SCOPED_TRACE(c.what);
    const bool fetch = std::string(c.commandLine).find("/N") != std::string::npos;
    OnePc pc(c.commandLine, !fetch);
    FakeClientPlatform& fake = pc.fake;
    const std::string list = c.list;
    if (fetch) {
      fake.processes.onRun = [&fake, list](const ProcessLaunch& launch) {
        if (launch.commandLine.find("get mac.ini") != std::string::npos) fake.files.Put(kListPath, list);
      };
    } else {
      fake.files.Put(kListPath, list);
    }
    fake.system.setComputerNameError = c.renameError;
    if (c.wmicOutput != nullptr) fake.processes.defaultOutcome.output = c.wmicOutput;
    fake.datagrams.scripts.push_back(std::deque<Arrival>(c.server.begin(), c.server.end()));
    pc.Run(true);

    if (!c.report.empty()) {
      ASSERT_FALSE(fake.datagrams.sends.empty());
      EXPECT_EQ(fake.datagrams.sends.front(), "69 WRQ tolvik-00E0FD3A1B01.ini octet");
      EXPECT_TRUE(SameBytes(UploadedFile(fake.datagrams), c.report));
    } else if (std::string(c.infoTail).find("结果") == std::string::npos) {
      EXPECT_EQ(fake.log.Count("Open"), 0u);
    }
    const std::string& info = fake.window.infoText;
    const std::string infoTail = c.infoTail;
    EXPECT_TRUE(info.size() >= infoTail.size() &&
                SameBytes(info.substr(info.size() - infoTail.size()), infoTail))
        << info;
    // Whatever became of the report, the apply's own outcome decides the close and the retry.
    // A join that waits for the restart closes too, for the restart /R asks for.
    const bool done = infoTail.find("修改完毕") != std::string::npos ||
                      infoTail.find("加入域 ") != std::string::npos;
    EXPECT_EQ(fake.window.closeRequests, done && std::string(c.commandLine) != "Tolvik.exe" ? 1 : 0);
    EXPECT_EQ(fake.log.Count("WriteStringValue"), c.runOnceAgain ? 1u : 0u);
  }
}

// An unattended run (/A) at a clone's first logon: with /N or /IP: the fetch is tried again
// every five seconds for two minutes; a run that did not apply everything leaves its next try
// to the next logon (Windows XP here: the Run value; never RunOnce again), one that did removes it.
struct RetryCase {
  const char* what;
  const char* commandLine;
  int listArrivesAtTry;      // the tftp try that brings mac.ini; 0: never
  uint32_t wmicReturnValue;  // what the join prints
  bool closePending;         // the user closed the window while it waited
  size_t tries;              // "get mac.ini" runs
  bool applied;
  const char* runValue;      // the Run value written; null: it is deleted, "": untouched
};

TEST(RunMainFlow, UnattendedRunTriesTheFetchAgainAndAsksForTheNextLogon) {
  const char kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
  const RetryCase cases[] = {
      {"list at the first try", "\"C:\\Tolvik\\Tolvik.exe\" /A /K /R /N", 1, 0, false, 1, true, nullptr},
      {"list at the third try", "C:\\Tolvik\\Tolvik.exe  /A /K /R /N", 3, 0, false, 3, true, nullptr},
      {"no list within two minutes", "\"C:\\Tolvik\\Tolvik.exe\" /A /K /R /N", 0, 0, false, 8, false,
       "\"C:\\Tolvik\\Tolvik.exe\" /A /K /R /N"},
      {"closed while waiting", "\"C:\\Tolvik\\Tolvik.exe\" /A /N", 0, 0, true, 1, false,
       "\"C:\\Tolvik\\Tolvik.exe\" /A /N"},
      {"closed before the list arrived: no apply", "\"C:\\Tolvik\\Tolvik.exe\" /A /N", 1, 0, true, 1,
       false, "\"C:\\Tolvik\\Tolvik.exe\" /A /N"},
      {"a failed join", "\"C:\\Tolvik\\Tolvik.exe\" /A /IP:192.0.2.7", 1, 1326, false, 1, false,
       "\"C:\\Tolvik\\Tolvik.exe\" /A /IP:192.0.2.7"},
      {"not unattended without /A", "\"C:\\Tolvik\\Tolvik.exe\" /N", 0, 0, false, 1, false, ""},
      {"/A without a fetch", "\"C:\\Tolvik\\Tolvik.exe\" /A", 0, 1326, false, 0, false,
       "\"C:\\Tolvik\\Tolvik.exe\" /A"},
  };
  for (const RetryCase& c : cases) {
    OnePc pc(c.commandLine, false);
    FakeClientPlatform& fake = pc.fake;
    fake.window.closePending = c.closePending;
    int tries = 0;
    fake.processes.onRun = [&](const ProcessLaunch& launch) {
      if (launch.commandLine.find("get mac.ini") == std::string::npos) return;
      if (++tries == c.listArrivesAtTry) {
        fake.files.Put(kListPath, std::string("[Config]\r\nWorkGroup=W\r\n") + (kList + 10));
      }
    };
    fake.processes.decide = [&c, &fake](const ProcessLaunch& launch) {
      ProcessOutcome outcome;
      outcome.output = "ReturnValue = " + std::to_string(c.wmicReturnValue) + ";";
      // A silent server: each tftp is still running when its 12 s are up.
      if (launch.commandLine.compare(0, 5, "tftp ") == 0 && c.listArrivesAtTry == 0) {
        outcome.endsInTime = false;
        fake.system.tickCount += 12000;
      }
      return outcome;
    };
    pc.Run(true);
    EXPECT_EQ(static_cast<size_t>(tries), c.tries) << c.what;
    EXPECT_EQ(pc.state.Applied, c.applied ? 1 : 0) << c.what;
    std::vector<std::string> expected;
    if (c.runValue == nullptr) {
      expected.push_back("DeleteValue(" + std::string(kRun) + ", Tolvik)");
    } else if (*c.runValue != '\0') {
      expected.push_back("WriteStringValue(" + std::string(kRun) + ", Tolvik, " + c.runValue + ")");
    }
    EXPECT_EQ(fake.log.Only({"WriteStringValue", "DeleteValue"}), expected) << c.what;
    // Never past the two minutes: the last try starts before they are over.
    EXPECT_LE(fake.system.tickCount - 1000, kFetchRetryWindowMs + 12000 + 250) << c.what;
  }
}

TEST(RunMainFlow, ASilentServerEndsEachOwnAttemptWithinTwelveSecondsAndTwoMinutesHoldEight) {
  OnePc pc("\"C:\\Tolvik\\Tolvik.exe\" /A /N", false);
  FakeClientPlatform& fake = pc.fake;
  fake.processes.defaultOutcome.starts = false;  // no tftp: Tolvik's own client asks
  fake.system.clock = &fake.datagrams.now;       // one time for the pauses and the socket
  const uint32_t start = fake.datagrams.now;
  pc.Run(true);
  // Each attempt: mac.ini asked four times, 3 s apart; icd.ini not asked.
  EXPECT_EQ(fake.log.Count("Open"), 8u);
  EXPECT_EQ(fake.datagrams.sends, std::vector<std::string>(32, "69 RRQ mac.ini octet"));
  const uint32_t elapsed = fake.datagrams.now - start;
  EXPECT_GE(elapsed, kFetchRetryWindowMs);
  EXPECT_LE(elapsed, kFetchRetryWindowMs + 12000);
}

TEST(RunMainFlow, WaitingShowsWhatItWaitsForAndTheSecondsLeft) {
  OnePc pc("Tolvik.exe /A /N", false);
  FakeClientPlatform& fake = pc.fake;
  const std::vector<AdapterRecord> adapter = fake.adapters.adapters;
  fake.adapters.adapters.clear();  // the adapter's driver is not ready at the first logon
  int discoveries = 0;
  fake.window.onProcessPendingMessages = [&] {
    if (++discoveries == 3) fake.adapters.adapters = adapter;
  };
  fake.processes.onRun = [&fake](const ProcessLaunch& launch) {
    if (launch.commandLine.find("get mac.ini") != std::string::npos) fake.files.Put(kListPath, kList);
  };
  pc.Run(true);
  ASSERT_GE(fake.window.infoTexts.size(), 2u);
  EXPECT_TRUE(SameBytes(fake.window.infoTexts[0], "未找到网卡，等待网卡就绪后重试，还剩 120 秒……"));
  EXPECT_TRUE(SameBytes(fake.window.infoTexts[1], "未找到网卡，等待网卡就绪后重试，还剩 120 秒……"));
  EXPECT_EQ(pc.state.Applied, 1);  // found at the try after five seconds, then applied
  EXPECT_EQ(fake.system.tickCount, 1000u + kFetchRetryPauseMs);
}

}  // namespace
