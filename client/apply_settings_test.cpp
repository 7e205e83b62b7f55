// Tests of ApplySettings: step order, every command line byte for byte, the ICD file writes, the
// rights check and the NetJoinDomain join where wmic cannot start.
#include "client/apply_settings.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/fakes/byte_text.h"
#include "tests/fakes/fake_client_platform.h"
#include "tests/pinned_texts.h"

namespace {

const char kIcdSettings[] = "C:\\ICD\\cfg\\localsyscfg.ini";

// A static entry with a gateway, two DNS servers and a workgroup, on the connection 本地连接.
ClientState StaticEntry() {
  ClientState state;
  state.EntryIp = "192.168.1.20";
  state.List.Mask = "255.255.255.0";
  state.TargetConnection = "本地连接";
  state.ComputerName = "PC-020";
  state.List.Gateway = "192.168.1.1";
  state.List.Gwmetric = "1";
  state.List.DNS1 = "192.168.1.2";
  state.List.DNS2 = "192.168.1.3";
  state.List.WorkGroup = "WORKGROUP";
  return state;
}

struct Applied {
  FakeClientPlatform fake;
  ClientState state;
  std::vector<std::string> commandLines;
};

// Runs ApplySettings on state (changed by adjust) with the current name "CLONE-PC".
std::unique_ptr<Applied> Apply(const std::function<void(ClientState&)>& adjust) {
  auto run = std::make_unique<Applied>();
  run->state = StaticEntry();
  adjust(run->state);
  ClientPlatform platform = run->fake.platform();
  ApplySettings(platform, run->state);
  run->commandLines = run->fake.processes.CommandLines();
  return run;
}

TEST(ApplySettings, RunsEveryStepInItsOrder) {
  auto run = Apply([](ClientState& s) {
    s.MainCCSIP = "10.1.1.1";
    s.BackCCSIP = "10.1.1.2";
    s.AppServerIP = "10.1.1.3";
    s.IcdPath = "C:\\ICD";
  });
  const std::string connection = "\xB1\xBE\xB5\xD8\xC1\xAC\xBD\xD3";  // 本地连接 in GBK
  const std::vector<std::string> expected = {
      "ComputerName(16)",  // the name Windows runs as, read before the rename
      std::string("SetInfoText(") + pinned_tolvik_texts::kChangingIpAndGateway + ")",
      "Start(netsh  interface ip set address " + connection +
          " static 192.168.1.20 255.255.255.0 192.168.1.1 1)",
      std::string("SetInfoText(") + pinned_tolvik_texts::kChangingDns + ")",
      "Start(netsh  interface ip set dns " + connection + " static none)",
      "Start(netsh  interface ip add dns " + connection + " 192.168.1.2)",
      "Start(netsh  interface ip add dns " + connection + " 192.168.1.3)",
      std::string("SetInfoText(") + pinned_tolvik_texts::kChangingComputerName + ")",
      "SetComputerName(PC-020)",
      "SetComputerNameEx(5, PC-020)",
      std::string("SetInfoText(") + pinned_tolvik_texts::kChangingWorkgroup + ")",
      "Start(wmic  computersystem where Name=\"CLONE-PC\" call JoinDomainOrWorkgroup "
      "Name=\"WORKGROUP\")",
      std::string("SetInfoText(") + pinned_tolvik_texts::kChangingIcd + ")",
      std::string("IsExistingFile(") + kIcdSettings + ")",
      // No ICD client at that path: said under the finished text.
      std::string("SetInfoText(") + pinned_tolvik_texts::kApplyFinished + "\r\n" +
          pinned_tolvik_texts::kIcdNotInstalled + ")",
      "Beep(900, 600)",
      "PostCloseRequest()",
  };
  std::vector<std::string> calls = run->fake.log.Only(
      {"SetInfoText", "Start", "SetComputerName", "SetComputerNameEx", "ComputerName",
       "IsExistingFile", "WriteString", "Beep", "PostCloseRequest"});
  EXPECT_TRUE(SameByteLists(calls, expected));
  // Each command is waited for and released before the next one starts.
  std::vector<std::string> processCalls = run->fake.log.Only({"Start", "Wait", "CloseHandles"});
  ASSERT_EQ(processCalls.size(), 3 * run->fake.processes.records.size());
  const char* const cycle[] = {"Start", "Wait", "CloseHandles"};
  for (size_t i = 0; i < processCalls.size(); ++i) {
    EXPECT_EQ(CallLog::NameOf(processCalls[i]), cycle[i % 3]) << i;
  }
  for (const auto& record : run->fake.processes.records) {
    // netsh and wmic get five minutes, not an infinite wait.
    EXPECT_EQ(record.waits, std::vector<uint32_t>{300000}) << record.launch.commandLine;
    EXPECT_EQ(record.launch.creationFlags, kCreateNewConsole | kCreateNoWindow);
    EXPECT_EQ(record.launch.showWindow, kSwHide);
    EXPECT_EQ(record.launch.workingDirectory, "");
  }
  EXPECT_TRUE(run->fake.processes.HandleLeaks().empty());
  EXPECT_EQ(run->state.Applied, 1);
  EXPECT_EQ(run->state.ComputerName, "PC-020");  // the list's name, not the one Windows runs as
  EXPECT_EQ(run->fake.window.closeRequests, 1);
}

TEST(ApplySettings, DoesNothingAtAllWithoutAnEntry) {
  auto run = Apply([](ClientState& s) { s.EntryIp.clear(); s.MainCCSIP = "10.1.1.1"; });
  EXPECT_TRUE(run->fake.log.calls.empty()) << run->fake.log.calls.front();
  EXPECT_EQ(run->state.Applied, 0);
  EXPECT_EQ(run->state.ComputerName, "PC-020");
}

struct CommandCase {
  const char* name;
  std::function<void(ClientState&)> adjust;
  std::vector<std::string> expected;  // every command line, in order
};

const char kWorkgroupJoin[] =
    "wmic  computersystem where Name=\"CLONE-PC\" call JoinDomainOrWorkgroup Name=\"WORKGROUP\"";

TEST(ApplySettings, FormsEachCommandLineOfTheTable) {
  const std::string longValue(4000, '7');
  const CommandCase cases[] = {
      {"DHCP entry ignores mask, gateway and metric",
       [](ClientState& s) { s.EntryIp = "DHCP"; s.TargetConnection = "LAN"; s.List.DNS1.clear(); },
       {"netsh  interface ip set address LAN DHCP ", kWorkgroupJoin}},
      {"no gateway",
       [](ClientState& s) { s.TargetConnection = "LAN"; s.List.Gateway.clear(); s.List.DNS1.clear(); },
       {"netsh  interface ip set address LAN static 192.168.1.20 255.255.255.0", kWorkgroupJoin}},
      {"gateway none in any case drops the metric and goes in as written",
       [](ClientState& s) { s.TargetConnection = "LAN"; s.List.Gateway = "nOnE"; s.List.DNS1.clear(); },
       {"netsh  interface ip set address LAN static 192.168.1.20 255.255.255.0 nOnE ",
        kWorkgroupJoin}},
      {"metric 0 passed on",
       [](ClientState& s) { s.TargetConnection = "LAN"; s.List.Gwmetric = "0"; s.List.DNS1.clear(); },
       {"netsh  interface ip set address LAN static 192.168.1.20 255.255.255.0 192.168.1.1 0",
        kWorkgroupJoin}},
      {"DNS from DHCP ignores Dns2",
       [](ClientState& s) { s.TargetConnection = "LAN"; s.List.DNS1 = "DHCP"; },
       {"netsh  interface ip set address LAN static 192.168.1.20 255.255.255.0 192.168.1.1 1",
        "netsh  interface ip set dns LAN static none", kWorkgroupJoin}},
      {"no Dns1: no DNS command even with a Dns2",
       [](ClientState& s) { s.TargetConnection = "LAN"; s.List.DNS1.clear(); },
       {"netsh  interface ip set address LAN static 192.168.1.20 255.255.255.0 192.168.1.1 1",
        kWorkgroupJoin}},
      {"Dns1 without Dns2",
       [](ClientState& s) { s.TargetConnection = "LAN"; s.List.DNS2.clear(); },
       {"netsh  interface ip set address LAN static 192.168.1.20 255.255.255.0 192.168.1.1 1",
        "netsh  interface ip set dns LAN static none", "netsh  interface ip add dns LAN 192.168.1.2",
        kWorkgroupJoin}},
      {"workgroup wins over domain",
       [](ClientState& s) {
         s.EntryIp = "DHCP"; s.TargetConnection = "LAN"; s.List.DNS1.clear();
         s.List.Domain = "CORP"; s.List.Username = "admin"; s.List.password = "pw";
       },
       {"netsh  interface ip set address LAN DHCP ", kWorkgroupJoin}},
      {"a domain join starts no program: NetJoinDomain takes the password",
       [](ClientState& s) {
         s.EntryIp = "DHCP"; s.TargetConnection = "LAN"; s.List.DNS1.clear(); s.List.WorkGroup.clear();
         s.List.Domain = "corp.example"; s.List.Username = "CORP\\admin"; s.List.password = "p w";
       },
       {"netsh  interface ip set address LAN DHCP "}},
      {"the same DNS server twice is added once",
       [](ClientState& s) { s.TargetConnection = "LAN"; s.List.DNS2 = s.List.DNS1; s.List.WorkGroup.clear(); },
       {"netsh  interface ip set address LAN static 192.168.1.20 255.255.255.0 192.168.1.1 1",
        "netsh  interface ip set dns LAN static none", "netsh  interface ip add dns LAN 192.168.1.2"}},
      {"no membership: no wmic",
       [](ClientState& s) { s.EntryIp = "DHCP"; s.TargetConnection = "LAN"; s.List.DNS1.clear(); s.List.WorkGroup.clear(); },
       {"netsh  interface ip set address LAN DHCP "}},
      // Connection names: quoted when they hold a space or a tab, else exactly as they are.
      {"connection name with a space is quoted",
       [](ClientState& s) { s.TargetConnection = "Local Area Connection"; s.List.DNS2.clear(); s.List.WorkGroup.clear(); },
       {"netsh  interface ip set address \"Local Area Connection\" static 192.168.1.20 "
        "255.255.255.0 192.168.1.1 1",
        "netsh  interface ip set dns \"Local Area Connection\" static none",
        "netsh  interface ip add dns \"Local Area Connection\" 192.168.1.2"}},
      {"GBK connection name with a space is quoted",
       [](ClientState& s) { s.EntryIp = "DHCP"; s.TargetConnection = "本地连接 2"; s.List.DNS1.clear(); s.List.WorkGroup.clear(); },
       {"netsh  interface ip set address \"\xB1\xBE\xB5\xD8\xC1\xAC\xBD\xD3 2\" DHCP "}},
      {"connection name with a tab is quoted",
       [](ClientState& s) { s.EntryIp = "DHCP"; s.TargetConnection = "a\tb"; s.List.DNS1.clear(); s.List.WorkGroup.clear(); },
       {"netsh  interface ip set address \"a\tb\" DHCP "}},
      {"empty connection name stays empty",
       [](ClientState& s) { s.EntryIp = "DHCP"; s.TargetConnection.clear(); s.List.DNS1 = "DHCP"; s.List.WorkGroup.clear(); },
       {"netsh  interface ip set address  DHCP ", "netsh  interface ip set dns  static none"}},
      {"connection name with a double quote and no space stays as it is",
       [](ClientState& s) { s.EntryIp = "DHCP"; s.TargetConnection = "a\"b"; s.List.DNS1.clear(); s.List.WorkGroup.clear(); },
       {"netsh  interface ip set address a\"b DHCP "}},
      // Values go in as they stand.
      {"values with quotes and spaces",
       [](ClientState& s) {
         s.TargetConnection = "LAN"; s.List.Mask = "255.0.0.0 \"x\""; s.List.Gateway = " 10.0.0.1";
         s.List.Gwmetric = "\"";  s.List.DNS1.clear(); s.List.WorkGroup = "WORK \"GROUP\"";
       },
       {"netsh  interface ip set address LAN static 192.168.1.20 255.0.0.0 \"x\"  10.0.0.1 \"",
        "wmic  computersystem where Name=\"CLONE-PC\" call JoinDomainOrWorkgroup "
        "Name=\"WORK \"GROUP\"\""}},
      {"GBK workgroup",
       [](ClientState& s) { s.EntryIp = "DHCP"; s.TargetConnection = "LAN"; s.List.DNS1.clear(); s.List.WorkGroup = "工作组"; },
       {"netsh  interface ip set address LAN DHCP ",
        "wmic  computersystem where Name=\"CLONE-PC\" call JoinDomainOrWorkgroup "
        "Name=\"\xB9\xA4\xD7\xF7\xD7\xE9\""}},
  };
  for (const CommandCase& c : cases) {
    auto run = Apply(c.adjust);
    EXPECT_TRUE(SameByteLists(run->commandLines, c.expected)) << c.name;
  }
  auto longRun = Apply([&](ClientState& s) {
    s.TargetConnection = "LAN"; s.List.Gateway.clear(); s.List.DNS1 = longValue; s.List.DNS2.clear();
    s.List.Mask = longValue; s.List.WorkGroup = longValue;
  });
  EXPECT_TRUE(SameByteLists(
      longRun->commandLines,
      {"netsh  interface ip set address LAN static 192.168.1.20 " + longValue,
       "netsh  interface ip set dns LAN static none", "netsh  interface ip add dns LAN " + longValue,
       "wmic  computersystem where Name=\"CLONE-PC\" call JoinDomainOrWorkgroup Name=\"" +
           longValue + "\""}));
}

TEST(ApplySettings, NameStepAndTheStepsAfterItRunWhateverTheCallsSay) {
  // An empty name makes both calls fail; a current name that does not fit gives an empty one.
  auto run = Apply([](ClientState& s) { s.ComputerName.clear(); });
  EXPECT_EQ(run->fake.log.Only({"SetComputerName", "SetComputerNameEx"}),
            (std::vector<std::string>{"SetComputerName()", "SetComputerNameEx(5, )"}));
  EXPECT_EQ(run->fake.processes.CommandLines().back(), kWorkgroupJoin);  // the join still runs

  FakeClientPlatform fake;
  fake.system.currentComputerName = "SIXTEEN-CHARS-XX";  // 16 characters do not fit in 16
  ClientState state = StaticEntry();
  ClientPlatform platform = fake.platform();
  ApplySettings(platform, state);
  EXPECT_TRUE(SameBytes(fake.processes.CommandLines().back(),
                        "wmic  computersystem where Name=\"\" call JoinDomainOrWorkgroup "
                        "Name=\"WORKGROUP\""));
}

// Every step's outcome is read: a step that failed is named with its code, and the window stays
// open with Applied false, so that nothing is deleted and nothing restarts.
struct OutcomeCase {
  const char* name;
  std::function<void(FakeClientPlatform&, ClientState&)> adjust;
  std::vector<std::string> failedLines;  // GBK, after "修改未全部完成："; empty: all done
};

ProcessOutcome Exits(uint32_t code, const std::string& output = "") {
  ProcessOutcome outcome;
  outcome.exitCode = code;
  outcome.output = output;
  return outcome;
}

// "\r\nReturnValue = N;\r\n" as wmic writes it into a pipe on versions that write UTF-16.
std::string Utf16(const std::string& ascii) {
  std::string text = "\xFF\xFE";
  for (char c : ascii) text += std::string(1, c) + '\0';
  return text;
}

TEST(ApplySettings, ReadsEveryStepsOutcome) {
  namespace pinned = pinned_tolvik_texts;
  const std::string wmicDone = "Method execution successful.\r\nOut Parameters:\r\n"
                               "instance of __PARAMETERS\r\n{\r\n\tReturnValue = 0;\r\n};\r\n";
  const std::string wmic1326 = "Executing (\\\\CLONE-PC\\ROOT\\CIMV2:Win32_ComputerSystem.Name=\"CLONE-PC\")"
                               "->JoinDomainOrWorkgroup()\r\n\tReturnValue = 1326;\r\n";
  const auto forProgram = [](const char* prefix, ProcessOutcome outcome) {
    return [prefix, outcome](FakeClientPlatform& fake, ClientState&) {
      fake.processes.decide = [prefix, outcome](const ProcessLaunch& launch) {
        return launch.commandLine.compare(0, strlen(prefix), prefix) == 0 ? outcome : ProcessOutcome();
      };
    };
  };
  const std::string address = std::string(pinned::kAddressFailed) + pinned::kErrorCode;
  const std::string refused = std::string(pinned::kWorkgroupFailed) + pinned::kErrorCode + "1326" +
                              pinned::kMeaningOpen + pinned::kCodeLogonFailure +
                              pinned::kMeaningClose + pinned::kFailedLineEnd;
  const auto wmicSaid = [](const std::string& line) {
    return std::string(pinned::kWorkgroupFailed) + pinned::kMeaningOpen + line +
           pinned::kMeaningClose + pinned::kFailedLineEnd;
  };
  // A DHCP entry on the adapter 00E0FD3A1B01, whose DHCP state dhcpOn sets.
  const auto dhcpEntry = [](uint32_t netshCode, const std::function<void(FakeClientPlatform&)>& dhcpOn) {
    return [=](FakeClientPlatform& fake, ClientState& s) {
      s.EntryIp = "DHCP";
      s.EntryMac = "00E0FD3A1B01";
      fake.adapters.Add("{A}", {0x00, 0xE0, 0xFD, 0x3A, 0x1B, 0x02});
      fake.adapters.Add("{B}", {0x00, 0xE0, 0xFD, 0x3A, 0x1B, 0x01});
      dhcpOn(fake);
      fake.processes.decide = [netshCode](const ProcessLaunch& launch) {
        return launch.commandLine.find(" DHCP ") != std::string::npos ? Exits(netshCode) : ProcessOutcome();
      };
    };
  };
  const auto byRecord = [](FakeClientPlatform& fake) { fake.adapters.adapters[1].dhcpEnabled = true; };
  const auto byLegacyKey = [](FakeClientPlatform& fake) {
    fake.registry.SetDword("SYSTEM\\CurrentControlSet\\Services\\{B}\\Parameters\\Tcpip", "EnableDHCP", 1);
  };
  const auto byInterfacesKey = [](FakeClientPlatform& fake) {
    fake.registry.SetDword("SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{B}",
                           "EnableDHCP", 1);
  };
  const auto onlyTheOtherAdapter = [](FakeClientPlatform& fake) { fake.adapters.adapters[0].dhcpEnabled = true; };
  const std::string noInstance = "No Instance(s) Available.";
  const std::string nameRefused = std::string(pinned::kComputerNameFailed) + pinned::kErrorCode +
                                  "1210" + pinned::kMeaningOpen + pinned::kCodeInvalidComputerName +
                                  pinned::kMeaningClose + pinned::kFailedLineEnd;
  const OutcomeCase cases[] = {
      {"every step done, wmic in ANSI", forProgram("wmic", Exits(0, wmicDone)), {}},
      {"every step done, wmic in UTF-16", forProgram("wmic", Exits(0, Utf16(wmicDone))), {}},
      // wmic that printed no ReturnValue never reached the method, whatever its exit code.
      {"wmic: no instance", forProgram("wmic", Exits(0, "\r\n" + noInstance + "\r\n")), {wmicSaid(noInstance)}},
      {"wmic: no instance, in UTF-16", forProgram("wmic", Exits(0, Utf16(noInstance + "\r\n"))),
       {wmicSaid(noInstance)}},
      {"wmic: nothing at all", forProgram("wmic", Exits(0, " \r\n")), {wmicSaid(pinned::kNoWmicOutput)}},
      // netsh refuses DHCP on an adapter that has it with exit code 1: the adapter's keys decide.
      {"DHCP on by the adapter record", dhcpEntry(1, byRecord), {}},
      {"DHCP on by the per-adapter key", dhcpEntry(1, byLegacyKey), {}},
      {"DHCP on by the Interfaces key", dhcpEntry(1, byInterfacesKey), {}},
      {"DHCP off on this adapter: exit code 1 fails", dhcpEntry(1, onlyTheOtherAdapter),
       {address + "1" + pinned::kFailedLineEnd}},
      {"DHCP on, another exit code fails", dhcpEntry(2, byRecord),
       {address + "2" + pinned::kMeaningOpen + pinned::kCodeFileNotFound + pinned::kMeaningClose +
        pinned::kFailedLineEnd}},
      {"netsh exit code", forProgram("netsh  interface ip set address", Exits(1)),
       {address + "1" + pinned::kFailedLineEnd}},
      {"one DNS command", forProgram("netsh  interface ip add dns", Exits(1)),
       {std::string(pinned::kDnsFailed) + pinned::kErrorCode + "1" + pinned::kFailedLineEnd,
        std::string(pinned::kDnsFailed) + pinned::kErrorCode + "1" + pinned::kFailedLineEnd}},
      {"netsh missing", forProgram("netsh  interface ip set address", ProcessOutcome(false)),
       {std::string(pinned::kAddressFailed) + pinned::kCannotStart + "netsh" + pinned::kErrorCode +
        "2" + pinned::kMeaningOpen + pinned::kCodeFileNotFound + pinned::kMeaningClose +
        pinned::kFailedLineEnd}},
      {"wmic ReturnValue in ANSI", forProgram("wmic", Exits(0, wmic1326)), {refused}},
      {"wmic ReturnValue in UTF-16", forProgram("wmic", Exits(0, Utf16(wmic1326))), {refused}},
      {"wmic could not reach WMI", forProgram("wmic", Exits(0x80041003)),
       {std::string(pinned::kWorkgroupFailed) + pinned::kErrorCode + "2147749891" +
        pinned::kMeaningOpen + pinned::kNoWmicOutput + pinned::kMeaningClose + pinned::kFailedLineEnd}},
      {"computer name refused by both calls",
       [](FakeClientPlatform& fake, ClientState&) { fake.system.setComputerNameError = 1210; },
       {nameRefused, nameRefused}},
      {"NetJoinDomain refuses a domain join",
       [](FakeClientPlatform& fake, ClientState& s) {
         fake.system.version = 0x17710006;  // Vista: the join runs at once
         fake.system.joinOutcome = {true, 2224};
         s.List.WorkGroup.clear(); s.List.Domain = "CORP";
       },
       {std::string(pinned::kDomainFailed) + pinned::kErrorCode + "2224" + pinned::kMeaningOpen +
        pinned::kCodeAccountExists + pinned::kMeaningClose + pinned::kFailedLineEnd}},
      {"ICD settings file cannot be written",
       [](FakeClientPlatform& fake, ClientState& s) {
         fake.files.Put(kIcdSettings, "[LOCSYSPARAMS]\r\n");
         fake.files.failingWrites.insert(kIcdSettings);
         s.MainCCSIP = "10.1.1.1"; s.IcdPath = "C:\\ICD";
       },
       {std::string(pinned::kIcdFailed) + pinned::kFailedLineEnd}},
  };
  for (const OutcomeCase& c : cases) {
    FakeClientPlatform fake;
    ClientState state = StaticEntry();
    c.adjust(fake, state);
    ClientPlatform platform = fake.platform();
    ApplySettings(platform, state);
    // No step was left out; a domain join starts no wmic.
    const size_t commands = state.List.WorkGroup.empty() ? 4 : 5;
    EXPECT_EQ(fake.processes.CommandLines().size(), commands) << c.name;
    EXPECT_EQ(state.StepOutcomes.size(), 7u + (state.MainCCSIP.empty() ? 0 : 1)) << c.name;
    if (c.failedLines.empty()) {
      EXPECT_TRUE(SameBytes(fake.window.infoText, pinned::kApplyFinished)) << c.name;
      EXPECT_EQ(state.Applied, 1) << c.name;
      EXPECT_EQ(fake.window.closeRequests, 1) << c.name;
      continue;
    }
    std::string expected = pinned::kApplyIncomplete;
    for (const std::string& line : c.failedLines) expected += "\r\n" + line;
    EXPECT_TRUE(SameBytes(fake.window.infoText, expected)) << c.name;
    EXPECT_EQ(state.Applied, 0) << c.name;
    EXPECT_EQ(fake.window.closeRequests, 0) << c.name;
    EXPECT_EQ(fake.log.Count("Beep"), 0u) << c.name;
  }
}

struct SystemDirectoryCase {
  std::string systemDirectory;
  std::string netshPath;  // empty: nothing may be started at all
  std::string wmicPath;
};

// Tolvik runs elevated: each program is named to Windows by its full path in the system
// directory, never found by a search that would look in Tolvik's own folder first. The command
// lines stay as they are.
TEST(ApplySettings, StartsEachProgramFromTheSystemDirectoryOnly) {
  const SystemDirectoryCase cases[] = {
      {"C:\\WINDOWS\\system32", "C:\\WINDOWS\\system32\\netsh.exe",
       "C:\\WINDOWS\\system32\\wbem\\wmic.exe"},
      {"C:\\WINDOWS\\system32\\", "C:\\WINDOWS\\system32\\netsh.exe",
       "C:\\WINDOWS\\system32\\wbem\\wmic.exe"},
      {"C:\\", "C:\\netsh.exe", "C:\\wbem\\wmic.exe"},
      // A GBK character whose trail byte is 0x5C ends the folder: it still needs its "\".
      {"D:\\\x81\x5C", "D:\\\x81\x5C\\netsh.exe", "D:\\\x81\x5C\\wbem\\wmic.exe"},
      // Windows cannot name its folder: nothing starts, and the join goes through netapi32.
      {"", "", ""},
  };
  const auto plain = Apply([](ClientState&) {});
  ASSERT_EQ(plain->commandLines.size(), 5u);
  for (const SystemDirectoryCase& c : cases) {
    FakeClientPlatform fake;
    fake.system.systemDirectory = c.systemDirectory;
    ClientState state = StaticEntry();
    ClientPlatform platform = fake.platform();
    ApplySettings(platform, state);
    if (c.netshPath.empty()) {
      EXPECT_EQ(fake.log.Count("Start"), 0u);
      EXPECT_EQ(fake.log.Count("JoinDomain"), 1u);
      EXPECT_EQ(state.StepOutcomes.front().result, StepResult::kNotStarted);
      EXPECT_EQ(state.Applied, 0);
      continue;
    }
    EXPECT_TRUE(SameByteLists(fake.processes.CommandLines(), plain->commandLines));
    for (const auto& record : fake.processes.records) {
      const bool isWmic = record.launch.commandLine.compare(0, 5, "wmic ") == 0;
      EXPECT_TRUE(SameBytes(record.launch.applicationName, isWmic ? c.wmicPath : c.netshPath))
          << record.launch.commandLine;
    }
  }
}

// A domain is joined through NetJoinDomain on every version, the password on no command line;
// 2000 and XP join only under the list's name; a PC in the domain under the list's name is done.
TEST(ApplySettings, JoinsTheDomainOnceUnderTheListsName) {
  constexpr uint32_t kXp = 0x0A280105, kVista = 0x17710006;
  const std::string pendingKey = "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
  struct Case {
    const char* name;
    uint32_t version;
    std::string running, pending;  // the names Windows runs as and takes at its next start
    DomainMembership membership;
    uint32_t joinStatus;
    std::string join;  // the JoinDomain call; empty: none
    bool applied, pendingJoin;
    std::string oneTime = "";  // the PC's one-time password from section "Join"
  };
  const std::string joinXp = "JoinDomain(, corp.example, , CORP\\admin, p w, 3)";
  const std::string joinVista = "JoinDomain(, corp.example, , CORP\\admin, p w, 1027)";
  const Case cases[] = {
      {"2000: the list's name in effect", 0x08930005, "PC-020", "", {}, 0, joinXp, true, false},
      {"XP: the name in effect, in other letters", kXp, "pc-020", "", {}, 0, joinXp, true, false},
      {"XP: a new name waits for the restart", kXp, "CLONE-PC", "PC-020", {}, 0, "", false, true},
      {"Vista: joins under the new name at once", kVista, "CLONE-PC", "", {}, 0, joinVista, true, false},
      {"already in the domain, the new name pending", kVista, "CLONE-PC", "pc-020", {true, "CORP"}, 0,
       "", true, false},
      {"already in the domain under the list's name", kXp, "PC-020", "", {true, "CORP.EXAMPLE"}, 0, "",
       true, false},
      {"a clone of a joined master joins, and fails", kVista, "MASTER", "MASTER", {true, "CORP"}, 2691,
       joinVista, false, false},
      {"in another domain", kVista, "PC-020", "", {true, "OTHER"}, 0, joinVista, true, false},
      {"in a workgroup of the domain's name", kVista, "PC-020", "", {false, "CORP"}, 0, joinVista, true,
       false},
      // Its own account made beforehand, its one-time password, no user account, none created.
      {"Vista: a one-time password", kVista, "CLONE-PC", "", {}, 0,
       "JoinDomain(, corp.example, , , Qx7pR2mK9vT4wY6z, 1217)", true, false, "Qx7pR2mK9vT4wY6z"},
      {"XP: a one-time password, the name in effect", kXp, "PC-020", "", {}, 0,
       "JoinDomain(, corp.example, , , Qx7pR2mK9vT4wY6z, 193)", true, false, "Qx7pR2mK9vT4wY6z"},
      {"a one-time password refused", kVista, "CLONE-PC", "", {}, 1326,
       "JoinDomain(, corp.example, , , Qx7pR2mK9vT4wY6z, 1217)", false, false, "Qx7pR2mK9vT4wY6z"},
  };
  for (const Case& c : cases) {
    for (const bool restart : {false, true}) {
      FakeClientPlatform fake;
      fake.system.version = c.version;
      fake.system.currentComputerName = c.running;
      fake.system.membership = c.membership;
      fake.system.joinOutcome = {true, c.joinStatus};
      if (!c.pending.empty()) fake.registry.SetString(pendingKey, "ComputerName", c.pending);
      ClientState state = StaticEntry();
      state.List.WorkGroup.clear();
      state.List.Domain = "corp.example";
      state.List.Username = "CORP\\admin";
      state.List.password = "p w";
      state.RestartAfterwards = restart;
      state.JoinPassword = c.oneTime;
      ClientPlatform platform = fake.platform();
      ApplySettings(platform, state);
      EXPECT_EQ(fake.log.Only({"JoinDomain"}),
                c.join.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.join})
          << c.name;
      for (const std::string& line : fake.processes.CommandLines()) {
        EXPECT_EQ(line.compare(0, 6, "netsh "), 0) << c.name << ": " << line;
      }
      EXPECT_EQ(state.Applied, c.applied) << c.name;
      EXPECT_EQ(state.JoinPending, c.pendingJoin) << c.name;
      // Both rename calls run in every case, with the list's name.
      EXPECT_EQ(fake.log.Count("SetComputerName") + fake.log.Count("SetComputerNameEx"), 2u) << c.name;
      if (c.pendingJoin) {
        EXPECT_TRUE(SameBytes(fake.window.infoText, std::string(pinned_tolvik_texts::kJoinAfterRestart) +
                                                        "corp.example" + pinned_tolvik_texts::kFailedLineEnd))
            << c.name;
        // Only /R closes the window, for the restart; otherwise the text stays.
        EXPECT_EQ(fake.window.closeRequests, restart ? 1 : 0) << c.name;
        EXPECT_EQ(fake.log.Count("Beep"), 0u) << c.name;
      }
      if (c.joinStatus == 2691) {
        EXPECT_NE(fake.window.infoText.find(pinned_tolvik_texts::kCodeAlreadyJoined), std::string::npos)
            << c.name;
      }
      if (!c.oneTime.empty()) {
        EXPECT_EQ(fake.window.infoText.find(c.oneTime), std::string::npos) << c.name;
        // A refused one-time password is named as such, not as a user name or password.
        EXPECT_EQ(fake.window.infoText.find(pinned_tolvik_texts::kOneTimePasswordRefused) !=
                      std::string::npos,
                  c.joinStatus == 1326)
            << c.name;
        EXPECT_EQ(fake.window.infoText.find(pinned_tolvik_texts::kCodeLogonFailure), std::string::npos)
            << c.name;
      }
    }
  }
}

// After a failed step the user may apply again: the list's name stays the one set.
TEST(ApplySettings, ApplyingAgainRenamesToTheListsNameAgain) {
  FakeClientPlatform fake;
  fake.processes.decide = [](const ProcessLaunch& launch) {
    return launch.commandLine.compare(0, 5, "wmic ") == 0 ? Exits(0, "ReturnValue = 1355;") : ProcessOutcome();
  };
  ClientState state = StaticEntry();
  ClientPlatform platform = fake.platform();
  ApplySettings(platform, state);
  ApplySettings(platform, state);
  EXPECT_EQ(fake.log.Only({"SetComputerName"}),
            (std::vector<std::string>{"SetComputerName(PC-020)", "SetComputerName(PC-020)"}));
  EXPECT_EQ(fake.processes.CommandLines()[4], fake.processes.CommandLines()[9]);  // both wmic runs
  EXPECT_EQ(state.ComputerName, "PC-020");
}

TEST(ApplySettings, WithoutAdministratorRightsChangesNothing) {
  FakeClientPlatform fake;
  fake.system.administrator = false;
  ClientState state = StaticEntry();
  state.MainCCSIP = "10.1.1.1";
  state.IcdPath = "C:\\ICD";
  fake.files.Put(kIcdSettings, "[LOCSYSPARAMS]\r\n");
  ClientPlatform platform = fake.platform();
  ApplySettings(platform, state);
  // Only the check and its message: no command, no name call, no write, no beep, no close.
  EXPECT_TRUE(SameByteLists(
      fake.log.calls,
      {"IsAdministrator()", std::string("SetInfoText(") + pinned_tolvik_texts::kNoAdministratorRights + ")"}));
  EXPECT_TRUE(SameBytes(fake.window.infoText, pinned_tolvik_texts::kNoAdministratorRights));
  EXPECT_EQ(state.Applied, 0);
  EXPECT_EQ(state.ComputerName, "PC-020");
}

struct IcdPathCase {
  std::string icdPath;
  std::string expectedFile;
};

TEST(IcdSettingsPath, PutsOneBackslashBeforeCfg) {
  const std::string longPath = "D:\\" + std::string(4000, 'd');
  const IcdPathCase cases[] = {
      {"C:\\ICD", "C:\\ICD\\cfg\\localsyscfg.ini"},
      {"C:\\ICD\\", "C:\\ICD\\cfg\\localsyscfg.ini"},
      {"", "\\cfg\\localsyscfg.ini"},
      {"ICD", "ICD\\cfg\\localsyscfg.ini"},
      {"..\\ICD\\", "..\\ICD\\cfg\\localsyscfg.ini"},
      {"C:\\Progra~1\\HuaWei\\ICD业务3.1",
       "C:\\Progra~1\\HuaWei\\ICD\xD2\xB5\xCE\xF1" "3.1\\cfg\\localsyscfg.ini"},
      // A last character whose trail byte is 0x5C is no backslash.
      {"C:\\\x81\x5C", "C:\\\x81\x5C\\cfg\\localsyscfg.ini"},
      {"C:\\\x81\x5C\\", "C:\\\x81\x5C\\cfg\\localsyscfg.ini"},
      {"C:\\\x81", "C:\\\x81\\cfg\\localsyscfg.ini"},  // a lone lead byte at the end
      {longPath, longPath + "\\cfg\\localsyscfg.ini"},
  };
  for (const IcdPathCase& c : cases) {
    EXPECT_TRUE(SameBytes(IcdSettingsPath(c.icdPath), c.expectedFile)) << c.icdPath.size();
  }
}

struct IcdCase {
  const char* name;
  std::string icdPath;
  std::string mainCcs, backCcs, appServer;
  bool fileExists;
  std::vector<std::string> expectedWrites;
};

TEST(ApplySettings, WritesTheIcdServersOnlyIntoAnExistingSettingsFile) {
  const IcdCase cases[] = {
      {"all three", "C:\\ICD\\", "10.1.1.1", "10.1.1.2", "10.1.1.3", true,
       {"WriteString(LOCSYSPARAMS, MainCCSIP, 10.1.1.1, C:\\ICD\\cfg\\localsyscfg.ini)",
        "WriteString(LOCSYSPARAMS, BackCCSIP, 10.1.1.2, C:\\ICD\\cfg\\localsyscfg.ini)",
        "WriteString(LOCSYSPARAMS, AppServerIP, 10.1.1.3, C:\\ICD\\cfg\\localsyscfg.ini)"}},
      {"empty values are written empty", "C:\\ICD", "10.1.1.1", "", "", true,
       {"WriteString(LOCSYSPARAMS, MainCCSIP, 10.1.1.1, C:\\ICD\\cfg\\localsyscfg.ini)",
        "WriteString(LOCSYSPARAMS, BackCCSIP, , C:\\ICD\\cfg\\localsyscfg.ini)",
        "WriteString(LOCSYSPARAMS, AppServerIP, , C:\\ICD\\cfg\\localsyscfg.ini)"}},
      {"no settings file", "C:\\ICD", "10.1.1.1", "10.1.1.2", "10.1.1.3", false, {}},
      {"no main CCS: step skipped", "C:\\ICD", "", "10.1.1.2", "10.1.1.3", true, {}},
  };
  for (const IcdCase& c : cases) {
    FakeClientPlatform fake;
    const std::string file = "C:\\ICD\\cfg\\localsyscfg.ini";
    const std::string original =
        "[LOCSYSPARAMS]\r\nMainCCSIP=1.1.1.1\r\nPort=8080\r\nAppServerIP=3.3.3.3\r\n[other]\r\nx=1\r\n";
    if (c.fileExists) fake.files.Put(file, original);
    ClientState state = StaticEntry();
    state.IcdPath = c.icdPath;
    state.MainCCSIP = c.mainCcs;
    state.BackCCSIP = c.backCcs;
    state.AppServerIP = c.appServer;
    ClientPlatform platform = fake.platform();
    ApplySettings(platform, state);
    EXPECT_TRUE(SameByteLists(fake.log.Only({"WriteString"}), c.expectedWrites)) << c.name;
    EXPECT_EQ(fake.files.Has(file), c.fileExists) << c.name;  // never created
    const std::string finished = pinned_tolvik_texts::kApplyFinished;
    EXPECT_EQ(fake.window.infoTexts.back(),
              c.fileExists || c.mainCcs.empty()
                  ? finished
                  : finished + "\r\n" + pinned_tolvik_texts::kIcdNotInstalled)
        << c.name;
    // The file changes only through the three profile writes, never rewritten or removed whole.
    EXPECT_EQ(fake.log.Count("WriteWholeFile") + fake.log.Count("DeleteFile"), 0u) << c.name;
  }
}

TEST(ApplySettings, LooksForTheIcdClientUnderProgramFilesWhenTheDefaultPathHasNone) {
  const std::string x86 = "C:\\Program Files (x86)\\HuaWei\\ICD\xD2\xB5\xCE\xF1" "3.1\\cfg\\localsyscfg.ini";
  struct Case {
    const char* name;
    std::string icdPath;
    std::string existing;  // the settings file present on the PC; empty: none
    std::string written;   // where the three writes go; empty: none
  };
  const std::string native = "C:\\Program Files\\HuaWei\\ICD\xD2\xB5\xCE\xF1" "3.1\\cfg\\localsyscfg.ini";
  const Case cases[] = {
      {"32-bit client on 64-bit Windows", "C:\\Progra~1\\HuaWei\\ICD业务3.1", x86, x86},
      {"64-bit client: %ProgramW6432%", "C:\\Progra~1\\HuaWei\\ICD业务3.1", native, native},
      {"a folder icd.ini names is the only one", "D:\\ICD", x86, ""},
  };
  for (const Case& c : cases) {
    FakeClientPlatform fake;
    // What a 32-bit process sees on 64-bit Windows: %ProgramFiles% is the (x86) folder.
    fake.system.environment["ProgramFiles(x86)"] = "C:\\Program Files (x86)";
    fake.system.environment["ProgramW6432"] = "C:\\Program Files";
    fake.system.environment["ProgramFiles"] = "C:\\Program Files (x86)";
    fake.files.Put(c.existing, "[LOCSYSPARAMS]\r\n");
    ClientState state = StaticEntry();
    state.IcdPath = c.icdPath;
    state.MainCCSIP = "10.1.1.1";
    ClientPlatform platform = fake.platform();
    ApplySettings(platform, state);
    const std::vector<std::string> writes = fake.log.Only({"WriteString"});
    EXPECT_EQ(writes.size(), c.written.empty() ? 0u : 3u) << c.name;
    for (const std::string& write : writes) EXPECT_NE(write.find(c.written), std::string::npos);
    // Found nowhere: one line under the finished text; the close is not held.
    EXPECT_EQ(fake.window.infoText.find(pinned_tolvik_texts::kIcdNotInstalled) != std::string::npos,
              c.written.empty()) << c.name;
    EXPECT_EQ(state.Applied, 1) << c.name;
  }
  // Where none has it: each folder tried once, in this order.
  FakeClientPlatform fake;
  fake.system.environment["ProgramFiles(x86)"] = "C:\\Program Files (x86)";
  fake.system.environment["ProgramW6432"] = "C:\\Program Files";
  fake.system.environment["ProgramFiles"] = "C:\\Program Files (x86)";
  ClientState state = StaticEntry();
  state.IcdPath = "C:\\Progra~1\\HuaWei\\ICD业务3.1";
  state.MainCCSIP = "10.1.1.1";
  ClientPlatform platform = fake.platform();
  ApplySettings(platform, state);
  EXPECT_TRUE(SameByteLists(fake.log.Only({"IsExistingFile"}),
                            {"IsExistingFile(" + IcdSettingsPath(state.IcdPath) + ")",
                             "IsExistingFile(" + x86 + ")", "IsExistingFile(" + native + ")"}));
}

}  // namespace
