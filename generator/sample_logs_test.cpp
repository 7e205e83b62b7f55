// The sample logs in tests/data/logs, written like each server's own files, imported whole:
// one table per reader.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "generator/log_import.h"
#include "platform/portable/portable_code_page.h"

namespace {

std::string ReadSample(const std::string& name) {
  std::string here = __FILE__;
  std::string path = here.substr(0, here.find_last_of("/\\")) + "/../tests/data/logs/" + name;
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in.good()) << "cannot open " << path;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The rows as "sequence MAC"; the lines whose MAC text is no MAC address into *leftOut.
std::vector<std::string> ImportSample(const std::string& name, LogFormat format,
                                      std::vector<size_t>* leftOut = nullptr) {
  PortableCodePageApi codePage;
  ListModel model;
  ImportReport report;
  ImportLogBytes(ReadSample(name), format, model, SystemCollationApi(), codePage, &report);
  for (const LeftOutLine& left : report.leftOut) {
    if (leftOut) leftOut->push_back(left.line);
  }
  std::vector<std::string> rows;
  for (const ListRow& row : model.rows) {
    EXPECT_TRUE(row.cells[kColumnIp].empty() && row.cells[kColumnComputerName].empty());
    rows.push_back(row.cells[kColumnSequence] + " " + row.cells[kColumnMac]);
  }
  return rows;
}

struct SampleCase {
  const char* file;
  LogFormat format;
  std::vector<std::string> rows;
};

void ExpectSampleRows(const std::vector<SampleCase>& cases) {
  for (const SampleCase& c : cases) {
    EXPECT_EQ(ImportSample(c.file, c.format), c.rows) << c.file << " as " << LogFormatName(c.format);
  }
}

// The samples' lines whose MAC text is no MAC address, as the import names them.
std::vector<size_t> LeftOutLines(const std::string& name, LogFormat format) {
  std::vector<size_t> lines;
  ImportSample(name, format, &lines);
  return lines;
}

TEST(SampleLogs, Tftpd32) {
  // From 30 December to 2 January: the machines first seen in January come first; a machine
  // keeps the time of its first entry; inform and decline lines count, lines without a MAC do
  // not. A file of another server, with TFTPD32 chosen, is read by its own reader.
  ExpectSampleRows({
      {"tftpd32_dec_jan.log", LogFormat::Tftpd32,
       {"001 000C293A1006", "002 000C293A1007", "003 000C293A1008", "004 000C293A1009",
        "005 000C293A100A", "006 000C293A100B", "007 000C293A100C", "008 000C293A1001",
        "009 000C293A1002", "010 000C293A1003", "011 000C293A1004", "012 000C293A1005"}},
      {"windows_dhcp_en_gb.txt", LogFormat::Tftpd32,
       {"001 00155D020B03", "002 00155D020B02", "003 00155D020B01", "004 00155D020B04"}},
  });
}

TEST(SampleLogs, WindowsConsoleExports) {
  // A Chinese system's list as tab, Unicode and comma exports: the same rows.
  const std::vector<std::string> chinese = {
      "001 000C293A2009", "002 000C293A2002", "003 000C293A2001", "004 000C293A2007",
      "005 000C293A2005", "006 000C293A2003", "007 000C293A2006", "008 000C293A2004",
      "009 000C293A2008"};
  ExpectSampleRows({
      {"windows_dhcp_zh.txt", LogFormat::WindowsDhcpServer, chinese},
      {"windows_dhcp_zh_unicode.txt", LogFormat::WindowsDhcpServer, chinese},
      {"windows_dhcp_zh_comma.csv", LogFormat::WindowsDhcpServer, chinese},
      {"windows_dhcp_zh.txt", LogFormat::Tftpd32, chinese},
      // United States dates with AM and PM; the reservation after the leases.
      {"windows_dhcp_en.txt", LogFormat::WindowsDhcpServer,
       {"001 00155D010A32", "002 00155D010A31", "003 00155D010A33"}},
      // British dates: 13/11/2026 shows that 5/12/2026 is the 5th of December.
      {"windows_dhcp_en_gb.txt", LogFormat::WindowsDhcpServer,
       {"001 00155D020B03", "002 00155D020B02", "003 00155D020B01", "004 00155D020B04"}},
      // Windows Server 2008 in Chinese, comma-separated: 上午/下午 times (上午 12:30 is just after
      // midnight), hyphenated IDs, a type-1 client ID; "[x]", "a=b" and an empty ID give no row.
      {"windows_dhcp_zh_2008.csv", LogFormat::WindowsDhcpServer,
       {"001 000C293A4005", "002 000C293A4001", "003 000C293A4007", "004 000C293A4002",
        "005 000C293A4003", "006 000C293A4004", "007 000C293A4006"}},
  });
  EXPECT_EQ(LeftOutLines("windows_dhcp_zh_2008.csv", LogFormat::WindowsDhcpServer),
            std::vector<size_t>({9, 10}));
}

TEST(SampleLogs, PowerShellExports) {
  // The other scope's machine expires first; the reservation has no expiry and comes last; the
  // machine seen again in the other scope keeps its first lease. UTF-8 with BOM and UTF-16LE
  // give the same rows, with either window choice.
  const std::vector<std::string> rows = {"001 F48C50AABB07", "002 00155D4A3001", "003 00155D4A3002",
                                         "004 00155D4A3004", "005 00155D4A3005", "006 00155D4A3003"};
  ExpectSampleRows({
      {"powershell_leases_utf8.csv", LogFormat::PowerShell, rows},
      {"powershell_leases_unicode.csv", LogFormat::PowerShell, rows},
      {"powershell_leases_utf8.csv", LogFormat::Tftpd32, rows},
      {"powershell_leases_unicode.csv", LogFormat::WindowsDhcpServer, rows},
      {"powershell_header_only.csv", LogFormat::Auto, {}},
  });
}

TEST(SampleLogs, Kea) {
  // Ordered by expire - valid_lifetime; the renewal and the release of a machine come after its
  // first line; a declined lease has no hardware address.
  const std::vector<std::string> rows = {"001 000C296A3001", "002 000C296A3002", "003 F48C50AABB01",
                                         "004 000C296A3003", "005 000C296A3005"};
  ExpectSampleRows({
      {"kea-leases4.csv", LogFormat::Kea, rows},
      {"kea-leases4.csv", LogFormat::Tftpd32, rows},
      {"kea_header_only.csv", LogFormat::Auto, {}},
  });
}

TEST(SampleLogs, Dnsmasq) {
  // Ordered by expiry: the guest network's one-hour lease first, the rebooted PC02 after the
  // rest, the lease that never ends last; PC04's PXE lease is its second line; the IPv6 leases
  // after the duid line carry no MAC.
  const std::vector<std::string> rows = {
      "001 A4504612ABCD", "002 000C295D3001", "003 000C295D3003", "004 000C295D3004",
      "005 000C295D3005", "006 000C295D3006", "007 000C295D3002", "008 001BA9112233"};
  ExpectSampleRows({
      {"dnsmasq.leases", LogFormat::Dnsmasq, rows},
      {"dnsmasq.leases", LogFormat::Tftpd32, rows},
      {"dnsmasq.leases", LogFormat::Auto, rows},
  });
  EXPECT_EQ(LeftOutLines("dnsmasq.leases", LogFormat::Dnsmasq), std::vector<size_t>());
}

TEST(SampleLogs, IscDhcpd) {
  // Ordered by each machine's first "starts"; the renewal and the release blocks come later;
  // the failover state, the lease without hardware and the host declaration give no row; a uid
  // holding ";" or "{" does not end its statement; PC05 and PC06 started in the same second and
  // keep file order.
  const std::vector<std::string> rows = {"001 000C293B3001", "002 000C297B3002", "003 3C22FB010203",
                                         "004 000C295D3003", "005 000C295D3004", "006 000C295D3005",
                                         "007 000C295D3000"};
  ExpectSampleRows({
      {"dhcpd.leases", LogFormat::IscDhcpd, rows},
      {"dhcpd.leases", LogFormat::WindowsDhcpServer, rows},
      {"dhcpd_header_only.leases", LogFormat::Auto, {}},
  });
}

TEST(SampleLogs, PlainList) {
  // Every spelling, a column of a switch's address table; a repeat, a typo and a heading give
  // no row, and the last two are named.
  const std::vector<std::string> rows = {"001 000C297E5001", "002 000C297E5002", "003 000C297E5003",
                                         "004 000C297E5004", "005 000C297E5005"};
  ExpectSampleRows({
      {"plain_macs.txt", LogFormat::PlainList, rows},
      {"plain_macs.txt", LogFormat::Tftpd32, rows},
  });
  EXPECT_EQ(LeftOutLines("plain_macs.txt", LogFormat::PlainList), std::vector<size_t>({9, 10}));
}

// The servers' own logs from a run of the real servers (dnsmasq's log file, dhcpd's standard
// error, Kea's log file): four PCs took their first leases in the order pc0 to pc3, with
// renewals, a release and a restart in between. Offers, the listener's own MAC, client
// identifiers and renewals give no place of their own.
TEST(SampleLogs, ServerLogsOfARealRun) {
  const std::vector<std::string> rows = {"001 02000A4D0033", "002 02000A4D0011", "003 02000A4D0044",
                                         "004 02000A4D0022"};
  ExpectSampleRows({
      {"dnsmasq_dhcp.log", LogFormat::DnsmasqLog, rows},
      {"dnsmasq_dhcp.log", LogFormat::Tftpd32, rows},
      {"dhcpd_stderr.log", LogFormat::IscDhcpdLog, rows},
      {"dhcpd_stderr.log", LogFormat::Auto, rows},
      {"kea-dhcp4.log", LogFormat::KeaLog, rows},
      {"kea-dhcp4.log", LogFormat::WindowsDhcpServer, rows},
  });
}

// The same servers' lines as syslog, journalctl and rsyslog write them, among other programs'.
TEST(SampleLogs, ServerLogLinePrefixes) {
  const struct {
    const char* what;
    LogFormat format;
    std::string text;
    std::vector<std::string> rows;
  } cases[] = {
      {"4 KB of NULs cut the third line (an unclean shutdown): read on", LogFormat::DnsmasqLog,
       "Dec  9 05:28:01 lab dnsmasq-dhcp[812]: DHCPACK(br0) 10.77.0.101 02:00:0a:4d:00:01\n"
       "Dec  9 05:28:02 lab dnsmasq-dhcp[812]: DHCPACK(br0) 10.77.0.102 02:00:0a:4d:00:02\n"
       "Dec  9 05:28:03 lab dnsmasq-dhcp[812]: DHCPACK(br0) 10.77.0" + std::string(4096, '\0') +
           "Dec  9 05:29:04 lab dnsmasq-dhcp[812]: DHCPACK(br0) 10.77.0.104 02:00:0a:4d:00:04\n"
           "Dec  9 05:29:05 lab dnsmasq-dhcp[812]: DHCPACK(br0) 10.77.0.105 02:00:0a:4d:00:05\n",
       {"001 02000A4D0001", "002 02000A4D0002", "003 02000A4D0004", "004 02000A4D0005"}},
      {"NULs in ISC dhcpd's log", LogFormat::IscDhcpdLog,
       std::string(100, '\0') + "Dec  9 05:28:03 lab dhcpd[977]: DHCPACK on 10.77.0.101 to "
       "02:00:0a:4d:00:11 (pc1) via br0\n",
       {"001 02000A4D0011"}},
      {"rotated logs newest first: the month back is the file before", LogFormat::DnsmasqLog,
       "Dec  2 08:00:00 lab dnsmasq-dhcp[812]: DHCPACK(br0) 10.77.0.103 02:00:0a:4d:00:03\n"
       "Dec  9 08:00:00 lab dnsmasq-dhcp[812]: DHCPACK(br0) 10.77.0.104 02:00:0a:4d:00:04\n"
       "Nov  3 08:00:00 lab dnsmasq-dhcp[812]: DHCPACK(br0) 10.77.0.101 02:00:0a:4d:00:01\n"
       "Nov 29 08:00:00 lab dnsmasq-dhcp[812]: DHCPACK(br0) 10.77.0.102 02:00:0a:4d:00:02\n",
       {"001 02000A4D0001", "002 02000A4D0002", "003 02000A4D0003", "004 02000A4D0004"}},
      {"rotated logs newest first over the new year", LogFormat::DnsmasqLog,
       "Jan  2 08:00:00 lab dnsmasq-dhcp[812]: DHCPACK(br0) 10.77.0.103 02:00:0a:4d:00:03\n"
       "Dec 30 08:00:00 lab dnsmasq-dhcp[812]: DHCPACK(br0) 10.77.0.101 02:00:0a:4d:00:01\n"
       "Jan  1 08:00:00 lab dnsmasq-dhcp[812]: DHCPACK(br0) 10.77.0.102 02:00:0a:4d:00:02\n",
       {"001 02000A4D0001", "002 02000A4D0002", "003 02000A4D0003"}},
      {"months without a lease in one file: forward, and back by more than two months is "
       "the next year", LogFormat::DnsmasqLog,
       "Jan  5 08:00:00 lab dnsmasq-dhcp[812]: DHCPACK(br0) 10.77.0.101 02:00:0a:4d:00:01\n"
       "Sep  1 08:00:00 lab dnsmasq-dhcp[812]: DHCPACK(br0) 10.77.0.102 02:00:0a:4d:00:02\n"
       "Mar  1 08:00:00 lab dnsmasq-dhcp[812]: DHCPACK(br0) 10.77.0.103 02:00:0a:4d:00:03\n",
       {"001 02000A4D0001", "002 02000A4D0002", "003 02000A4D0003"}},
      {"syslog over the new year, a test line of another program", LogFormat::DnsmasqLog,
       "Dec 31 23:59:58 lab dnsmasq-dhcp[812]: DHCPACK(br0) 10.77.0.117 02:00:0a:4d:00:11 pc1\n"
       "Dec 31 23:59:59 lab root: DHCPACK(br0) 10.77.0.9 02:00:0a:4d:00:99 test\n"
       "Jan  1 00:00:03 lab dnsmasq-dhcp[812]: DHCPACK(br0) 10.77.0.100 02:00:0a:4d:00:33 pc0\n",
       {"001 02000A4D0011", "002 02000A4D0033"}},
      {"journalctl -o short-iso, offsets turned into UTC; an INFORM's answer",
       LogFormat::IscDhcpdLog,
       "2026-12-09T06:28:02+0100 lab dhcpd[977]: DHCPACK on 10.77.0.101 to 02:00:0a:4d:00:11 (pc1) via br0\n"
       "2026-12-09T05:28:01+0000 lab dhcpd[977]: DHCPACK on 10.77.0.100 to 02:00:0a:4d:00:33 (pc0) via br0\n"
       "2026-12-09T05:28:03+0000 lab dhcpd[977]: Listening on LPF/br0/0a:66:45:ac:c1:11/10.77.0.0/24\n"
       "2026-12-09T05:28:04+0000 lab dhcpd[977]: DHCPACK to 10.77.0.50 (02:00:0a:4d:00:55) via br0\n",
       {"001 02000A4D0033", "002 02000A4D0011"}},
      {"rsyslog's high-precision stamps", LogFormat::IscDhcpdLog,
       "2026-12-09T05:28:03.000001+00:00 lab dhcpd[977]: DHCPACK on 10.77.0.101 to 02:00:0a:4d:00:11 (pc1) via br0\n"
       "2026-12-09T05:28:02.123456+00:00 lab dhcpd[977]: DHCPACK on 10.77.0.100 to 02:00:0a:4d:00:33 (pc0) via br0\n",
       {"001 02000A4D0033", "002 02000A4D0011"}},
      {"Kea through syslog, without a pid; the client identifier", LogFormat::KeaLog,
       "Dec  9 05:28:02 lab kea-dhcp4: INFO  [kea-dhcp4.leases.140289434063360] DHCP4_LEASE_ALLOC "
       "[hwtype=1 02:00:0a:4d:00:44], cid=[01:02:00:0a:4d:00:11], tid=0x67c6f376: lease 10.77.0.102 "
       "has been allocated for 120 seconds\n"
       "Dec  9 05:28:03 lab kea-dhcp6: INFO  [kea-dhcp6.leases.140289434063360] DHCP4_LEASE_ALLOC "
       "[hwtype=1 02:00:0a:4d:00:99], cid=[no info], tid=0x1: lease 10.77.0.9 has been allocated\n",
       {"001 02000A4D0044"}},
  };
  PortableCodePageApi codePage;
  for (const auto& c : cases) {
    ListModel model;
    ImportLogBytes(c.text, c.format, model, SystemCollationApi(), codePage, nullptr,
                   OtherReaders::Skip);
    std::vector<std::string> rows;
    for (const ListRow& row : model.rows) {
      rows.push_back(row.cells[kColumnSequence] + " " + row.cells[kColumnMac]);
    }
    EXPECT_EQ(rows, c.rows) << c.what;
  }
}

// The lease files the same runs left: dnsmasq's holds each lease's end (pc1 renewed after the
// restart, pc0 released is gone), dhcpd's rewritten file keeps the released lease as free. They
// are read, and the import says they keep no order of first lease.
TEST(SampleLogs, LeaseFilesOfARealRun) {
  ExpectSampleRows({
      {"dnsmasq_renewed.leases", LogFormat::Dnsmasq,
       {"001 02000A4D0011", "002 02000A4D0022", "003 02000A4D0044"}},
      {"dhcpd_restarted.leases", LogFormat::IscDhcpd,
       {"001 02000A4D0033", "002 02000A4D0011", "003 02000A4D0044", "004 02000A4D0022"}},
  });
  // Kea's cleanup left the older rows in leases4.csv.2: the main file alone misses pc1; both
  // together hold every machine that still has a lease, at its earliest row.
  PortableCodePageApi codePage;
  ListModel kea;
  std::string both = ReadSample("kea_cleaned-leases4.csv.2");
  AppendLogFile(&both, ReadSample("kea_cleaned-leases4.csv"));
  ImportLogBytes(both, LogFormat::Kea, kea, SystemCollationApi(), codePage);
  ASSERT_EQ(kea.rows.size(), 3u);
  EXPECT_EQ(kea.rows[0].cells[kColumnMac], "02000A4D0044");
  EXPECT_EQ(kea.rows[1].cells[kColumnMac], "02000A4D0011");
  EXPECT_EQ(kea.rows[2].cells[kColumnMac], "02000A4D0022");
  EXPECT_EQ(ImportSample("kea_cleaned-leases4.csv", LogFormat::Kea).size(), 2u);
  for (const char* file : {"dnsmasq_renewed.leases", "dhcpd_restarted.leases", "kea-leases4.csv",
                           "dnsmasq_dhcp.log", "windows_dhcp_en.txt"}) {
    ListModel model;
    ImportReport report;
    ImportLogBytes(ReadSample(file), LogFormat::Auto, model, SystemCollationApi(), codePage,
                   &report);
    const std::string name = file;
    EXPECT_EQ(KeepsOnlyLatestLeases(report.reader),
              name.find(".leases") != std::string::npos || name.find(".csv") != std::string::npos)
        << file;
  }
}

// dnsmasq with leases that never end writes the newest first: the last line is the first lease.
TEST(SampleLogs, DnsmasqLeasesThatNeverEndAreReadNewestFirst) {
  PortableCodePageApi codePage;
  ListModel model;
  ImportLogBytes("0 02:00:0a:4d:00:44 10.77.0.118 pc2 *\n"
                 "0 02:00:0a:4d:00:11 10.77.0.117 pc1 *\n"
                 "1796824270 02:00:0a:4d:00:22 10.77.0.134 pc3 *\n"
                 "0 02:00:0a:4d:00:33 10.77.0.100 pc0 *\n",
                 LogFormat::Dnsmasq, model, SystemCollationApi(), codePage);
  ASSERT_EQ(model.rows.size(), 4u);
  EXPECT_EQ(model.rows[0].cells[kColumnMac], "02000A4D0022");
  EXPECT_EQ(model.rows[1].cells[kColumnMac], "02000A4D0033");
  EXPECT_EQ(model.rows[2].cells[kColumnMac], "02000A4D0011");
  EXPECT_EQ(model.rows[3].cells[kColumnMac], "02000A4D0044");
}

TEST(SampleLogs, ANamedReaderAloneReadsOnlyItsOwnFormat) {
  PortableCodePageApi codePage;
  for (const char* file : {"dnsmasq.leases", "dhcpd.leases", "kea-leases4.csv", "plain_macs.txt",
                           "powershell_leases_utf8.csv", "tftpd32_dec_jan.log", "dnsmasq_dhcp.log",
                           "dhcpd_stderr.log", "kea-dhcp4.log"}) {
    for (LogFormat format : {LogFormat::Tftpd32, LogFormat::WindowsDhcpServer, LogFormat::PowerShell,
                             LogFormat::Kea, LogFormat::Dnsmasq, LogFormat::IscDhcpd,
                             LogFormat::DnsmasqLog, LogFormat::IscDhcpdLog, LogFormat::KeaLog}) {
      ListModel model;
      ImportReport report;
      const bool rows = ImportLogBytes(ReadSample(file), format, model, SystemCollationApi(),
                                       codePage, &report, OtherReaders::Skip);
      ListModel automatic;
      ImportReport found;
      ImportLogBytes(ReadSample(file), LogFormat::Auto, automatic, SystemCollationApi(), codePage,
                     &found);
      EXPECT_EQ(rows, format == found.reader) << file << " as " << LogFormatName(format);
    }
  }
}

}  // namespace
