// maclist generate: the bytes Brevane's save writes for sample logs, and bad input refused with
// a message, a non-zero exit and no file left behind.
#include "tools/maclist/generate_command.h"

#include <gtest/gtest.h>

#include "tools/maclist/maclist_commands.h"
#include "tools/maclist/test_files.h"

namespace {

const char kTftpdLog[] =
    "Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:e0:fd:3a:1b:01 [12/10 14:03:27.593]\r\n"
    "DHCP: proposed address 192.168.0.1\r\n"
    "Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:E0:FD:3A:1B:02 [12/10 14:03:29.015]\r\n"
    "Rcvd DHCP Rqst Msg for IP 192.168.0.1, Mac 00:e0:fd:3a:1b:01 [12/10 14:03:30.100]\r\n";

const char kLeaseList[] =
    "IP Address\tName\tLease Expiration\tType\tUnique ID\tDescription\r\n"
    "192.168.0.10\tPC-01\t2007-5-20 9:05:00\tDHCP\t000b294e573a\t\r\n"
    "192.168.0.11\tPC-02\t2007-5-20 9:04:00\tDHCP\t000b29112233\t\r\n";

int Maclist(const std::vector<std::string>& arguments, std::string* out, std::string* err) {
  return RunMaclist(arguments, SystemProfileApi(), out, err);
}

TEST(Generate, WritesTheBytesOfBrevanesSave) {
  const struct {
    const char* what;
    const char* log;
    std::vector<std::string> options;
    std::string expected;
  } cases[] = {
      {"the worked example: gateway, DHCP DNS, workgroup", kTftpdLog,
       {"--gateway", "192.168.0.254", "--dns1", "DHCP", "--workgroup", "WORKGROUP"},
       "[Config]\r\nGateway=192.168.0.254\r\nGwmetric=0\r\nMask=255.255.255.0\r\nDNS1=DHCP\r\n"
       "DNS2=\r\nWorkGroup=WORKGROUP\r\n[list]\r\n00E0FD3A1B01=192.168.0.1,COMPUTER001\r\n"
       "00E0FD3A1B02=192.168.0.2,COMPUTER002\r\n"},
      {"every default: no membership line", kTftpdLog, {},
       "[Config]\r\nGateway=\r\nGwmetric=0\r\nMask=255.255.255.0\r\nDNS1=\r\nDNS2=\r\n[list]\r\n"
       "00E0FD3A1B01=192.168.0.1,COMPUTER001\r\n00E0FD3A1B02=192.168.0.2,COMPUTER002\r\n"},
      // The name parts come as UTF-8 (机房-, -甲), as a Linux shell passes them.
      {"lease list by its format, domain, UTF-8 name parts written in GBK", kLeaseList,
       {"--format", "windows", "--prefix", "\xE6\x9C\xBA\xE6\x88\xBF-", "--suffix", "-\xE7\x94\xB2", "--first", "9", "--digits",
        "2", "--ip", "10.1.2.250", "--mask", "255.255.0.0", "--gateway", "10.1.0.254", "--metric",
        "2", "--dns1", "10.1.0.53", "--dns2", "10.1.0.54", "--domain", "corp.example", "--user",
        "joiner", "--password", "p@ss word"},
       "[Config]\r\nGateway=10.1.0.254\r\nGwmetric=2\r\nMask=255.255.0.0\r\nDNS1=10.1.0.53\r\n"
       "DNS2=10.1.0.54\r\nDomain=corp.example\r\nUsername=joiner\r\npassword=p@ss word\r\n"
       "[list]\r\n000B29112233=10.1.2.250,\xBB\xFA\xB7\xBF-09-\xBC\xD7\r\n"
       "000B294E573A=10.1.2.251,\xBB\xFA\xB7\xBF-10-\xBC\xD7\r\n"},
      {"reports to the list's server: one line after the membership", kTftpdLog,
       {"--workgroup", "WG", "--report", "tftp"},
       "[Config]\r\nGateway=\r\nGwmetric=0\r\nMask=255.255.255.0\r\nDNS1=\r\nDNS2=\r\n"
       "WorkGroup=WG\r\nreport=tftp\r\n[list]\r\n00E0FD3A1B01=192.168.0.1,COMPUTER001\r\n"
       "00E0FD3A1B02=192.168.0.2,COMPUTER002\r\n"},
      {"lease list found without --format, DHCP for every row", kLeaseList,
       {"--ip", "dhcp", "--gateway", "none", "--first", "0", "--digits", "5"},
       "[Config]\r\nGateway=none\r\nGwmetric=0\r\nMask=255.255.255.0\r\nDNS1=\r\nDNS2=\r\n"
       "[list]\r\n000B29112233=DHCP,COMPUTER00000\r\n000B294E573A=DHCP,COMPUTER00001\r\n"},
  };
  for (const auto& c : cases) {
    ScratchDirectory dir;
    const std::string log = dir.WriteFile("dhcp.log", c.log);
    const std::string output = dir.Path("mac.ini");
    std::vector<std::string> arguments = {"generate", log};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    arguments.insert(arguments.end(), {"-o", output});
    std::string out, err;
    EXPECT_EQ(Maclist(arguments, &out, &err), 0) << c.what << ": " << err;
    const std::string written = ReadFileBytes(output);
    EXPECT_EQ(written, c.expected) << c.what << "\n  written:  " << HexBytes(written)
                                   << "\n  expected: " << HexBytes(c.expected);
    EXPECT_EQ(dir.EntryCount(), 2u) << c.what << ": only the log and mac.ini remain";

    // The same bytes on standard output, and no file.
    arguments.back() = "-";
    std::string bytes;
    err.clear();
    EXPECT_EQ(Maclist(arguments, &bytes, &err), 0) << c.what << ": " << err;
    EXPECT_EQ(bytes, c.expected) << c.what << " on standard output";
  }
}

TEST(Generate, RefusesBadInputAndLeavesNoFile) {
  const struct {
    const char* what;
    const char* log;  // nullptr: the log file does not exist
    std::vector<std::string> options;
    const char* message;
  } cases[] = {
      {"missing log", nullptr, {}, "cannot read the log file"},
      {"log of no known format", "hello\r\nworld\r\n", {}, "unknown log format"},
      {"log without a machine in the named format", kLeaseList, {"--format", "tftpd32"},
       "no machine found"},
      {"unknown format name", kTftpdLog, {"--format", "dhcpd"}, "--format must be auto, tftpd32"},
      {"dnsmasq leases named but a lease list given", kLeaseList, {"--format", "dnsmasq"},
       "no machine found"},
      {"first number above 1000", kTftpdLog, {"--first", "1001"}, "--first must be a number from 0 to 1000"},
      {"first number with letters", kTftpdLog, {"--first", "1a"}, "--first must be a number"},
      {"no digits", kTftpdLog, {"--digits", "0"}, "--digits must be a number from 1 to 5"},
      {"six digits", kTftpdLog, {"--digits", "6"}, "--digits must be a number from 1 to 5"},
      {"metric above 9999", kTftpdLog, {"--metric", "10000"}, "--metric must be a number from 0 to 9999"},
      {"negative metric", kTftpdLog, {"--metric", "-1"}, "--metric must be a number"},
      {"address number above 255", kTftpdLog, {"--ip", "192.168.0.300"}, "--ip must be DHCP or a dotted"},
      {"empty start address", kTftpdLog, {"--ip", ""}, "--ip must be DHCP or a dotted"},
      {"addresses would pass 255", kTftpdLog, {"--ip", "192.168.0.255"}, "past 255"},
      {"mask with a hole", kTftpdLog, {"--mask", "255.0.255.0"}, "--mask must be a subnet mask"},
      {"gateway that is text", kTftpdLog, {"--gateway", "router"}, "--gateway must be"},
      {"DNS that is text", kTftpdLog, {"--dns2", "dns.example"}, "--dns2 must be"},
      {"report to a host name", kTftpdLog, {"--report", "tftp.example"}, "--report must be tftp"},
      {"missing value", kTftpdLog, {"--prefix"}, "option --prefix needs a value"},
      {"workgroup and domain", kTftpdLog, {"--workgroup", "W", "--domain", "D", "--user", "U"},
       "exclude each other"},
      {"domain without user", kTftpdLog, {"--domain", "corp.example"}, "--domain needs --user"},
      {"user without domain", kTftpdLog, {"--user", "joiner"}, "belong to --domain"},
      {"unknown option", kTftpdLog, {"--colour", "red"}, "unknown option --colour"},
      {"second log missing", kTftpdLog, {"other.log"}, "cannot read the log file other.log"},
      {"prefix GBK cannot write", kTftpdLog, {"--prefix", "\xF0\x9F\x98\x80"}, "cannot be written in GBK"},
  };
  for (const auto& c : cases) {
    ScratchDirectory dir;
    const std::string log = c.log ? dir.WriteFile("dhcp.log", c.log) : dir.Path("dhcp.log");
    const std::string older = "[Config]\r\nGateway=1.2.3.4\r\n";
    const std::string output = dir.WriteFile("mac.ini", older);
    std::vector<std::string> arguments = {"generate", log, "-o", output};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    std::string out, err;
    EXPECT_EQ(Maclist(arguments, &out, &err), 2) << c.what;
    EXPECT_NE(err.find(c.message), std::string::npos) << c.what << ": " << err;
    EXPECT_TRUE(out.empty()) << c.what;
    EXPECT_EQ(ReadFileBytes(output), older) << c.what << ": the older list changed";
    EXPECT_EQ(dir.EntryCount(), c.log ? 2u : 1u) << c.what << ": a file was left behind";
  }
}

TEST(Generate, NamesLeftOutLinesAndCountsTheMachinesWritten) {
  // A lease list whose IDs are hyphenated, a type-1 client ID, and IDs that are no MAC address:
  // those lines are named on standard error and missing from the list.
  const char log[] =
      "IP Address\tName\tLease Expiration\tType\tUnique ID\r\n"
      "192.168.0.10\tPC-01\t2026/12/5 9:05:00\tDHCP\t00-0b-29-4e-57-3a\r\n"
      "192.168.0.11\tPC-02\t2026/12/5 9:06:00\tDHCP\t[x]\r\n"
      "192.168.0.12\tPC-03\t2026/12/5 9:07:00\tDHCP\ta=b\r\n"
      "192.168.0.13\tPC-04\t2026/12/5 9:08:00\tDHCP\t01-00-0b-29-11-22-33\r\n";
  ScratchDirectory dir;
  const std::string path = dir.WriteFile("dhcp.log", log);
  const std::string output = dir.Path("mac.ini");
  std::string out, err;
  ASSERT_EQ(Maclist({"generate", path, "-o", output, "--explain"}, &out, &err), 0) << err;
  EXPECT_EQ(ReadFileBytes(output),
            "[Config]\r\nGateway=\r\nGwmetric=0\r\nMask=255.255.255.0\r\nDNS1=\r\nDNS2=\r\n"
            "[list]\r\n000B294E573A=192.168.0.1,COMPUTER001\r\n"
            "000B29112233=192.168.0.2,COMPUTER002\r\n");
  EXPECT_EQ(err,
            "tried tftpd32 (TFTPD32 log): no machine\n"
            "tried dnsmasq-log (dnsmasq log, its DHCPACK lines): no machine\n"
            "tried isc-log (ISC dhcpd log, its DHCPACK lines): no machine\n"
            "tried kea-log (Kea log, its DHCP4_LEASE_ALLOC lines): no machine\n"
            "reader: windows (Windows DHCP Server lease list)\n"
            "  lines read:           5\n"
            "  entries found:        4 kept, 1 lines without an entry dropped\n"
            "  MAC addresses:        2 kept, 0 without a MAC dropped, 2 not a MAC address dropped\n"
            "  one row per machine:  2 kept, 0 repeats dropped\n" +
                path + ":3: \"[X]\" is no MAC address; line left out\n" + path +
                ":4: \"A=B\" is no MAC address; line left out\n"
                "wrote 2 machines to " + output + "\n");
}

TEST(Generate, ReadsEachServersFileByNameOrFindsItsReader) {
  const char dnsmasq[] =
      "1796673720 00:0c:29:5d:30:03 192.168.1.103 LAB-PC03 *\n"
      "1796673610 00:0c:29:5d:30:01 192.168.1.101 LAB-PC01 *\n";
  const std::string list =
      "[Config]\r\nGateway=\r\nGwmetric=0\r\nMask=255.255.255.0\r\nDNS1=\r\nDNS2=\r\n"
      "[list]\r\n000C295D3001=192.168.0.1,COMPUTER001\r\n000C295D3003=192.168.0.2,COMPUTER002\r\n";
  for (const char* format : {"dnsmasq", "auto", "DNSMASQ"}) {
    ScratchDirectory dir;
    const std::string path = dir.WriteFile("dnsmasq.leases", dnsmasq);
    std::string out, err;
    ASSERT_EQ(Maclist({"generate", path, "--format", format, "-o", "-"}, &out, &err), 0) << err;
    EXPECT_EQ(out, list) << format;
    // The lease file keeps no order of first lease, and says so.
    EXPECT_EQ(err, path + ": dnsmasq.leases keeps only when each lease ends; machines that renewed "
                          "have moved later. For the order in which the machines were switched "
                          "on, import the server's log. [lease-order]\n") << format;
  }
  // The same machines from dnsmasq's log, in the order of their first DHCPACK, without a warning;
  // the log may come in two parts (the rotated one, a month older, named second: the step back
  // is an earlier file, not a new year), and the offer names no lease.
  {
    ScratchDirectory dir;
    const std::string older = dir.WriteFile(
        "daemon.log.1",
        "Nov 30 05:28:01 lab dnsmasq-dhcp[812]: DHCPOFFER(br0) 192.168.1.103 00:0c:29:5d:30:03\n"
        "Nov 30 05:28:02 lab dnsmasq-dhcp[812]: DHCPACK(br0) 192.168.1.101 00:0c:29:5d:30:01 PC01\n");
    const std::string newer = dir.WriteFile(
        "daemon.log",
        "Dec  9 05:29:00 lab dnsmasq-dhcp[812]: DHCPACK(br0) 192.168.1.103 00:0c:29:5d:30:03\n");
    std::string out, err;
    ASSERT_EQ(Maclist({"generate", newer, older, "--format", "dnsmasq-log", "-o", "-"}, &out, &err),
              0) << err;
    EXPECT_EQ(out, list);
    EXPECT_EQ(err, "");
    out.clear();
    ASSERT_EQ(Maclist({"generate", newer, older, "--format", "dnsmasq-log", "-o", "-", "--explain"},
                      &out, &err), 0);
    EXPECT_NE(err.find("  order:                each machine at its earliest time stamp, the files "
                       "in any order; a syslog stamp has no year: each line takes the year that "
                       "puts it nearest the line before (a step back of up to two months is an "
                       "earlier file, a bigger one the next year); 1 steps back\n"),
              std::string::npos) << err;
  }
  ScratchDirectory dir;
  const std::string path = dir.WriteFile("dnsmasq.leases", dnsmasq);
  std::string out, err;
  EXPECT_EQ(Maclist({"generate", path, "--format", "isc", "-o", "-", "--explain"}, &out, &err), 2);
  EXPECT_NE(err.find("no machine found in " + path + " read as a ISC dhcpd.leases file"),
            std::string::npos) << err;
  EXPECT_NE(err.find("last reader tried: isc (ISC dhcpd.leases file)\n  lines read:           2\n"
                     "  entries found:        0 kept"),
            std::string::npos) << err;
}

TEST(Generate, UnwritableTargetLeavesNothing) {
  ScratchDirectory dir;
  const std::string log = dir.WriteFile("dhcp.log", kTftpdLog);
  std::string out, err;
  EXPECT_EQ(Maclist({"generate", log, "-o", dir.Path("missing/mac.ini")}, &out, &err), 2);
  EXPECT_NE(err.find("cannot write"), std::string::npos) << err;
  EXPECT_EQ(Maclist({"generate", log, "-o", dir.Path("")}, &out, &err), 2);
  EXPECT_EQ(dir.EntryCount(), 1u);
}

}  // namespace
