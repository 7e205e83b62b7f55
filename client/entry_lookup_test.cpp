// Entry lookup: which list line and adapter decide, the ICD ranges, the lookup step's texts, and
// which fields keep their values from one run to the next.
#include "client/entry_lookup.h"

#include <gtest/gtest.h>

#include "tests/fakes/byte_text.h"
#include "tests/fakes/fake_client_platform.h"
#include "tests/pinned_texts.h"

namespace {

const char kListPath[] = "C:\\Tolvik\\mac.ini";
const char kIcdPath[] = "C:\\Tolvik\\icd.ini";
const char kMac1[] = "00E0FD3A1B01";
const char kMac2[] = "00E0FD3A1B02";

// Lines as the list section reader returns them: "key=value", in file order.
std::vector<std::string> ListLines(const std::string& body) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < body.size()) {
    size_t end = body.find("\r\n", start);
    if (end == std::string::npos) end = body.size();
    if (end > start) lines.push_back(body.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

struct EntryCase {
  const char* what;
  std::vector<std::string> macs;
  const char* listBody;          // the [list] section's lines, CR LF after each
  const char* value;             // the entry value found
  const char* targetConnection;  // "OLD" when no line matched
};

TEST(FindMachineEntry, LastMatchingLineDecidesAndTheValueComesFromTheAdaptersOwnKey) {
  const std::vector<std::string> both = {kMac1, kMac2};
  const EntryCase cases[] = {
      {"exact key", both, "00E0FD3A1B01=192.168.0.1,PC1\r\n", "192.168.0.1,PC1", "LAN1"},
      {"lower-case key", both, "00e0fd3a1b02=dhcp,pc2\r\n", "dhcp,pc2", "LAN2"},
      {"key with separators never matches", both, "00-E0-FD-3A-1B-01=10.0.0.1,PC1\r\n", "", "OLD"},
      {"key with colons never matches", both, "00:e0:fd:3a:1b:01=10.0.0.1,PC1\r\n", "", "OLD"},
      {"MAC only in the value: matched, but no line has it as key", both,
       "AAAAAAAAAAAA=00E0FD3A1B01\r\n", "", "LAN1"},
      {"MAC only in the value, and elsewhere as a key", both,
       "00E0FD3A1B01=10.0.0.1,PC1\r\nAAAAAAAAAAAA=x00e0fd3a1b02x\r\n", "", "LAN2"},
      {"MAC in the value of another line read under its own key", both,
       "00E0FD3A1B02=10.0.0.2,PC2\r\nBBBBBBBBBBBB=00E0FD3A1B02\r\n", "10.0.0.2,PC2", "LAN2"},
      {"two lines for two adapters: the later line decides", both,
       "00E0FD3A1B02=10.0.0.2,PC2\r\n00E0FD3A1B01=10.0.0.1,PC1\r\n", "10.0.0.1,PC1", "LAN1"},
      {"later non-matching lines do not undo a match", both,
       "00E0FD3A1B02=10.0.0.2,PC2\r\nCCCCCCCCCCCC=10.0.0.9,PC9\r\n", "10.0.0.2,PC2", "LAN2"},
      {"within a line the first adapter in list order wins, not the first in the text", both,
       "00E0FD3A1B01=10.0.0.1,PC1\r\n00E0FD3A1B02=10.0.0.2,PC2\r\n"
       "FFFFFFFFFFFF=00E0FD3A1B02,00E0FD3A1B01\r\n", "10.0.0.1,PC1", "LAN1"},
      {"the same lines with the adapters listed the other way round", {kMac2, kMac1},
       "00E0FD3A1B01=10.0.0.1,PC1\r\n00E0FD3A1B02=10.0.0.2,PC2\r\n"
       "FFFFFFFFFFFF=00E0FD3A1B02,00E0FD3A1B01\r\n", "10.0.0.2,PC2", "LAN2"},
      {"empty value", both, "00E0FD3A1B01=\r\n", "", "LAN1"},
      {"a repeated key gives the first line's value", both,
       "00E0FD3A1B01=10.0.0.1,A\r\n00E0FD3A1B01=10.0.0.2,B\r\n", "10.0.0.1,A", "LAN1"},
      {"an adapter without hardware address matches nothing", {"", kMac2},
       "00E0FD3A1B01=10.0.0.1,PC1\r\n", "", "OLD"},
      {"no adapters", {}, "00E0FD3A1B01=10.0.0.1,PC1\r\n", "", "OLD"},
      {"no lines", both, "", "", "OLD"},
  };
  for (const EntryCase& c : cases) {
    FakeClientPlatform fake;
    fake.files.Put(kListPath, std::string("[list]\r\n") + c.listBody);
    ClientPlatform platform = fake.platform();
    ClientState state;
    state.AdapterMacs = c.macs;
    state.ConnectionNames = {"LAN1", "LAN2"};
    if (!c.macs.empty() && c.macs[0] == kMac2) state.ConnectionNames = {"LAN2", "LAN1"};
    state.TargetConnection = "OLD";
    state.EntryIp = "10.9.9.9";
    state.ComputerName = "old value";
    FindMachineEntry(platform, state, kListPath, ListLines(c.listBody));
    EXPECT_EQ(state.ComputerName, c.value) << c.what;
    EXPECT_EQ(state.TargetConnection, c.targetConnection) << c.what;
    EXPECT_EQ(state.EntryIp, "") << c.what;
  }
}

struct IcdCase {
  const char* what;
  const char* entryIp;
  const char* icdText;
  const char* main;  // MainCCSIP after the search; "KEPT" when the earlier value stayed
};

const char kOneRange[] =
    "[list]\r\nR1\r\n"
    "[R1]\r\nfromip=192.168.1.10\r\ntoip=10.0.0.50\r\nMainCCSIP=M1\r\nBackCCSIP=B1\r\nAppServerIP=A1\r\n";

TEST(FindIcdRange, ARangeHoldsAddressesWithItsPrefixBetweenBothLastNumbers) {
  const char* const missingKeys = "[list]\r\nR1\r\n[R1]\r\nfromip=192.168.1.0\r\nMainCCSIP=M1\r\n";
  const IcdCase cases[] = {
      {"first address", "192.168.1.10", kOneRange, "M1"},
      {"last address (toip's prefix is not compared)", "192.168.1.50", kOneRange, "M1"},
      {"inside", "192.168.1.30", kOneRange, "M1"},
      {"leading zeros read as a number", "192.168.1.030", kOneRange, "M1"},
      {"below", "192.168.1.9", kOneRange, "KEPT"},
      {"above", "192.168.1.51", kOneRange, "KEPT"},
      {"other prefix", "192.168.2.20", kOneRange, "KEPT"},
      {"prefix compared exactly", "192.168.01.20", kOneRange, "KEPT"},
      {"DHCP", "DHCP", kOneRange, "KEPT"},
      {"empty address", "", kOneRange, "KEPT"},
      {"five parts: the rest after the third dot is the last part", "192.168.1.20.99", kOneRange, "M1"},
      {"missing toip reads 0", "192.168.1.0", missingKeys, "M1"},
      {"missing toip reads 0, above it", "192.168.1.1", missingKeys, "KEPT"},
      {"toip below fromip holds nothing", "192.168.1.30",
       "[list]\r\nR1\r\n[R1]\r\nfromip=192.168.1.50\r\ntoip=192.168.1.10\r\nMainCCSIP=M1\r\n", "KEPT"},
      {"non-numeric last parts read 0", "192.168.1.0",
       "[list]\r\nR1\r\n[R1]\r\nfromip=192.168.1.x\r\ntoip=192.168.1.abc\r\nMainCCSIP=M1\r\n", "M1"},
      {"non-numeric last parts read 0, 5 is above", "192.168.1.5",
       "[list]\r\nR1\r\n[R1]\r\nfromip=192.168.1.x\r\ntoip=192.168.1.abc\r\nMainCCSIP=M1\r\n", "KEPT"},
      {"empty last part of fromip reads 0", "192.168.1.7",
       "[list]\r\nR1\r\n[R1]\r\nfromip=192.168.1.\r\ntoip=192.168.1.20\r\nMainCCSIP=M1\r\n", "M1"},
      {"empty middle parts compare as parts", "192..1.7",
       "[list]\r\nR1\r\n[R1]\r\nfromip=192..1.1\r\ntoip=...9\r\nMainCCSIP=M1\r\n", "M1"},
      {"digits then junk", "192.168.1.12",
       "[list]\r\nR1\r\n[R1]\r\nfromip=192.168.1.10abc\r\ntoip=x.y.z.12 \r\nMainCCSIP=M1\r\n", "M1"},
      {"an address of three parts has an empty last part", "10.1.2",
       "[list]\r\nR1\r\n[R1]\r\nfromip=10.1.2.\r\ntoip=0.0.0.0\r\nMainCCSIP=M1\r\n", "M1"},
      {"empty fromip matches no dotted address", "192.168.1.0",
       "[list]\r\nR1\r\n[R1]\r\ntoip=192.168.1.255\r\nMainCCSIP=M1\r\n", "KEPT"},
      {"a range named in the list without a section", "192.168.1.20", "[list]\r\nNOPE\r\n", "KEPT"},
      {"no list section", "192.168.1.20", "[R1]\r\nfromip=192.168.1.0\r\ntoip=1.1.1.255\r\nMainCCSIP=M1\r\n", "KEPT"},
      {"a later range holding the address replaces the values", "192.168.1.20",
       "[list]\r\nR1\r\nR2\r\nR3\r\n"
       "[R1]\r\nfromip=192.168.1.1\r\ntoip=192.168.1.99\r\nMainCCSIP=M1\r\n"
       "[R2]\r\nfromip=192.168.1.20\r\ntoip=192.168.1.20\r\nMainCCSIP=M2\r\n"
       "[R3]\r\nfromip=192.168.1.21\r\ntoip=192.168.1.99\r\nMainCCSIP=M3\r\n", "M2"},
      {"a holding range with no server keys empties the values", "192.168.1.20",
       "[list]\r\nR1\r\n[R1]\r\nfromip=192.168.1.1\r\ntoip=192.168.1.99\r\n", ""},
  };
  for (const IcdCase& c : cases) {
    FakeClientPlatform fake;
    fake.files.Put(kIcdPath, c.icdText);
    ClientPlatform platform = fake.platform();
    ClientState state;
    state.EntryIp = c.entryIp;
    state.MainCCSIP = "KEPT";
    state.BackCCSIP = "KEPT-B";
    state.AppServerIP = "KEPT-A";
    FindIcdRange(platform, state, kIcdPath);
    EXPECT_EQ(state.MainCCSIP, c.main) << c.what;
    if (std::string(c.main) == "KEPT") {
      EXPECT_EQ(state.BackCCSIP, "KEPT-B") << c.what;
      EXPECT_EQ(state.AppServerIP, "KEPT-A") << c.what;
    }
  }
}

// The two-machine sample list: Config section, a workgroup and two list lines.
const char kTwoMachineSampleList[] =
    "[Config]\r\nGateway=192.168.0.254\r\nGwmetric=0\r\nMask=255.255.255.0\r\nDNS1=DHCP\r\nDNS2=\r\n"
    "WorkGroup=WORKGROUP\r\n[list]\r\n00E0FD3A1B01=192.168.0.1,COMPUTER001\r\n"
    "00E0FD3A1B02=192.168.0.2,COMPUTER002\r\n";

// The summary for the PC whose adapter 00E0FD3A1B01 is connection 本地连接, without icd.ini.
constexpr const char kTwoMachineSampleSummary[] =
    "\xBC\xC6\xCB\xE3\xBB\xFA\xC3\xFB\xBD\xAB\xB8\xC4\xCE\xAA: COMPUTER001\r\n"
    "\xB9\xA4\xD7\xF7\xD7\xE9\xBD\xAB\xB8\xC4\xC3\xFB\xCE\xAA: WORKGROUP\r\n"
    "\r\n"
    "\xA1\xB0\xB1\xBE\xB5\xD8\xC1\xAC\xBD\xD3\xA1\xB1\xCB\xF9\xD4\xDA\xCD\xF8\xBF\xA8\xB5\xC4"
    "\xC5\xE4\xD6\xC3\xBD\xAB\xB8\xC4\xCE\xAA: \r\n"
    "      IP: 192.168.0.1\r\n"
    "\xD7\xD3\xCD\xF8\xD1\xDA\xC2\xEB: 255.255.255.0\r\n"
    "\xC4\xAC\xC8\xCF\xCD\xF8\xB9\xD8: 192.168.0.254\r\n"
    "  \xD4\xBE\xB5\xE3\xCA\xFD: \xD7\xD4\xB6\xAF\r\n"
    "     DNS: DHCP \xD7\xD4\xB6\xAF\xD6\xB8\xC5\xC9\r\n";

void OneAdapter(ClientState& state, const std::string& mac, const std::string& connection) {
  state.AdapterMacs = {mac};
  state.ConnectionNames = {connection};
}

TEST(LookUpEntryAndShowSummary, TwoMachineSampleGivesTheSummaryByteForByte) {
  FakeClientPlatform fake;
  fake.files.Put(kListPath, kTwoMachineSampleList);
  ClientPlatform platform = fake.platform();
  ClientState state;
  OneAdapter(state, kMac1, "\xB1\xBE\xB5\xD8\xC1\xAC\xBD\xD3");  // 本地连接
  LookUpEntryAndShowSummary(platform, state, "C:\\Tolvik\\");

  EXPECT_TRUE(SameBytes(fake.window.infoText, kTwoMachineSampleSummary));
  EXPECT_EQ(state.EntryIp, "192.168.0.1");
  EXPECT_EQ(state.ComputerName, "COMPUTER001");
  EXPECT_EQ(state.List.Mask, "255.255.255.0");
  EXPECT_EQ(state.List.Gateway, "192.168.0.254");
  EXPECT_EQ(state.List.Gwmetric, "0");
  EXPECT_EQ(state.List.DNS1, "DHCP");
  EXPECT_EQ(state.List.DNS2, "");
  EXPECT_EQ(state.List.WorkGroup, "WORKGROUP");
  EXPECT_EQ(state.List.Domain, "");
  EXPECT_EQ(fake.log.Only({"IsExistingFile"}),
            (std::vector<std::string>{"IsExistingFile(C:\\Tolvik\\mac.ini)",
                                      "IsExistingFile(C:\\Tolvik\\icd.ini)"}));
}

struct StepCase {
  const char* what;
  const char* listText;  // nullptr: no mac.ini
  bool listIsDirectory;
  std::string infoText;
  const char* entryIp;
};

TEST(LookUpEntryAndShowSummary, ErrorTextsReplaceTheWholeText) {
  const std::string missing = pinned_tolvik_texts::kMissingListFile;
  const std::string noAdapter = pinned_tolvik_texts::kNoMatchingAdapter;
  const StepCase cases[] = {
      {"no mac.ini", nullptr, false, missing, ""},
      {"a directory named mac.ini", "", true, missing, ""},
      {"no line for this PC", "[list]\r\n00E0FD3A1B02=10.0.0.2,PC2\r\n", false, noAdapter, ""},
      {"no list section", "[Config]\r\nMask=255.0.0.0\r\n", false, noAdapter, ""},
      {"empty file", "", false, noAdapter, ""},
      {"empty value", "[list]\r\n00E0FD3A1B01=\r\n", false, noAdapter, ""},
      {"MAC only in a value", "[list]\r\nFFFFFFFFFFFF=00E0FD3A1B01,PC1\r\n", false, noAdapter, ""},
      {"value with only a comma", "[list]\r\n00E0FD3A1B01=,\r\n", false,
       "计算机名将改为: \r\n“LAN”所在网卡的配置将改为: \r\n      IP: \r\n子网掩码: 255.255.255.0\r\n", ""},
  };
  for (const StepCase& c : cases) {
    FakeClientPlatform fake;
    if (c.listText != nullptr) fake.files.Put(kListPath, c.listText);
    if (c.listIsDirectory) fake.files.directories.insert(kListPath);
    fake.files.Put(kIcdPath, kOneRange);
    fake.window.infoText = "previous text";
    ClientPlatform platform = fake.platform();
    ClientState state;
    OneAdapter(state, kMac1, "LAN");
    state.EntryIp = "10.9.9.9";
    LookUpEntryAndShowSummary(platform, state, "C:\\Tolvik\\");
    EXPECT_TRUE(SameBytes(fake.window.infoText, c.infoText)) << c.what;
    EXPECT_EQ(state.EntryIp, c.entryIp) << c.what;
    if (c.infoText == missing || c.infoText == noAdapter) {
      EXPECT_EQ(fake.window.infoTexts.size(), 1u) << c.what;
      EXPECT_EQ(fake.log.Only({"IsExistingFile"}).size(), 1u) << c.what << ": icd.ini not tested";
    }
  }
}

TEST(LookUpEntryAndShowSummary, SettingsAndEntryAreReadWithDefaultsAndCases) {
  FakeClientPlatform fake;
  fake.files.Put(kListPath,
                 "[config]\r\ndns1=dhcp\r\ndns2=Ab.c\r\nworkgroup=wg\r\ndomain=Dom\r\n"
                 "username=u\r\npassword=P\r\n[LIST]\r\n00e0fd3a1b01=dhcp,pc07,x\r\n");
  ClientPlatform platform = fake.platform();
  ClientState state;
  OneAdapter(state, kMac1, "LAN");
  LookUpEntryAndShowSummary(platform, state, "C:\\Tolvik\\");
  EXPECT_EQ(state.List.Mask, "255.255.255.0");
  EXPECT_EQ(state.List.Gwmetric, "1");
  EXPECT_EQ(state.List.Gateway, "");
  EXPECT_EQ(state.List.DNS1, "DHCP");
  EXPECT_EQ(state.List.DNS2, "Ab.c");
  EXPECT_EQ(state.List.WorkGroup, "wg");
  EXPECT_EQ(state.List.Domain, "Dom");
  EXPECT_EQ(state.List.Username, "u");
  EXPECT_EQ(state.List.password, "P");
  EXPECT_EQ(state.EntryIp, "DHCP");
  EXPECT_EQ(state.ComputerName, "pc07,x");
  EXPECT_TRUE(SameBytes(fake.window.infoText,
                        "计算机名将改为: pc07,x\r\n工作组将改名为: wg\r\n\r\n“LAN”所在网卡的配置将改为: \r\n"
                        "      IP: DHCP 自动指派\r\n     DNS: DHCP 自动指派\r\n"));
}

// Section "Join": this PC's one-time password is taken (key without case), never shown, and
// the list's account it replaces is not shown either; a PC without a line there has none.
TEST(LookUpEntryAndShowSummary, OneTimePasswordIsTakenButNeverShown) {
  FakeClientPlatform fake;
  ClientPlatform platform = fake.platform();
  ClientState state;
  OneAdapter(state, kMac1, "LAN");
  const std::string list = "[Config]\r\nDomain=corp.example\r\nUsername=u\r\npassword=Old\r\n[list]\r\n"
                           "00E0FD3A1B01=dhcp,PC1\r\n[Join]\r\n00e0fd3a1b01=Qx7pR2mK9vT4wY6z\r\n";
  fake.files.Put(kListPath, list);
  LookUpEntryAndShowSummary(platform, state, "C:\\Tolvik\\");
  EXPECT_EQ(state.JoinPassword, "Qx7pR2mK9vT4wY6z");
  EXPECT_NE(fake.window.infoText.find("corp.example"), std::string::npos);
  for (const char* hidden : {"Qx7pR2mK9vT4wY6z", "Old"}) {
    EXPECT_EQ(fake.window.infoText.find(hidden), std::string::npos) << hidden;
  }
  fake.files.Put(kListPath, list.substr(0, list.find("[Join]")));
  LookUpEntryAndShowSummary(platform, state, "C:\\Tolvik\\");
  EXPECT_EQ(state.JoinPassword, "");
  EXPECT_NE(fake.window.infoText.find("Old"), std::string::npos);
}

TEST(LookUpEntryAndShowSummary, FieldsKeepTheirValuesBetweenRunsOnlyWhereTheyShould) {
  FakeClientPlatform fake;
  ClientPlatform platform = fake.platform();
  ClientState state;
  OneAdapter(state, kMac1, "LAN");

  // Run 1: an entry inside the range of icd.ini.
  fake.files.Put(kListPath, "[Config]\r\nMask=255.255.0.0\r\n[list]\r\n00E0FD3A1B01=192.168.1.20,PC1\r\n");
  fake.files.Put(kIcdPath, "[cfg]\r\npath=D:\\ICD\r\n" + std::string(kOneRange));
  LookUpEntryAndShowSummary(platform, state, "C:\\Tolvik\\");
  EXPECT_EQ(state.IcdPath, "D:\\ICD");
  EXPECT_EQ(state.MainCCSIP + state.BackCCSIP + state.AppServerIP, "M1B1A1");
  EXPECT_EQ(state.TargetConnection, "LAN");
  EXPECT_NE(fake.window.infoText.find("主用 CCS:M1\r\n"), std::string::npos);

  // Run 2: a new address outside every range, no icd.ini path key: the path is read again
  // (default), the servers of run 1 remain and are still shown.
  fake.files.Put(kListPath, "[list]\r\n00E0FD3A1B01=10.0.0.5,PC1\r\n");
  fake.files.Put(kIcdPath, kOneRange);
  LookUpEntryAndShowSummary(platform, state, "C:\\Tolvik\\");
  EXPECT_EQ(state.IcdPath, "C:\\Progra~1\\HuaWei\\ICD业务3.1");
  EXPECT_EQ(state.MainCCSIP, "M1");
  EXPECT_EQ(state.BackCCSIP, "B1");
  EXPECT_EQ(state.List.Mask, "255.255.255.0");  // the settings are read anew, defaults included
  EXPECT_NE(fake.window.infoText.find("主用 CCS:M1\r\n"), std::string::npos);

  // Run 3: no icd.ini: the path of run 2 stays.
  state.IcdPath = "E:\\KEPT";
  fake.files.files.erase(kIcdPath);
  LookUpEntryAndShowSummary(platform, state, "C:\\Tolvik\\");
  EXPECT_EQ(state.IcdPath, "E:\\KEPT");
  EXPECT_EQ(state.EntryIp, "10.0.0.5");

  // Run 4: on another adapter list no line matches: the connection stays, the entry is emptied.
  state.ConnectionNames = {"OTHER"};
  state.AdapterMacs = {"AABBCCDDEEFF"};
  LookUpEntryAndShowSummary(platform, state, "C:\\Tolvik\\");
  EXPECT_EQ(state.TargetConnection, "LAN");
  EXPECT_EQ(state.EntryIp, "");
  EXPECT_EQ(state.ComputerName, "");
}

}  // namespace
