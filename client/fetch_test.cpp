// Tests of the fetch over TFTP: the tftp runs, the DHCP-server loop, the named address, the button.
#include "client/fetch.h"

#include <gtest/gtest.h>

#include <set>

#include "client/button_handlers.h"
#include "tests/fakes/byte_text.h"
#include "tests/fakes/fake_client_platform.h"
#include "tests/pinned_texts.h"

namespace {

const char kListPath[] = "C:\\Tolvik\\mac.ini";

// A stand-in for the tftp client: "tftp ADDRESS get FILE" stores FILE in its working directory
// when ADDRESS is one of the servers that have the file.
void ServeFiles(FakeClientPlatform& fake, std::set<std::string> servers) {
  FakeFileApi& files = fake.files;
  fake.processes.onRun = [&files, servers](const ProcessLaunch& launch) {
    const std::string& line = launch.commandLine;
    if (line.compare(0, 5, "tftp ") != 0) return;
    const size_t get = line.rfind(" get ");
    if (get == std::string::npos || servers.count(line.substr(5, get - 5)) == 0) return;
    files.Put(launch.workingDirectory + line.substr(get + 5), "[list]\r\n");
  };
}

// 尝试从 SERVER 获取配置文件。: one space before the verb.
std::string Trying(const std::string& server) {
  return "SetInfoText(\xB3\xA2\xCA\xD4\xB4\xD3 " + server +
         " \xBB\xF1\xC8\xA1\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE\xA1\xA3)";
}

std::vector<std::string> TftpRuns(const std::string& server) {
  return {"Start(tftp " + server + " get mac.ini)", "Start(tftp " + server + " get icd.ini)"};
}

TEST(FetchFromServer, RunsTftpTwiceInTheProgramDirectoryAndLeavesTheSocketAlone) {
  for (bool firstTimesOut : {false, true}) {
    FakeClientPlatform fake;
    fake.files.modulePath = "D:\\工具 箱\\Tolvik.exe";
    if (firstTimesOut) fake.processes.outcomes.push_back({true, false});
    ClientPlatform platform = fake.platform();
    FetchFromServer(platform, "192.0.2.1");
    // A tftp still running when its time is up is ended, and icd.ini is not asked for then.
    EXPECT_EQ(fake.log.Only({"End"}), firstTimesOut ? std::vector<std::string>{"End(tftp 192.0.2.1 get mac.ini)"} : std::vector<std::string>{});
    std::vector<std::string> runs = {"tftp 192.0.2.1 get mac.ini", "tftp 192.0.2.1 get icd.ini"};
    if (firstTimesOut) runs.pop_back();
    EXPECT_TRUE(SameByteLists(fake.processes.CommandLines(), runs));
    for (const auto& record : fake.processes.records) {
      EXPECT_EQ(record.launch.applicationName, "C:\\WINDOWS\\system32\\tftp.exe");
      EXPECT_TRUE(SameBytes(record.launch.workingDirectory, "D:\\\xB9\xA4\xBE\xDF \xCF\xE4\\"));
      EXPECT_EQ(record.launch.creationFlags, kCreateNewConsole | kCreateNoWindow);
      EXPECT_EQ(record.launch.showWindow, kSwHide);
      EXPECT_EQ(record.waits, std::vector<uint32_t>{12000});
    }
    EXPECT_TRUE(fake.processes.HandleLeaks().empty());
    EXPECT_EQ(fake.log.Count("Open"), 0u) << "tftp ran: no socket of Tolvik's own";
  }
}

// When tftp cannot be started, Tolvik reads each file itself: written aside, renamed when whole.
struct OwnClientCase {
  const char* name;
  std::vector<Arrival> listArrivals;  // the server's answers to the mac.ini request
  bool listThereBefore;               // an older mac.ini is in the program directory
  bool renameFails;
  std::string listAfter;              // mac.ini afterwards; empty: none
  bool asksIcd;                       // a server fallen silent is not asked for icd.ini
};

TEST(FetchFromServer, ReadsItselfWhenTftpCannotStart) {
  const std::string full(512, 'm');
  const OwnClientCase cases[] = {
      {"whole list arrives", {DataArrival(1, full), DataArrival(2, "")}, false, false, full, true},
      {"whole list replaces an older one", {DataArrival(1, "new")}, true, false, "new", true},
      {"server stops half-way: nothing", {DataArrival(1, full)}, false, false, "", false},
      {"server stops half-way: the older list stays", {DataArrival(1, full)}, true, false, "old",
       false},
      {"no such file", {ErrorArrival(1, "File not found")}, false, false, "", true},
      {"rename fails: nothing", {DataArrival(1, "new")}, false, true, "", true},
      {"nobody at the port", {PortUnreachable()}, true, false, "old", false},
  };
  for (const OwnClientCase& c : cases) {
    FakeClientPlatform fake;
    fake.processes.defaultOutcome.starts = false;
    if (c.listThereBefore) fake.files.Put(kListPath, "old");
    if (c.renameFails) fake.files.failingRenames.insert(kListPath);
    fake.datagrams.scripts.push_back(std::deque<Arrival>(c.listArrivals.begin(), c.listArrivals.end()));
    fake.datagrams.scripts.push_back({DataArrival(1, "[cfg]")});
    ClientPlatform platform = fake.platform();
    FetchFromServer(platform, "192.0.2.1");

    // Each file: Windows' tftp first, Tolvik's own request only after it failed to start.
    const std::vector<std::string> order = fake.log.Only({"Start", "SendTo"});
    ASSERT_GE(order.size(), 2u) << c.name;
    EXPECT_EQ(order[0], "Start(tftp 192.0.2.1 get mac.ini)") << c.name;
    EXPECT_EQ(order[1], "SendTo(69 RRQ mac.ini octet)") << c.name;
    EXPECT_EQ(fake.log.Count("Start"), c.asksIcd ? 2u : 1u) << c.name;
    if (c.asksIcd) {
      EXPECT_EQ(fake.datagrams.sends.back(), "2001 ACK 1") << c.name;
    }
    EXPECT_EQ(fake.files.Has(kListPath), !c.listAfter.empty()) << c.name;
    EXPECT_TRUE(SameBytes(fake.files.Get(kListPath), c.listAfter)) << c.name;
    EXPECT_TRUE(SameBytes(fake.files.Get("C:\\Tolvik\\icd.ini"), c.asksIcd ? "[cfg]" : "")) << c.name;
    EXPECT_FALSE(fake.files.Has("C:\\Tolvik\\mac.ini.tmp")) << c.name;
    EXPECT_FALSE(fake.files.Has("C:\\Tolvik\\icd.ini.tmp")) << c.name;
    for (const std::string& path : fake.files.written) EXPECT_NE(path, kListPath) << c.name;
  }
}

struct DhcpCase {
  const char* name;
  std::vector<std::string> servers;
  std::set<std::string> delivering;
  bool listThereBefore;
  std::vector<std::string> tried;  // servers tried, in order
};

TEST(FetchFromDhcpServers, TriesServersInOrderUntilTheListIsThere) {
  const DhcpCase cases[] = {
      {"no server: no attempt", {}, {}, false, {}},
      {"first delivers", {"192.0.2.1", "192.0.2.2"}, {"192.0.2.1"}, false, {"192.0.2.1"}},
      {"second delivers", {"192.0.2.1", "192.0.2.2", "192.0.2.3"}, {"192.0.2.2"}, false,
       {"192.0.2.1", "192.0.2.2"}},
      {"nobody delivers", {"192.0.2.1", "192.0.2.2"}, {}, false, {"192.0.2.1", "192.0.2.2"}},
      {"list there before: stops after the first", {"192.0.2.1", "192.0.2.2"}, {}, true,
       {"192.0.2.1"}},
      {"same server twice", {"192.0.2.9", "192.0.2.9"}, {}, false, {"192.0.2.9", "192.0.2.9"}},
  };
  for (const DhcpCase& c : cases) {
    FakeClientPlatform fake;
    fake.window.infoText = "before";
    if (c.listThereBefore) fake.files.Put(kListPath, "old");
    ServeFiles(fake, c.delivering);
    ClientState state;
    state.DhcpServers = c.servers;
    ClientPlatform platform = fake.platform();
    FetchFromDhcpServers(platform, state);

    std::vector<std::string> expected;
    for (const std::string& server : c.tried) {
      expected.push_back("ShowAndBringToFront()");
      expected.push_back("ProcessPendingMessages()");
      expected.push_back(Trying(server));
      for (const std::string& run : TftpRuns(server)) expected.push_back(run);
      expected.push_back(std::string("IsExistingFile(") + kListPath + ")");
    }
    EXPECT_TRUE(SameByteLists(fake.log.Only({"ShowAndBringToFront", "ProcessPendingMessages",
                                             "SetInfoText", "Start", "IsExistingFile"}),
                              expected))
        << c.name;
    if (c.servers.empty()) {
      EXPECT_EQ(fake.window.infoText, "before") << c.name;
    }
    EXPECT_EQ(fake.files.Has(kListPath), c.listThereBefore || !c.delivering.empty()) << c.name;
  }
}

// A click on the fetch button queued during the loop runs while messages are processed and
// refills the server list; the loop still tries the servers it started with, and nothing it
// holds is pulled away under it.
TEST(FetchFromDhcpServers, SurvivesTheServerListChangingWhileMessagesRun) {
  FakeClientPlatform fake;
  ClientState state;
  state.DhcpServers = {"192.0.2.1", "192.0.2.2", "192.0.2.3"};
  fake.window.onProcessPendingMessages = [&state]() {
    state.DhcpServers.clear();
    state.DhcpServers.shrink_to_fit();
    state.DhcpServers.push_back("198.51.100.1");
  };
  ClientPlatform platform = fake.platform();
  FetchFromDhcpServers(platform, state);
  std::vector<std::string> expected;
  for (const char* server : {"192.0.2.1", "192.0.2.2", "192.0.2.3"}) {
    for (const std::string& run : TftpRuns(server)) expected.push_back(run);
  }
  EXPECT_TRUE(SameByteLists(fake.log.Only({"Start"}), expected));
}

TEST(FetchFromNamedAddress, ShowsTheTextWithTwoSpacesThenFetches) {
  FakeClientPlatform fake;
  ClientPlatform platform = fake.platform();
  ClientState state;
  FetchFromNamedAddress(platform, state, " 10.0.0.5");
  // 尝试从  10.0.0.5  获取配置文件。 (the address as given, two spaces before the verb)
  const std::string text =
      "\xB3\xA2\xCA\xD4\xB4\xD3  10.0.0.5  \xBB\xF1\xC8\xA1\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE\xA1\xA3";
  EXPECT_TRUE(SameByteLists(
      fake.log.Only({"ShowAndBringToFront", "ProcessPendingMessages", "SetInfoText", "Start",
                     "IsExistingFile"}),
      {"SetInfoText(" + text + ")", "ShowAndBringToFront()", "ProcessPendingMessages()",
       "Start(tftp  10.0.0.5 get mac.ini)", "Start(tftp  10.0.0.5 get icd.ini)"}));
}

struct StepCase {
  const char* name;
  std::string fetchAddress;
  std::vector<std::string> servers;
  std::vector<std::string> expectedRuns;
};

TEST(RunFetchStep, NamedAddressWinsOverTheDhcpServers) {
  const StepCase cases[] = {
      {"named", "198.51.100.7", {"192.0.2.1"},
       {"tftp 198.51.100.7 get mac.ini", "tftp 198.51.100.7 get icd.ini"}},
      {"no address", "", {"192.0.2.1"}, {"tftp 192.0.2.1 get mac.ini", "tftp 192.0.2.1 get icd.ini"}},
      {"no address, no server", "", {}, {}},
      {"long GBK address", "服务器" + std::string(4000, 'x'), {},
       {"tftp \xB7\xFE\xCE\xF1\xC6\xF7" + std::string(4000, 'x') + " get mac.ini",
        "tftp \xB7\xFE\xCE\xF1\xC6\xF7" + std::string(4000, 'x') + " get icd.ini"}},
  };
  for (const StepCase& c : cases) {
    FakeClientPlatform fake;
    ClientState state;
    state.FetchAddress = c.fetchAddress;
    state.DhcpServers = c.servers;
    ClientPlatform platform = fake.platform();
    RunFetchStep(platform, state);
    EXPECT_TRUE(SameByteLists(fake.processes.CommandLines(), c.expectedRuns)) << c.name;
  }
}

// Two adapters, the first on DHCP with a server recorded in the registry.
void AddDhcpAdapter(FakeClientPlatform& fake, const std::string& server) {
  fake.adapters.Add("{A1}", {0x00, 0x1E, 0x90, 0xAB, 0x7D, 0xEF});
  fake.adapters.Add("{B2}", {0x00, 0x1E, 0x90, 0xAB, 0x7D, 0xF0});
  const std::string key = "SYSTEM\\CurrentControlSet\\Services\\{A1}\\Parameters\\Tcpip";
  fake.registry.SetDword(key, "EnableDHCP", 1);
  fake.registry.SetString(key, "DHCPServer", server);
}

struct ClickCase {
  const char* name;
  std::string addressBox;
  std::string targetConnection;
  std::vector<std::string> expectedRuns;
};

TEST(OnFetchClick, FetchesThenRunsTheMainFlowAgain) {
  const ClickCase cases[] = {
      {"address typed", "192.0.2.50", "LAN",
       {"tftp 192.0.2.50 get mac.ini", "tftp 192.0.2.50 get icd.ini"}},
      {"address with a leading space kept", " 192.0.2.50", "LAN",
       {"tftp  192.0.2.50 get mac.ini", "tftp  192.0.2.50 get icd.ini"}},
      {"empty box: DHCP first, then the DHCP server", "", "LAN",
       {"netsh  interface ip set address LAN DHCP ", "tftp 192.0.2.1 get mac.ini",
        "tftp 192.0.2.1 get icd.ini"}},
      {"empty box before any match", "", "",
       {"netsh  interface ip set address  DHCP ", "tftp 192.0.2.1 get mac.ini",
        "tftp 192.0.2.1 get icd.ini"}},
      {"connection name with spaces", "", "Local Area Connection",
       {"netsh  interface ip set address \"Local Area Connection\" DHCP ",
        "tftp 192.0.2.1 get mac.ini", "tftp 192.0.2.1 get icd.ini"}},
  };
  for (const ClickCase& c : cases) {
    FakeClientPlatform fake;
    AddDhcpAdapter(fake, "192.0.2.1");
    fake.window.addressBox = c.addressBox;
    ClientState state;
    state.TargetConnection = c.targetConnection;
    state.DhcpServers = {"203.0.113.1"};     // stale lists of the previous run
    state.ConnectionNames = {"old"};
    ClientPlatform platform = fake.platform();
    OnFetchClick(platform, state);
    EXPECT_TRUE(SameByteLists(fake.processes.CommandLines(), c.expectedRuns)) << c.name;
    // The main flow ran once more from the beginning: adapters, command line, lookup.
    EXPECT_EQ(fake.log.Count("InstallIconAndAboutItem"), 0u) << c.name;
    EXPECT_EQ(fake.log.Count("CommandLine"), 1u) << c.name;
    EXPECT_EQ(state.DhcpServers, std::vector<std::string>{"192.0.2.1"}) << c.name;
    EXPECT_EQ(state.ConnectionNames.size(), 2u) << c.name;
    EXPECT_EQ(fake.window.infoText, pinned_tolvik_texts::kMissingListFile) << c.name;
    // Rediscovery (only for an empty box) happens after netsh and before the first tftp.
    const std::vector<std::string> order = fake.log.Only({"Start", "GetAdaptersInfo"});
    const bool viaDhcp = c.addressBox.empty();
    ASSERT_EQ(order.size(), viaDhcp ? 5u : 3u) << c.name;
    if (viaDhcp) {
      EXPECT_EQ(fake.processes.records[0].launch.applicationName,
                "C:\\WINDOWS\\system32\\netsh.exe");
      EXPECT_EQ(CallLog::NameOf(order[0]), "Start");
      EXPECT_EQ(CallLog::NameOf(order[1]), "GetAdaptersInfo");
      EXPECT_EQ(CallLog::NameOf(order[2]), "Start");
    }
    EXPECT_EQ(CallLog::NameOf(order.back()), "GetAdaptersInfo") << c.name;
  }
}

}  // namespace
