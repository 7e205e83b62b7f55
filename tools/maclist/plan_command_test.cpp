// maclist plan: the summary and the actions of Tolvik's own code for sample lists, the MAC forms
// accepted, and the answers for a PC the list does not name.
#include "tools/maclist/plan_command.h"

#include <gtest/gtest.h>

#include <cstring>

#include "program_version.h"
#include "tests/pinned_texts.h"
#include "platform/console_text.h"
#include "tools/maclist/maclist_commands.h"
#include "tools/maclist/test_files.h"

namespace {

const char kExampleList[] =
    "[Config]\r\nGateway=192.168.0.254\r\nGwmetric=0\r\nMask=255.255.255.0\r\nDNS1=DHCP\r\n"
    "DNS2=\r\nWorkGroup=WORKGROUP\r\n[list]\r\n00E0FD3A1B01=192.168.0.1,COMPUTER001\r\n"
    "00E0FD3A1B02=192.168.0.2,COMPUTER002\r\n";

const char kDomainList[] =
    "[Config]\r\nGateway=NONE\r\nGwmetric=5\r\nMask=255.255.0.0\r\nDNS1=10.0.0.53\r\n"
    "DNS2=10.0.0.54\r\nDomain=corp.example\r\nUsername=joiner\r\npassword=secret\r\n[list]\r\n"
    "aabbccddeeff=10.0.1.20,PC-020\r\n";

const char kIcd[] =
    "[cfg]\r\npath=D:\\ICD\r\n[list]\r\nr1\r\n[r1]\r\nfromip=10.0.1.10\r\ntoip=10.0.1.50\r\n"
    "AppServerIP=10.0.9.1\r\nMainCCSIP=10.0.9.2\r\nBackCCSIP=10.0.9.3\r\n";

const char kDhcpList[] = "[Config]\r\nGateway=\r\nDNS1=\r\n[list]\r\n00E0FD3A1B07=dhcp,PC07\r\n";

struct PlanResult {
  int code = -1;
  std::string plan, notice, error;
};

PlanResult Plan(std::vector<std::string> arguments) {
  PlanResult result;
  PlanOptions options;
  std::string error;
  if (!ParsePlanArguments(arguments, &options, &error)) {
    result.error = error;
    return result;
  }
  result.code = RunPlan(options, SystemProfileApi(), &result.plan, &result.notice, &result.error);
  return result;
}

// The worked example's summary and actions, around which a fetch adds its lines.
const char kExampleSummary[] =
    "计算机名将改为: COMPUTER001\n工作组将改名为: WORKGROUP\n\n"
    "“本地连接”所在网卡的配置将改为: \n      IP: 192.168.0.1\n子网掩码: 255.255.255.0\n"
    "默认网关: 192.168.0.254\n  跃点数: 自动\n     DNS: DHCP 自动指派\n\n";
const char kExampleActions[] =
    "run: netsh  interface ip set address 本地连接 static 192.168.0.1 255.255.255.0 "
    "192.168.0.254 0\n"
    "run: netsh  interface ip set dns 本地连接 static none\n"
    "call: SetComputerNameA COMPUTER001\n"
    "call: SetComputerNameExA 5 COMPUTER001\n"
    "run: wmic  computersystem where Name=\"%COMPUTERNAME%\" call JoinDomainOrWorkgroup "
    "Name=\"WORKGROUP\"\n"
    "    where wmic is missing: NetJoinDomain(NULL, \"WORKGROUP\", NULL, NULL, NULL, 0)\n";

TEST(Plan, ShowsTheSummaryThenEveryActionInOrder) {
  const struct {
    const char* what;
    const char* list;
    const char* icd;  // nullptr: no --icd
    std::vector<std::string> options;
    std::string expected;  // GBK, LF-ended lines
  } cases[] = {
      {"the worked example", kExampleList, nullptr, {"--mac", "00-E0-FD-3A-1B-01"},
       std::string(kExampleSummary) + kExampleActions},
      {"domain, removed gateway, two DNS servers, ICD range, /K /R", kDomainList, kIcd,
       {"--mac", "aa:bb:cc:dd:ee:ff", "--connection", "Local Area Connection", "--current-name",
        "OLD-PC", "--windows", "xp", "/K", "/R"},
       "计算机名将改为: PC-020\n域将改名为: corp.example\n用户名: joiner\n密码: secret\n"
       "“Local Area Connection”所在网卡的配置将改为: \n      IP: 10.0.1.20\n"
       "子网掩码: 255.255.0.0\n默认网关: 删除\n首选 DNS: 10.0.0.53\n备用 DNS: 10.0.0.54\n"
       "ICD 安装路径:D:\\ICD\n主用 CCS:10.0.9.2\n备用 CCS:10.0.9.3\n应用服务器:10.0.9.1\n\n"
       "run: netsh  interface ip set address \"Local Area Connection\" static 10.0.1.20 "
       "255.255.0.0 NONE \n"
       "run: netsh  interface ip set dns \"Local Area Connection\" static none\n"
       "run: netsh  interface ip add dns \"Local Area Connection\" 10.0.0.53\n"
       "run: netsh  interface ip add dns \"Local Area Connection\" 10.0.0.54\n"
       "call: SetComputerNameA PC-020\n"
       "call: SetComputerNameExA 5 PC-020\n"
       // Windows XP runs as OLD-PC: the join waits for the restart that makes PC-020 the name.
       "write: D:\\ICD\\cfg\\localsyscfg.ini [LOCSYSPARAMS] MainCCSIP=10.0.9.2\n"
       "write: D:\\ICD\\cfg\\localsyscfg.ini [LOCSYSPARAMS] BackCCSIP=10.0.9.3\n"
       "write: D:\\ICD\\cfg\\localsyscfg.ini [LOCSYSPARAMS] AppServerIP=10.0.9.1\n"
       "restart: InitiateSystemShutdownA \"\" 0 0 1\n"
       "shows: 计算机名将在重启后生效，重启后加入域 corp.example。\n"
       "\n"
       "after the restart, running as PC-020:\n"
       "run: netsh  interface ip set address \"Local Area Connection\" static 10.0.1.20 "
       "255.255.0.0 NONE \n"
       "run: netsh  interface ip set dns \"Local Area Connection\" static none\n"
       "run: netsh  interface ip add dns \"Local Area Connection\" 10.0.0.53\n"
       "run: netsh  interface ip add dns \"Local Area Connection\" 10.0.0.54\n"
       "call: SetComputerNameA PC-020\n"
       "call: SetComputerNameExA 5 PC-020\n"
       "call: NetJoinDomain(NULL, \"corp.example\", NULL, \"joiner\", \"***\", 3)\n"
       "    on Windows Vista and later: FJoinOptions=1027\n"
       "write: D:\\ICD\\cfg\\localsyscfg.ini [LOCSYSPARAMS] MainCCSIP=10.0.9.2\n"
       "write: D:\\ICD\\cfg\\localsyscfg.ini [LOCSYSPARAMS] BackCCSIP=10.0.9.3\n"
       "write: D:\\ICD\\cfg\\localsyscfg.ini [LOCSYSPARAMS] AppServerIP=10.0.9.1\n"
       "delete: C:\\Tolvik\\mac.ini\n"
       "delete at restart: C:\\Tolvik\\Tolvik.exe\n"
       "restart: InitiateSystemShutdownA \"\" 0 0 1\n"},
      {"DHCP entry, /K alone: the self-delete batch file", kDhcpList, nullptr,
       {"--mac", "00e0fd3a1b07", "--program", "D:\\My Tools\\Tolvik.exe", "--temp", "C:\\TEMP",
        "/k"},
       "计算机名将改为: PC07\n“本地连接”所在网卡的配置将改为: \n      IP: DHCP 自动指派\n\n"
       "run: netsh  interface ip set address 本地连接 DHCP \n"
       "call: SetComputerNameA PC07\n"
       "call: SetComputerNameExA 5 PC07\n"
       "delete: D:\\My Tools\\mac.ini\n"
       "delete at restart: D:\\My Tools\\Tolvik.exe\n"
       "write file: C:\\TEMP\\$94827$.bat\n"
       "    cd C:\\TEMP\\\n"
       "    del \"D:\\My Tools\\Tolvik.exe\"\n    del \"D:\\My Tools\\Tolvik.exe\"\n"
       "    del \"D:\\My Tools\\Tolvik.exe\"\n    del \"D:\\My Tools\\Tolvik.exe\"\n"
       "    del \"D:\\My Tools\\Tolvik.exe\"\n    del \"D:\\My Tools\\Tolvik.exe\"\n"
       "    del \"C:\\TEMP\\$94827$.bat\"\n"
       "run: cmd.exe /c \"\"C:\\TEMP\\$94827$.bat\"\"\n"},
      {"/IP: with tftp at hand: the two tftp runs come first", kExampleList, nullptr,
       {"--mac", "00E0FD3A1B01", "/IP:192.0.2.1"},
       std::string(kExampleSummary) +
           "run: tftp 192.0.2.1 get mac.ini\nrun: tftp 192.0.2.1 get icd.ini\n" + kExampleActions},
      {"/N without tftp or icd.ini: Tolvik reads mac.ini from the DHCP server itself", kExampleList,
       nullptr, {"--mac", "00E0FD3A1B01", "/N", "--dhcp-server", "192.0.2.7", "--no-tftp"},
       std::string(kExampleSummary) + "cannot start: tftp 192.0.2.7 get mac.ini\n"
           "read over TFTP by Tolvik itself: 192.0.2.7 mac.ini\n"
           "write file: C:\\Tolvik\\mac.ini.tmp (" + std::to_string(std::strlen(kExampleList)) +
           " bytes)\nrename: C:\\Tolvik\\mac.ini.tmp -> C:\\Tolvik\\mac.ini\n"
           "cannot start: tftp 192.0.2.7 get icd.ini\n"
           "read over TFTP by Tolvik itself: 192.0.2.7 icd.ini\n"
           "    not on the server: nothing written\n" + kExampleActions},
      {"a report to a named server follows the apply", 
       "[Config]\r\nMask=255.255.255.0\r\nDNS1=DHCP\r\nreport=192.0.2.9\r\n[list]\r\n"
       "00E0FD3A1B01=192.168.0.1,COMPUTER001\r\n",
       nullptr, {"--mac", "00E0FD3A1B01", "--current-name", "MASTER"},
       "计算机名将改为: COMPUTER001\n“本地连接”所在网卡的配置将改为: \n      IP: 192.168.0.1\n"
       "子网掩码: 255.255.255.0\n     DNS: DHCP 自动指派\n\n"
       "run: netsh  interface ip set address 本地连接 static 192.168.0.1 255.255.255.0\n"
       "run: netsh  interface ip set dns 本地连接 static none\n"
       "call: SetComputerNameA COMPUTER001\ncall: SetComputerNameExA 5 COMPUTER001\n"
       "put over TFTP by Tolvik itself: 192.0.2.9 tolvik-00E0FD3A1B01.ini\n"
       "    [report]\n    mac=00E0FD3A1B01\n    name=COMPUTER001\n    ip=192.168.0.1\n"
       "    previous_name=MASTER\n    result=done\n    time=0000-00-00 00:00:00\n"
       "    version=" PROGRAM_VERSION_TEXT "\n    [steps]\n    address=0\n    dns=0\n"
       "    name=0\n    membership=skipped\n    icd=skipped\n"},
  };
  for (const auto& c : cases) {
    ScratchDirectory dir;
    std::vector<std::string> arguments = {dir.WriteFile("list.ini", c.list)};
    if (c.icd) arguments.insert(arguments.end(), {"--icd", dir.WriteFile("icd.ini", c.icd)});
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const PlanResult r = Plan(arguments);
    EXPECT_EQ(r.code, 0) << c.what << ": " << r.error;
    EXPECT_EQ(r.plan, c.expected) << c.what << "\n  plan:     " << HexBytes(r.plan)
                                  << "\n  expected: " << HexBytes(c.expected);
  }
  // From Windows Vista on the domain is joined at once; the password only in the summary.
  ScratchDirectory dir;
  const PlanResult vista = Plan({dir.WriteFile("list.ini", kDomainList), "--mac", "aabbccddeeff"});
  const std::string join = "call: NetJoinDomain(NULL, \"corp.example\", NULL, \"joiner\", \"***\", 1027)\n"
                           "    on Windows 2000 and XP: FJoinOptions=3, once a restart has put a new "
                           "name in effect\n";
  EXPECT_NE(vista.plan.find(join), std::string::npos) << vista.plan;
  EXPECT_EQ(vista.plan.find("secret", vista.plan.find("\n\n")), std::string::npos) << vista.plan;
  // With a one-time password in section "Join": the PC's own account, no user account.
  const PlanResult own = Plan({dir.WriteFile("join.ini", std::string(kDomainList) +
                                                           "[Join]\r\nAABBCCDDEEFF=Qx7pR2mK9vT4wY6z\r\n"),
                               "--mac", "aabbccddeeff"});
  EXPECT_NE(own.plan.find("call: NetJoinDomain(NULL, \"corp.example\", NULL, NULL, \"***\", 1217)\n"
                          "    on Windows 2000 and XP: FJoinOptions=193,"),
            std::string::npos)
      << own.plan;
  EXPECT_EQ(own.plan.find("Qx7pR2mK9vT4wY6z"), std::string::npos) << own.plan;
}

// The summary's quotes are the full-width marks, GBK A1 B0 and A1 B1, and the terminal sees
// them as UTF-8 E2 80 9C and E2 80 9D.
TEST(Plan, TerminalShowsTheSummaryInUtf8) {
  ScratchDirectory dir;
  const std::string list = dir.WriteFile("mac.ini", kExampleList);
  std::string out, err;
  ASSERT_EQ(RunMaclist({"plan", list, "--mac", "00E0FD3A1B01", "--connection", "LAN"},
                       SystemProfileApi(), &out, &err),
            0)
      << err;
  const std::string line = "\xE2\x80\x9CLAN\xE2\x80\x9D";
  EXPECT_NE(out.find(line), std::string::npos) << HexBytes(out.substr(0, 200));
  const PlanResult r = Plan({list, "--mac", "00E0FD3A1B01", "--connection", "LAN"});
  EXPECT_NE(r.plan.find("\xA1\xB0LAN\xA1\xB1"), std::string::npos) << HexBytes(r.plan.substr(0, 200));
}

TEST(Plan, AnAdapterTheListDoesNotNameGetsTolviksErrorText) {
  const struct {
    const char* what;
    const char* list;
    const char* mac;
  } cases[] = {
      {"MAC not in the list", kExampleList, "00E0FD3A1B09"},
      {"key written with separators never matches",
       "[Config]\r\n[list]\r\n00-E0-FD-3A-1B-01=192.168.0.1,PC1\r\n", "00E0FD3A1B01"},
      {"no list section", "[Config]\r\nGateway=\r\n", "00E0FD3A1B01"},
  };
  for (const auto& c : cases) {
    ScratchDirectory dir;
    const PlanResult r = Plan({dir.WriteFile("mac.ini", c.list), "--mac", c.mac});
    EXPECT_EQ(r.code, 1) << c.what;
    EXPECT_EQ(r.error, TerminalText(pinned_tolvik_texts::kNoMatchingAdapter)) << c.what;
    EXPECT_TRUE(r.plan.empty()) << c.what << ": " << r.plan;
  }
}

TEST(Plan, AnEntryWithoutAddressIsShownButNothingIsApplied) {
  ScratchDirectory dir;
  const PlanResult r =
      Plan({dir.WriteFile("mac.ini", "[list]\r\n00E0FD3A1B01=,PC1\r\n"), "--mac", "00E0FD3A1B01"});
  EXPECT_EQ(r.code, 0) << r.error;
  EXPECT_EQ(r.plan,
            "计算机名将改为: PC1\n“本地连接”所在网卡的配置将改为: \n      IP: \n"
            "子网掩码: 255.255.255.0\n");
  EXPECT_NE(r.notice.find("empty address"), std::string::npos) << r.notice;
}

TEST(Plan, AcceptsTheUsualMacForms) {
  const struct {
    const char* text;
    bool ok;
  } cases[] = {
      {"00-E0-FD-3A-1B-01", true}, {"00:e0:fd:3a:1b:01", true}, {"00e0.fd3a.1b01", true},
      {"00E0FD3A1B01", true},      {"00E0FD3A1B0", false},      {"00E0FD3A1B011", false},
      {"00-E0-FD-3A-1B-0G", false}, {"-00E0FD3A1B01", false},   {"00E0FD3A1B01:", false},
      {"00 E0 FD 3A 1B 01", false}, {"", false},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes;
    EXPECT_EQ(ParseMacArgument(c.text, &bytes), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(bytes, (std::vector<uint8_t>{0x00, 0xE0, 0xFD, 0x3A, 0x1B, 0x01})) << c.text;
    }
  }
}

TEST(Plan, RefusesBadInput) {
  ScratchDirectory dir;
  const std::string list = dir.WriteFile("mac.ini", kExampleList);
  const struct {
    const char* what;
    std::vector<std::string> arguments;
    int code;
    const char* message;
  } cases[] = {
      {"no --mac", {"plan", list}, 2, "plan needs --mac"},
      {"--mac without value", {"plan", list, "--mac"}, 2, "option --mac needs a value"},
      {"bad MAC", {"plan", list, "--mac", "00E0FD3A1B"}, 2, "--mac must be six bytes"},
      {"no list file", {"plan", "--mac", "00E0FD3A1B01"}, 2, "plan needs the list file"},
      {"missing list file", {"plan", dir.Path("none.ini"), "--mac", "00E0FD3A1B01"}, 2,
       "cannot read the list file"},
      {"missing ICD file", {"plan", list, "--mac", "00E0FD3A1B01", "--icd", dir.Path("none.ini")}, 2,
       "cannot read the ICD file"},
      {"help switch", {"plan", list, "--mac", "00E0FD3A1B01", "/?"}, 2, "only the switches /K, /R"},
      {"unknown option", {"plan", list, "--mac", "00E0FD3A1B01", "--adapter", "x"}, 2,
       "unknown option --adapter"},
  };
  for (const auto& c : cases) {
    std::string out, err;
    EXPECT_EQ(RunMaclist(c.arguments, SystemProfileApi(), &out, &err), c.code) << c.what;
    EXPECT_NE(err.find(c.message), std::string::npos) << c.what << ": " << err;
    EXPECT_TRUE(out.empty()) << c.what << ": " << out;
  }
}

TEST(Commands, HelpForTheProgramAndEachCommand) {
  const struct {
    std::vector<std::string> arguments;
    int code;
    const char* begins;
    bool onOutput;
  } cases[] = {
      {{"--help"}, 0, "maclist - make, check and dry-run", true},
      {{"generate", "--help"}, 0, "usage: maclist generate LOG", true},
      {{"check", "--help"}, 0, "usage: maclist check FILE", true},
      {{"plan", "x.ini", "-h"}, 0, "usage: maclist plan FILE --mac MAC", true},
      {{}, 2, "maclist - make, check and dry-run", false},
      {{"frobnicate"}, 2, "maclist: unknown command frobnicate", false},
  };
  for (const auto& c : cases) {
    std::string out, err;
    EXPECT_EQ(RunMaclist(c.arguments, SystemProfileApi(), &out, &err), c.code) << c.begins;
    const std::string& text = c.onOutput ? out : err;
    EXPECT_EQ(text.compare(0, std::string(c.begins).size(), c.begins), 0) << text;
  }
}

TEST(Commands, CheckExitsByWhatItFound) {
  ScratchDirectory dir;
  const std::string clean = dir.WriteFile("clean.ini", kExampleList);
  const std::string bad = dir.WriteFile(
      "bad.ini", std::string(kExampleList) + "00E0FD3A1B03=192.168.0.1,COMPUTER003\r\n");
  const struct {
    std::vector<std::string> arguments;
    int code;
    std::string out;
    const char* err;
  } cases[] = {
      {{"check", clean}, 0, "", ""},
      {{"check", bad}, 1,
       bad + ":11: address 192.168.0.1 is given to line 9 too [duplicate-address]\n", ""},
      {{"check", bad, "--json"}, 1,
       "{\"file\": \"" + bad + "\", \"count\": 1, \"findings\": [\n  {\"line\": 11, \"code\": "
       "\"duplicate-address\", \"message\": \"address 192.168.0.1 is given to line 9 too\"}\n]}\n",
       ""},
      {{"check", dir.Path("none.ini")}, 2, "", "maclist check: cannot read the list file"},
      {{"check", dir.Path("")}, 2, "", "maclist check: cannot read the list file"},
      {{"check"}, 2, "", "maclist check: check needs the list file"},
      {{"check", clean, "--xml"}, 2, "", "maclist check: unknown option --xml"},
  };
  for (const auto& c : cases) {
    std::string out, err;
    EXPECT_EQ(RunMaclist(c.arguments, SystemProfileApi(), &out, &err), c.code) << c.arguments.back();
    EXPECT_EQ(out, c.out);
    EXPECT_EQ(err.compare(0, std::string(c.err).size(), c.err), 0) << err;
  }
}

}  // namespace
