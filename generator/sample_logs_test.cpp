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

TEST(SampleLogs, ANamedReaderAloneReadsOnlyItsOwnFormat) {
  PortableCodePageApi codePage;
  for (const char* file : {"dnsmasq.leases", "dhcpd.leases", "kea-leases4.csv", "plain_macs.txt",
                           "powershell_leases_utf8.csv", "tftpd32_dec_jan.log"}) {
    for (LogFormat format : {LogFormat::Tftpd32, LogFormat::WindowsDhcpServer, LogFormat::PowerShell,
                             LogFormat::Kea, LogFormat::Dnsmasq, LogFormat::IscDhcpd}) {
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
