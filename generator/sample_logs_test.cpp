// The sample logs in tests/data/logs, shaped like the servers' own files, imported whole.
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

std::vector<std::string> ImportSample(const std::string& name, LogFormat format) {
  PortableCodePageApi codePage;
  ListModel model;
  ImportLogBytes(ReadSample(name), format, model, SystemCollationApi(), codePage);
  std::vector<std::string> rows;
  for (const ListRow& row : model.rows) {
    EXPECT_TRUE(row.cells[kColumnIp].empty() && row.cells[kColumnComputerName].empty());
    rows.push_back(row.cells[kColumnSequence] + " " + row.cells[kColumnMac]);
  }
  return rows;
}

TEST(SampleLogs, ImportGivesOneRowPerMachineInTheOrderSeen) {
  // Windows DHCP Server lease list from a Chinese system, with its Unicode and
  // comma-delimited exports: the same rows.
  const std::vector<std::string> chinese = {
      "001 000C293A2009", "002 000C293A2002", "003 000C293A2001", "004 000C293A2007",
      "005 000C293A2005", "006 000C293A2003", "007 000C293A2006", "008 000C293A2004",
      "009 000C293A2008"};
  struct Case {
    const char* file;
    LogFormat format;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      // From 30 December to 2 January: the machines first seen in January come first; a
      // machine keeps the time of its first entry; inform and decline lines count, lines
      // without a MAC do not.
      {"tftpd32_dec_jan.log", LogFormat::Tftpd32,
       {"001 000C293A1006", "002 000C293A1007", "003 000C293A1008", "004 000C293A1009",
        "005 000C293A100A", "006 000C293A100B", "007 000C293A100C", "008 000C293A1001",
        "009 000C293A1002", "010 000C293A1003", "011 000C293A1004", "012 000C293A1005"}},
      {"windows_dhcp_zh.txt", LogFormat::WindowsDhcpServer, chinese},
      {"windows_dhcp_zh_unicode.txt", LogFormat::WindowsDhcpServer, chinese},
      {"windows_dhcp_zh_comma.csv", LogFormat::WindowsDhcpServer, chinese},
      // United States dates do not read by the pattern: rows in list order, one per machine.
      {"windows_dhcp_en.txt", LogFormat::WindowsDhcpServer,
       {"001 00155D010A31", "002 00155D010A32", "003 00155D010A33"}},
      // Each file read with the other format's rule gives nothing.
      {"tftpd32_dec_jan.log", LogFormat::WindowsDhcpServer, {}},
      {"windows_dhcp_zh.txt", LogFormat::Tftpd32, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ImportSample(c.file, c.format), c.rows) << c.file;
}

}  // namespace
