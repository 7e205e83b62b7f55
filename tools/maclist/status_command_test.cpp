// maclist status: each state of a machine from the reports beside the list, the JSON shape, the
// page, and the exit codes.
#include "tools/maclist/status_command.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/console_text.h"
#include "platform/portable/portable_profile.h"
#include "tools/maclist/maclist_commands.h"
#include "tests/pinned_texts.h"
#include "tools/maclist/test_files.h"

namespace {

int Maclist(const std::vector<std::string>& arguments, std::string* out, std::string* err) {
  return RunMaclist(arguments, SystemProfileApi(), out, err);
}

const char kList[] =
    "[Config]\r\nreport=tftp\r\n[list]\r\n00E0FD000001=192.168.0.1,PC001\r\n"
    "00E0FD000002=192.168.0.2,PC002\r\n00E0FD000003=192.168.0.3,PC003\r\n"
    "00E0FD000004=192.168.0.4,PC004\r\n";

// A report as Tolvik writes it, for the MAC its file is named by.
std::string Report(const std::string& mac, const std::string& name, const std::string& ip,
                   const std::string& result, const std::string& steps) {
  return "[report]\r\nmac=" + mac + "\r\nname=" + name + "\r\nip=" + ip + "\r\nresult=" + result +
         "\r\ntime=2026-12-09 10:00:00\r\n[steps]\r\naddress=0\r\ndns=skipped\r\n" + steps;
}

TEST(Status, TellsEachMachinesStateInListOrderThenForeignReports) {
  ScratchDirectory dir;
  const std::string list = dir.WriteFile("mac.ini", kList);
  dir.WriteFile("tolvik-00E0FD000001.ini",
                Report("00E0FD000001", "PC001", "192.168.0.1", "done", "name=0\r\n"));
  dir.WriteFile("tolvik-00e0fd000002.ini",
                Report("00E0FD000002", "PC002", "192.168.0.2", "failed",
                       "name=0\r\nmembership=1326\r\nicd=failed\r\n"));
  // PC003's report comes from an older list that gave that PC another name.
  dir.WriteFile("tolvik-00E0FD000003.ini", Report("00E0FD000003", "OLD03", "192.168.0.3", "done", ""));
  dir.WriteFile("tolvik-AABBCCDDEEFF.ini", Report("AABBCCDDEEFF", "", "", "no-entry", ""));
  dir.WriteFile("notes.txt", "not a report");

  std::string out, err;
  EXPECT_EQ(Maclist({"status", list, dir.Path("")}, &out, &err), 1) << err;
  EXPECT_EQ(out,
            "   1  PC001           192.168.0.1     00E0FD000001  done\n"
            "   2  PC002           192.168.0.2     00E0FD000002  failed: membership 1326 "
            "(\xE7\x94\xA8\xE6\x88\xB7\xE5\x90\x8D\xE6\x88\x96\xE5\xAF\x86\xE7\xA0\x81\xE4\xB8\x8D"
            "\xE6\xAD\xA3\xE7\xA1\xAE), icd\n"
            "   3  PC003           192.168.0.3     00E0FD000003  stale: the report names OLD03 "
            "192.168.0.3\n"
            "   4  PC004           192.168.0.4     00E0FD000004  no report\n"
            "   -                                  AABBCCDDEEFF  not in list: no-entry\n"
            "1 done, 1 failed, 1 no report, 1 stale, 1 not in list; 1 found no line\n");

  out.clear();
  const std::string page = dir.Path("status.html");
  EXPECT_EQ(Maclist({"status", list, dir.Path(""), "--json", "--html", page}, &out, &err), 1);
  EXPECT_NE(out.find("{\"number\": 2, \"name\": \"PC002\", \"ip\": \"192.168.0.2\", \"mac\": "
                     "\"00E0FD000002\", \"state\": \"failed\", \"result\": \"failed\", \"time\": "
                     "\"2026-12-09 10:00:00\", \"problem\": \"\", \"failed_steps\": [{\"step\": \"membership\", "
                     "\"code\": 1326, \"meaning\": \"\xE7\x94\xA8"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("{\"step\": \"icd\", \"code\": null, \"meaning\": \"\"}"), std::string::npos);
  EXPECT_NE(out.find("\"summary\": {\"done\": 1, \"failed\": 1, \"pending\": 0, \"no-report\": 1, "
                     "\"stale\": 1, \"not-in-list\": 1, \"unreadable-report\": 0, "
                     "\"inconsistent-report\": 0, \"conflicting-reports\": 0, \"no-entry\": 1}}"),
            std::string::npos) << out;
  const std::string html = ReadFileBytes(page);
  EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(html.find("<tr class=\"stale\"><td>3</td><td>PC003</td>"), std::string::npos);
  EXPECT_EQ(html.find("<link"), std::string::npos) << "the page stands alone";
}

TEST(Status, ExitCodes) {
  ScratchDirectory dir;
  const std::string list = dir.WriteFile(
      "mac.ini", "[list]\r\n00E0FD000001=192.168.0.1,PC001\r\n00E0FD000001=192.168.0.9,PC009\r\n");
  std::string out, err;
  EXPECT_EQ(Maclist({"status", list, dir.Path("")}, &out, &err), 1);  // no report yet
  // The MAC's first line is the one Tolvik applies; the repeat adds no machine.
  dir.WriteFile("tolvik-00E0FD000001.ini", Report("00e0fd000001", "pc001", "192.168.0.1", "done", ""));
  out.clear();
  EXPECT_EQ(Maclist({"status", list, dir.Path("")}, &out, &err), 0) << out;
  EXPECT_EQ(out.substr(out.rfind('\n', out.size() - 2) + 1), "1 done, 0 failed, 0 no report\n");
  // A PC that found no line in its list is unconfigured, listed or not.
  dir.WriteFile("tolvik-AABBCCDDEEFF.ini", Report("AABBCCDDEEFF", "", "", "no-entry", ""));
  out.clear();
  EXPECT_EQ(Maclist({"status", list, dir.Path("")}, &out, &err), 1) << out;
  EXPECT_EQ(out.substr(out.rfind('\n', out.size() - 2) + 1),
            "1 done, 0 failed, 0 no report, 1 not in list; 1 found no line\n");
  // A report from a PC of another batch that is done does not hold the batch up.
  dir.WriteFile("tolvik-AABBCCDDEEFF.ini", Report("AABBCCDDEEFF", "PC9", "10.0.0.9", "done", ""));
  EXPECT_EQ(Maclist({"status", list, dir.Path("")}, &out, &err), 0);
  EXPECT_EQ(Maclist({"status", list, dir.Path("missing")}, &out, &err), 2);
  EXPECT_EQ(Maclist({"status", dir.Path("none.ini"), dir.Path("")}, &out, &err), 2);
  EXPECT_EQ(Maclist({"status", list}, &out, &err), 2);
  EXPECT_EQ(Maclist({"status", list, dir.Path(""), "--html"}, &out, &err), 2);
}

// Reports anyone on the LAN may write: each case alone beside a list of one PC, with the line it
// gives and the exit code. The JSON stays valid UTF-8 without raw control bytes.
TEST(Status, CraftedReports) {
  const std::string good = Report("00E0FD000001", "PC001", "192.168.0.1", "done", "");
  const std::string line = "   1  PC001           192.168.0.1     00E0FD000001  ";
  struct File {
    std::string name;
    std::string bytes;  // "->PATH": a link to PATH
  };
  const struct {
    const char* what;
    std::vector<File> files;
    std::string line;
    int exitCode;
  } cases[] = {
      {"escape bytes in result= erase no line", {{"tolvik-00E0FD000001.ini",
        Report("00E0FD000001", "PC001", "192.168.0.1", "\x1b[2K\x1b[1Adone", "")}},
       line + "failed: result=?[2K?[1Adone", 1},
      {"escape bytes in name=", {{"tolvik-00E0FD000001.ini",
        Report("00E0FD000001", "PC001\x1b]0;x\x07\x7F", "192.168.0.1", "done", "")}},
       line + "stale: the report names PC001?]0;x?? 192.168.0.1", 1},
      {"GBK converted once, broken GBK shown as ?", {{"tolvik-00E0FD000001.ini",
        Report("00E0FD000001", "\xB1\xBE\xFF\x81", "192.168.0.1\x80", "done", "")}},
       line + "stale: the report names " + std::string(u8"本") + "?? 192.168.0.1?", 1},
      {"over 64 KB", {{"tolvik-00E0FD000001.ini", good + ";" + std::string(65536 - good.size(), 'x')}},
       line + "unreadable report: tolvik-00E0FD000001.ini over 65536 bytes", 1},
      {"64 KB exactly is read", {{"tolvik-00E0FD000001.ini",
        good + ";" + std::string(65535 - good.size(), 'x')}}, line + "done", 0},
      {"cannot be read (reading gives EIO)", {{"tolvik-00E0FD000001.ini", "->/proc/self/mem"}},
       line + "unreadable report: tolvik-00E0FD000001.ini cannot be read", 1},
      {"mac= names another PC", {{"tolvik-00E0FD000001.ini",
        Report("00E0FD000009", "PC001", "192.168.0.1", "done", "")}},
       line + "inconsistent report: its mac= names 00E0FD000009", 1},
      {"a failed step under result=done", {{"tolvik-00E0FD000001.ini",
        Report("00E0FD000001", "PC001", "192.168.0.1", "done", "membership=2691\r\n")}},
       line + "inconsistent report: result=done but failed: membership 2691 (" +
           TerminalText(pinned_tolvik_texts::kCodeAlreadyJoined) + ")", 1},
      {"pending: renamed, joins after the restart", {{"tolvik-00E0FD000001.ini",
        Report("00E0FD000001", "PC001", "192.168.0.1", "pending", "membership=skipped\r\n")}},
       line + "pending: renamed; joins the domain after the restart", 1},
      {"case twins", {{"tolvik-00E0FD000001.ini", good}, {"tolvik-00e0fd000001.ini", good}},
       line + "conflicting reports: tolvik-00E0FD000001.ini tolvik-00e0fd000001.ini", 1},
      {"names that are no report's", {{"tolvik-00E0FD000001.ini", good},
        {"tolvik-00E0FD0000011.ini", good}, {"tolvik-00E0FD00000G.ini", good},
        {"tolvik-00E0FD000001.ini.bak", good}, {"tolvik-0E0FD000001.ini", good}},
       line + "done", 0},
  };
  for (const auto& c : cases) {
    ScratchDirectory dir;
    const std::string list = dir.WriteFile("mac.ini", "[list]\r\n00E0FD000001=192.168.0.1,PC001\r\n");
    for (const File& file : c.files) {
      if (file.bytes.rfind("->", 0) == 0) {
        ASSERT_EQ(symlink(file.bytes.c_str() + 2, dir.Path(file.name).c_str()), 0);
      } else {
        dir.WriteFile(file.name, file.bytes);
      }
    }
    std::string out, err;
    EXPECT_EQ(Maclist({"status", list, dir.Path("")}, &out, &err), c.exitCode) << c.what;
    EXPECT_EQ(out.substr(0, out.find('\n')), c.line) << c.what;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2) << c.what << ": " << out;
    out.clear();
    EXPECT_EQ(Maclist({"status", list, dir.Path(""), "--json"}, &out, &err), c.exitCode) << c.what;
    std::string gbk;
    EXPECT_TRUE(ArgumentToGbk(out, &gbk)) << c.what << ": not UTF-8: " << HexBytes(out);
    EXPECT_EQ(std::count_if(out.begin(), out.end(), [](char b) { return (b != '\n' && b > 0 && b < 0x20) || b == 0x7F; }),
              0) << c.what << ": " << out;
  }
}

// The page speaks the administrators' language: its fixed texts, each state's word in its row,
// the summary with every state counted.
TEST(Status, PageInChinese) {
  ScratchDirectory dir;
  std::string lines;
  for (int pc = 1; pc <= 8; ++pc) lines += "00E0FD00000" + std::to_string(pc) + "=192.168.0." +
                                           std::to_string(pc) + ",PC00" + std::to_string(pc) + "\r\n";
  const std::string list = dir.WriteFile("mac.ini", "[list]\r\n" + lines);
  const auto report = [&](int pc, const std::string& result, const std::string& steps) {
    const std::string n = std::to_string(pc);
    dir.WriteFile("tolvik-00E0FD00000" + n + ".ini",
                  Report("00E0FD00000" + n, "PC00" + n, "192.168.0." + n, result, steps));
  };
  report(1, "done", "");
  report(2, "failed", "name=5\r\n");
  report(3, "pending", "");
  dir.WriteFile("tolvik-00E0FD000005.ini", Report("00E0FD000005", "OLD", "192.168.0.5", "done", ""));
  dir.WriteFile("tolvik-00E0FD000006.ini", std::string(70000, ';'));
  report(7, "done", "icd=failed\r\n");
  report(8, "done", "");
  dir.WriteFile("tolvik-00e0fd000008.ini", "");
  dir.WriteFile("tolvik-AABBCCDDEEFF.ini", Report("AABBCCDDEEFF", "", "", "no-entry", ""));
  std::string out, err;
  const std::string page = dir.Path("status.html");
  EXPECT_EQ(Maclist({"status", list, dir.Path(""), "--html", page}, &out, &err), 1);
  const std::string html = ReadFileBytes(page);
  const struct {
    const char* what;
    std::string text;
  } texts[] = {
      {"title", u8"<title>Tolvik 回报状态</title>"},
      {"heading", u8"<h1>Tolvik 回报状态：mac.ini</h1>"},
      {"columns", u8"<tr><th>序号</th><th>计算机名</th><th>IP 地址</th><th>MAC 地址</th>"
                  u8"<th>状态</th><th>详情</th><th>回报时间</th></tr>"},
      {"summary", u8"<p class=\"summary\">已完成 1 台，未完成 1 台，等待重启 1 台，无回报 1 台，"
                  u8"回报与列表不符 1 台，不在列表中 1 台，回报无法读取 1 台，回报自相矛盾 1 台，"
                  u8"回报重复冲突 1 台；回报列表中没有本机 1 台</p>"},
      {"what a report is worth", u8"TFTP 写入不验证身份"},
      {"done", u8"<tr class=\"done\"><td>1</td><td>PC001</td><td>192.168.0.1</td>"
               u8"<td>00E0FD000001</td><td>已完成</td>"},
      {"failed", u8"<td>00E0FD000002</td><td>未完成</td>"},
      {"pending", u8"<tr class=\"pending\"><td>3</td>"},
      {"pending's word", u8"<td>00E0FD000003</td><td>等待重启</td>"},
      {"no report", u8"<tr class=\"no-report\"><td>4</td><td>PC004</td><td>192.168.0.4</td>"
                    u8"<td>00E0FD000004</td><td>无回报</td>"},
      {"stale", u8"<td>00E0FD000005</td><td>回报与列表不符</td>"},
      {"unreadable", u8"<tr class=\"unreadable-report\"><td>6</td>"},
      {"unreadable's word", u8"<td>00E0FD000006</td><td>回报无法读取</td>"},
      {"inconsistent", u8"<td>00E0FD000007</td><td>回报自相矛盾</td>"},
      {"conflicting", u8"<td>00E0FD000008</td><td>回报重复冲突</td>"},
      {"not in list", u8"<td>AABBCCDDEEFF</td><td>不在列表中</td>"},
  };
  for (const auto& t : texts) EXPECT_NE(html.find(t.text), std::string::npos) << t.what << "\n" << html;
  // The console keeps its English words.
  EXPECT_EQ(out.substr(out.rfind('\n', out.size() - 2) + 1),
            "1 done, 1 failed, 1 pending, 1 no report, 1 stale, 1 not in list, 1 unreadable report, "
            "1 inconsistent report, 1 conflicting reports; 1 found no line\n");
}

}  // namespace
