// maclist status: each state of a machine from the reports beside the list, the JSON shape, the
// page, and the exit codes.
#include "tools/maclist/status_command.h"

#include <gtest/gtest.h>

#include "platform/portable/portable_profile.h"
#include "tools/maclist/maclist_commands.h"
#include "tools/maclist/test_files.h"

namespace {

int Maclist(const std::vector<std::string>& arguments, std::string* out, std::string* err) {
  return RunMaclist(arguments, SystemProfileApi(), out, err);
}

const char kList[] =
    "[Config]\r\nreport=tftp\r\n[list]\r\n00E0FD000001=192.168.0.1,PC001\r\n"
    "00E0FD000002=192.168.0.2,PC002\r\n00E0FD000003=192.168.0.3,PC003\r\n"
    "00E0FD000004=192.168.0.4,PC004\r\n";

std::string Report(const std::string& name, const std::string& ip, const std::string& result,
                   const std::string& steps) {
  return "[report]\r\nname=" + name + "\r\nip=" + ip + "\r\nresult=" + result +
         "\r\ntime=2026-12-09 10:00:00\r\n[steps]\r\naddress=0\r\ndns=skipped\r\n" + steps;
}

TEST(Status, TellsEachMachinesStateInListOrderThenForeignReports) {
  ScratchDirectory dir;
  const std::string list = dir.WriteFile("mac.ini", kList);
  dir.WriteFile("tolvik-00E0FD000001.ini", Report("PC001", "192.168.0.1", "done", "name=0\r\n"));
  dir.WriteFile("tolvik-00e0fd000002.ini",
                Report("PC002", "192.168.0.2", "failed", "name=0\r\nmembership=1326\r\nicd=failed\r\n"));
  // PC003's report comes from an older list that gave that PC another name.
  dir.WriteFile("tolvik-00E0FD000003.ini", Report("OLD03", "192.168.0.3", "done", ""));
  dir.WriteFile("tolvik-AABBCCDDEEFF.ini", Report("", "", "no-entry", ""));
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
            "1 done, 1 failed, 1 no report, 1 stale, 1 not in list\n");

  out.clear();
  const std::string page = dir.Path("status.html");
  EXPECT_EQ(Maclist({"status", list, dir.Path(""), "--json", "--html", page}, &out, &err), 1);
  EXPECT_NE(out.find("{\"number\": 2, \"name\": \"PC002\", \"ip\": \"192.168.0.2\", \"mac\": "
                     "\"00E0FD000002\", \"state\": \"failed\", \"result\": \"failed\", \"time\": "
                     "\"2026-12-09 10:00:00\", \"failed_steps\": [{\"step\": \"membership\", "
                     "\"code\": 1326, \"meaning\": \"\xE7\x94\xA8"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("{\"step\": \"icd\", \"code\": null, \"meaning\": \"\"}"), std::string::npos);
  EXPECT_NE(out.find("\"summary\": {\"done\": 1, \"failed\": 1, \"no-report\": 1, \"stale\": 1, "
                     "\"not-in-list\": 1}}"),
            std::string::npos);
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
  dir.WriteFile("tolvik-00E0FD000001.ini", Report("pc001", "192.168.0.1", "done", ""));
  out.clear();
  EXPECT_EQ(Maclist({"status", list, dir.Path("")}, &out, &err), 0) << out;
  EXPECT_EQ(out.substr(out.rfind('\n', out.size() - 2) + 1), "1 done, 0 failed, 0 no report\n");
  EXPECT_EQ(Maclist({"status", list, dir.Path("missing")}, &out, &err), 2);
  EXPECT_EQ(Maclist({"status", dir.Path("none.ini"), dir.Path("")}, &out, &err), 2);
  EXPECT_EQ(Maclist({"status", list}, &out, &err), 2);
  EXPECT_EQ(Maclist({"status", list, dir.Path(""), "--html"}, &out, &err), 2);
}

}  // namespace
