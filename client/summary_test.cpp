// Change summary: every line of the summary table, byte for byte, and how the window gets it.
#include "client/summary.h"

#include <gtest/gtest.h>

#include "tests/fakes/byte_text.h"
#include "tests/fakes/fake_client_platform.h"

namespace {

struct SummaryCase {
  const char* what;
  void (*change)(ClientState&);
  std::string expected;
};

// Lines shared by most cases (the source is UTF-8, the program's bytes are GBK).
const std::string kName = "计算机名将改为: PC07\r\n";
const std::string kConnection = "“LAN”所在网卡的配置将改为: \r\n";

ClientState Plain() {
  ClientState state;
  state.ComputerName = "PC07";
  state.TargetConnection = "LAN";
  state.EntryIp = "10.0.0.7";
  state.List.Mask = "255.0.0.0";
  state.List.Gwmetric = "1";
  return state;
}

TEST(SummaryText, EveryLineOfTheTableUnderItsCondition) {
  const std::string ipAndMask = "      IP: 10.0.0.7\r\n子网掩码: 255.0.0.0\r\n";
  const SummaryCase cases[] = {
      {"nothing optional", [](ClientState&) {}, kName + kConnection + ipAndMask},
      {"DHCP address: no mask, gateway or metric",
       [](ClientState& s) { s.EntryIp = "DHCP"; s.List.Gateway = "10.0.0.1"; },
       kName + kConnection + "      IP: DHCP 自动指派\r\n"},
      {"address dhcp in lower case is an address",
       [](ClientState& s) { s.EntryIp = "dhcp"; },
       kName + kConnection + "      IP: dhcp\r\n子网掩码: 255.0.0.0\r\n"},
      {"empty address", [](ClientState& s) { s.EntryIp = ""; },
       kName + kConnection + "      IP: \r\n子网掩码: 255.0.0.0\r\n"},
      {"gateway with metric", [](ClientState& s) { s.List.Gateway = "10.0.0.1"; s.List.Gwmetric = "20"; },
       kName + kConnection + ipAndMask + "默认网关: 10.0.0.1\r\n  跃点数: 20\r\n"},
      {"metric 0 is automatic", [](ClientState& s) { s.List.Gateway = "10.0.0.1"; s.List.Gwmetric = "0"; },
       kName + kConnection + ipAndMask + "默认网关: 10.0.0.1\r\n  跃点数: 自动\r\n"},
      {"metric 00 is shown as it stands", [](ClientState& s) { s.List.Gateway = "10.0.0.1"; s.List.Gwmetric = "00"; },
       kName + kConnection + ipAndMask + "默认网关: 10.0.0.1\r\n  跃点数: 00\r\n"},
      {"empty metric", [](ClientState& s) { s.List.Gateway = "10.0.0.1"; s.List.Gwmetric = ""; },
       kName + kConnection + ipAndMask + "默认网关: 10.0.0.1\r\n  跃点数: \r\n"},
      {"gateway NONE deletes, no metric", [](ClientState& s) { s.List.Gateway = "NONE"; s.List.Gwmetric = "0"; },
       kName + kConnection + ipAndMask + "默认网关: 删除\r\n"},
      {"gateway nOnE", [](ClientState& s) { s.List.Gateway = "nOnE"; },
       kName + kConnection + ipAndMask + "默认网关: 删除\r\n"},
      {"gateway NONE with a space is an address", [](ClientState& s) { s.List.Gateway = "NONE "; },
       kName + kConnection + ipAndMask + "默认网关: NONE \r\n  跃点数: 1\r\n"},
      {"DNS by DHCP", [](ClientState& s) { s.List.DNS1 = "DHCP"; s.List.DNS2 = "10.0.0.3"; },
       kName + kConnection + ipAndMask + "     DNS: DHCP 自动指派\r\n"},
      {"two DNS servers", [](ClientState& s) { s.List.DNS1 = "10.0.0.2"; s.List.DNS2 = "10.0.0.3"; },
       kName + kConnection + ipAndMask + "首选 DNS: 10.0.0.2\r\n备用 DNS: 10.0.0.3\r\n"},
      {"one DNS server", [](ClientState& s) { s.List.DNS1 = "10.0.0.2"; },
       kName + kConnection + ipAndMask + "首选 DNS: 10.0.0.2\r\n"},
      {"DNS2 alone gives no DNS line", [](ClientState& s) { s.List.DNS2 = "10.0.0.3"; },
       kName + kConnection + ipAndMask},
      {"domain with user and password", [](ClientState& s) { s.List.Domain = "CORP"; s.List.Username = "adm"; s.List.password = "p w"; },
       kName + "域将改名为: CORP\r\n用户名: adm\r\n密码: p w\r\n" + kConnection + ipAndMask},
      {"domain with password only", [](ClientState& s) { s.List.Domain = "CORP"; s.List.password = "pw"; },
       kName + "域将改名为: CORP\r\n密码: pw\r\n" + kConnection + ipAndMask},
      {"domain alone", [](ClientState& s) { s.List.Domain = "CORP"; },
       kName + "域将改名为: CORP\r\n" + kConnection + ipAndMask},
      {"workgroup wins over domain", [](ClientState& s) { s.List.WorkGroup = "WG"; s.List.Domain = "CORP"; s.List.Username = "adm"; },
       kName + "工作组将改名为: WG\r\n\r\n" + kConnection + ipAndMask},
      {"user name without domain is not shown", [](ClientState& s) { s.List.Username = "adm"; },
       kName + kConnection + ipAndMask},
      {"empty connection name gives empty quotes", [](ClientState& s) { s.TargetConnection = ""; },
       kName + "“”所在网卡的配置将改为: \r\n" + ipAndMask},
      {"ICD lines", [](ClientState& s) {
         s.IcdPath = "D:\\ICD"; s.MainCCSIP = "10.9.0.1"; s.BackCCSIP = "10.9.0.2"; s.AppServerIP = "10.9.0.3"; },
       kName + kConnection + ipAndMask +
           "ICD 安装路径:D:\\ICD\r\n主用 CCS:10.9.0.1\r\n备用 CCS:10.9.0.2\r\n应用服务器:10.9.0.3\r\n"},
      {"ICD lines with empty backup and server", [](ClientState& s) { s.MainCCSIP = "10.9.0.1"; },
       kName + kConnection + ipAndMask + "ICD 安装路径:\r\n主用 CCS:10.9.0.1\r\n备用 CCS:\r\n应用服务器:\r\n"},
      {"no main CCS: no ICD lines", [](ClientState& s) {
         s.IcdPath = "D:\\ICD"; s.BackCCSIP = "10.9.0.2"; s.AppServerIP = "10.9.0.3"; },
       kName + kConnection + ipAndMask},
  };
  for (const SummaryCase& c : cases) {
    ClientState state = Plain();
    c.change(state);
    EXPECT_TRUE(SameBytes(SummaryText(state), c.expected)) << c.what;
  }
}

TEST(SummaryText, ValuesAreShownExactlyAsTheyStand) {
  ClientState state = Plain();
  state.ComputerName = std::string("A,B \x81\x40 ") + std::string(4000, 'n');
  state.List.password = "\t secret \t";
  state.List.Domain = "CORP";
  std::string text = SummaryText(state);
  EXPECT_EQ(text.find("计算机名将改为: " + state.ComputerName + "\r\n"), 0u);
  EXPECT_NE(text.find("密码: \t secret \t\r\n"), std::string::npos);
}

TEST(BuildSummary, ReplacesTheTextWithTheFirstLineThenAppendsEachLine) {
  FakeClientPlatform fake;
  fake.window.infoText = "old text";
  ClientState state = Plain();
  state.List.DNS1 = "DHCP";
  BuildSummary(fake.window, state);
  const std::vector<std::string> expected = {
      kName,
      kName + kConnection,
      kName + kConnection + "      IP: 10.0.0.7\r\n",
      kName + kConnection + "      IP: 10.0.0.7\r\n子网掩码: 255.0.0.0\r\n",
      kName + kConnection + "      IP: 10.0.0.7\r\n子网掩码: 255.0.0.0\r\n     DNS: DHCP 自动指派\r\n",
  };
  EXPECT_EQ(fake.window.infoTexts, expected);
  EXPECT_EQ(fake.window.infoText, expected.back()) << "the window ends with the whole summary";
}

}  // namespace
