// DHCP log import: cutting lines, rule T, rule W and time keys, the whole import, UTF-16 and
// comma-delimited lease lists, and bad input.
#include "generator/log_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "common/text_rules.h"
#include "platform/portable/portable_code_page.h"
#include "platform/portable/portable_collation.h"

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;  // sequence cell, MAC cell

Rows RowsOf(const ListModel& model) {
  Rows rows;
  for (const ListRow& row : model.rows) rows.emplace_back(row.cells[0], row.cells[3]);
  return rows;
}

Rows Import(const std::string& bytes, LogFormat format) {
  PortableCodePageApi codePage;
  ListModel model;
  ImportLogBytes(bytes, format, model, SystemCollationApi(), codePage);
  return RowsOf(model);
}

std::string Utf16Le(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

TEST(CutLogLines, CutsAtCarriageReturns) {
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb", {"a", "b"}},
      {"a\nb\r\nc", {"a\nb", "c"}},  // a lone LF stays inside its line
      {"a\n\r", {"a\n"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\r\n\nb", {"a", "\nb"}},  // only one LF belongs to the line end
      {"\r\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {std::string("ab\0cd\r\nef", 9), {"ab"}},  // NUL ends the text
      {std::string("\0abc", 4), {}},
      {"\xB1\xBE\xB5\xD8\r\n\x81\x0D", {"\xB1\xBE\xB5\xD8", "\x81"}},  // bytes as they are
  };
  for (const Case& c : cases) EXPECT_EQ(CutLogLines(c.bytes), c.lines) << c.bytes;
}

TEST(RuleT, ReadsMacAndTimeKeyOfRcvdDhcpLines) {
  struct Case {
    const char* line;
    bool entry;
    const char* mac;
    const char* key;
  };
  const Case cases[] = {
      {"Rcvd DHCP Rqst Msg for IP 192.168.0.5, Mac 00:0b:29:4e:57:3a [12/10 14:03:27.593]", true,
       "000B294E573A", "1012140327593"},
      {"Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:B0:D0:A4:B4:BB [25/04 19:42:06.430]", true,
       "00B0D0A4B4BB", "0425194206430"},
      {"Rcvd DHCP inform Msg for IP 192.168.0.9, Mac 00:0c:29:aa:bb:cc [01/01 00:00:00.000]", true,
       "000C29AABBCC", "0101000000000"},
      // Without colons in the MAC the five removals reach the time, which loses the same colons.
      {"Rcvd DHCP Rqst Msg for IP 192.168.0.5, Mac 000b294e573a [12/10 14:03:27.593]", true,
       "000B294E573A", "1012140327593"},
      // Only colons are separators.
      {"Rcvd DHCP Rqst Msg, Mac 00-0b-29-4e-57-3a [12/10 14:03:27.593]", true,
       "00-0B-29-4E-57-3A", "1012140327593"},
      // Short and missing time parts give short keys.
      {"Rcvd DHCP Rqst Msg, Mac 00:0b:29:4e:57:3a [12/10]", true, "000B294E573A", "1012"},
      {"Rcvd DHCP Rqst Msg, Mac 00:0b:29:4e:57:3a [1]", true, "000B294E573A", "1"},
      {"Rcvd DHCP Rqst Msg, Mac 00:0b:29:4e:57:3a", true, "000B294E573A", ""},
      {"Rcvd DHCP Rqst Msg, Mac", true, "", ""},
      // No "Mac": the whole line is taken; its fifth character is a space, so the MAC is empty.
      {"Rcvd DHCP Discover Msg for IP 0.0.0.0 [12/10 14:03:27.593]", true, "",
       "P DHiscover Msg for IP 00.0.0 12/10 140327.593"},
      // The case of "Rcvd DHCP" and "Mac" matters.
      {"rcvd dhcp Rqst Msg, Mac 00:0b:29:4e:57:3a [12/10 14:03:27.593]", false, "", ""},
      {"Rcvd DHCP Rqst Msg, mac 00:0b:29:4e:57:3a [12/10 14:03:27.593]", true, "",
       "P DHqst Msg, mac 000b294e573a 12/10 140327593"},
      {"DHCP: proposed address 192.168.0.5 [12/10 14:03:27.593]", false, "", ""},
      {"Previously allocated address 192.168.0.5 acked [12/10 14:03:27.594]", false, "", ""},
      {"", false, "", ""},
  };
  for (const Case& c : cases) {
    LogEntry entry;
    ASSERT_EQ(ReadTftpdLine(c.line, &entry), c.entry) << c.line;
    if (!c.entry) continue;
    EXPECT_EQ(entry.mac, c.mac) << c.line;
    EXPECT_EQ(entry.timeKey, c.key) << c.line;
  }
}

TEST(RuleT, CollectsEntriesInLogOrder) {
  const std::vector<std::string> lines = {
      "Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:0b:29:4e:57:3a [12/10 14:03:27.593]",
      "DHCP: proposed address 192.168.0.5 [12/10 14:03:27.594]",
      "Rcvd DHCP Discover Msg for IP 0.0.0.0 [12/10 14:03:28.000]",
      "Rcvd DHCP Rqst Msg for IP 192.168.0.6, Mac 00:0b:29:11:22:33 [12/10 14:03:29.015]",
  };
  std::vector<LogEntry> entries = CollectTftpdEntries(lines);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].mac, "000B294E573A");
  EXPECT_EQ(entries[1].mac, "");
  EXPECT_EQ(entries[2].mac, "000B29112233");
  EXPECT_EQ(entries[2].timeKey, "1012140329015");
}

TEST(RuleW, TimeKeyOfLeaseExpiration) {
  struct Case {
    const char* text;
    const char* key;
  };
  const Case cases[] = {
      {"2007-5-20 9:05:00", "20070520090500"},
      {"2007-05-20 09:05:00", "20070520090500"},
      {"2026/12/5 9:05:00", "20261205090500"},  // Chinese systems from Windows 7 on
      {"2026/1/3 23:59:59", "20260103235959"},
      {"2007-5-20", "20070520000000"},  // missing parts count as zero
      {"2007-5-20 9:05", "20070520090500"},
      {"2007-5-20 9", "20070520090000"},
      {"2007-5-20 9:05:00 PM", "20070520090500"},
      {"2008-2-29 0:00:00", "20080229000000"},
      {"7-5-20 9:05:00", "00070520090500"},
      // Not a date: placed after all dates, in list order (the position is 7 here).
      {"Reservation (active)", "999999999999990000000007"},
      {"\xB1\xA3\xC1\xF4(\xBB\xEE\xB6\xAF)", "999999999999990000000007"},  // 保留(活动)
      {"", "999999999999990000000007"},
      {"2007-13-01 00:00:00", "999999999999990000000007"},
      {"2007-2-29 00:00:00", "999999999999990000000007"},
      {"2007-4-31", "999999999999990000000007"},
      {"2007-5-20 24:00:00", "999999999999990000000007"},
      {"2007-5-20 9:60:00", "999999999999990000000007"},
      {"2007-5", "999999999999990000000007"},
      {"0-5-20", "999999999999990000000007"},
      {" 2007-5-20 9:05:00", "999999999999990000000007"},
      {"12/5/2026 9:05:00 PM", "999999999999990000000007"},  // United States order
      {"20071-5-20", "999999999999990000000007"},
      {"2007-123-5", "999999999999990000000007"},
      {"2007-5-20 9:05:001", "999999999999990000000007"},
  };
  for (const Case& c : cases) EXPECT_EQ(LeaseTimeKey(c.text, 7), c.key) << c.text;
}

TEST(RuleW, CutsFieldsAtTabsAndSkipsTheHeading) {
  const std::vector<std::string> lines = {
      "Client IP Address\tName\tLease Expiration\tType\tUnique ID\tDescription",
      "192.168.0.10\tPC-01\t2007-5-20 9:05:00\tDHCP\t000b294e573a",
      "",
      "192.168.0.11\tPC-02\t2007-5-20 9:06:00\tDHCP",  // four fields: empty MAC text
      "192.168.0.12\t\t2007-5-21 10:00:00\tDHCP\t000b29112233\tlab\tFull Access\t",
      "192.168.0.13\tPC-04\tReservation (active)\tDHCP\t000b29aabbcc \t",
      "a,b,c,d,e",  // no tab: one field, unless commas are asked for
  };
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"000B294E573A", "20070520090500"},
      {"", "20070520090600"},
      {"000B29112233", "20070521100000"},
      {"000B29AABBCC ", "999999999999990000000003"},
      {"", "999999999999990000000004"},
  };
  std::vector<LogEntry> entries = CollectWindowsDhcpEntries(lines);
  ASSERT_EQ(entries.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(entries[i].mac, expected[i].first) << i;
    EXPECT_EQ(entries[i].timeKey, expected[i].second) << i;
  }
  std::vector<LogEntry> withCommas = CollectWindowsDhcpEntries(lines, true);
  ASSERT_EQ(withCommas.size(), expected.size());
  EXPECT_EQ(withCommas[4].mac, "E");
  EXPECT_EQ(withCommas[0].mac, "000B294E573A");  // lines with tabs are cut at tabs as before
  EXPECT_TRUE(CollectWindowsDhcpEntries({"Client IP Address\tName"}).empty());
  EXPECT_TRUE(CollectWindowsDhcpEntries({}).empty());
}

TEST(ImportLogBytes, WholeImports) {
  const std::string rqst = "Rcvd DHCP Rqst Msg for IP 192.168.0.5, ";
  struct Case {
    const char* name;
    LogFormat format;
    std::string bytes;
    Rows rows;
  };
  const Case cases[] = {
      {"three entries of two machines", LogFormat::Tftpd32,
       rqst + "Mac 00:0b:29:4e:57:3a [12/10 14:03:27.593]\r\n" + rqst +
           "Mac 00:0b:29:11:22:33 [12/10 14:03:29.015]\r\n" + rqst +
           "Mac 00:0b:29:4e:57:3a [12/10 14:03:30.100]\r\n",
       {{"001", "000B294E573A"}, {"002", "000B29112233"}}},
      {"the first entry of a machine gives its place", LogFormat::Tftpd32,
       rqst + "Mac 00:0b:29:11:22:33 [12/10 14:03:40.000]\r\n" + rqst +
           "Mac 00:0b:29:4e:57:3a [12/10 14:03:30.000]\r\n" + rqst +
           "Mac 00:0b:29:11:22:33 [12/10 14:03:20.000]\r\n",
       {{"001", "000B294E573A"}, {"002", "000B29112233"}}},
      {"MAC texts differing in case are one machine", LogFormat::Tftpd32,
       rqst + "Mac 00:0b:29:aa:bb:cc [12/10 14:03:27.593]\r\n" + rqst +
           "Mac 00:0B:29:AA:BB:CC [12/10 14:03:28.000]\r\n",
       {{"001", "000B29AABBCC"}}},
      {"January before December: the key has no year", LogFormat::Tftpd32,
       rqst + "Mac 00:0b:29:00:00:01 [31/12 23:59:59.999]\r\n" + rqst +
           "Mac 00:0b:29:00:00:02 [01/01 00:00:00.001]\r\n",
       {{"001", "000B29000002"}, {"002", "000B29000001"}}},
      {"equal keys keep MAC order", LogFormat::Tftpd32,
       rqst + "Mac 00:0b:29:00:00:0f [01/01 00:00:00.001]\r\n" + rqst +
           "Mac 00:0b:29:00:00:02 [01/01 00:00:00.001]\r\n",
       {{"001", "000B29000002"}, {"002", "000B2900000F"}}},
      {"no Rcvd DHCP line", LogFormat::Tftpd32,
       "DHCP: proposed address 192.168.0.5\r\nRcvd TFTP request\r\n", {}},
      {"Rcvd DHCP lines without Mac", LogFormat::Tftpd32,
       "Rcvd DHCP Discover Msg for IP 0.0.0.0 [12/10 14:03:27.593]\r\n", {}},
      {"lease list example", LogFormat::WindowsDhcpServer,
       "Client IP Address\tName\tLease Expiration\tType\tUnique ID\r\n"
       "192.168.0.10\tPC-01\t2007-5-20 9:05:00\tDHCP\t000b294e573a\r\n",
       {{"001", "000B294E573A"}}},
      {"lease list heading only", LogFormat::WindowsDhcpServer,
       "Client IP Address\tName\tLease Expiration\tType\tUnique ID\r\n", {}},
      {"a short line gives no row and the next lines theirs", LogFormat::WindowsDhcpServer,
       "heading\r\n192.168.0.9\tPC\t2007-5-20 9:00:00\r\n"
       "192.168.0.10\tPC-01\t2007-5-20 9:05:00\tDHCP\t000b294e573b\r\n"
       "192.168.0.11\tPC-02\t2007-5-20 9:04:00\tDHCP\t000b294e573c\r\n",
       {{"001", "000B294E573C"}, {"002", "000B294E573B"}}},
      {"reservations after the dated leases, in list order", LogFormat::WindowsDhcpServer,
       "heading\r\n192.168.0.10\t\tReservation (active)\tDHCP\t000b29000009\r\n"
       "192.168.0.11\t\tReservation (inactive)\tDHCP\t000b29000001\r\n"
       "192.168.0.12\t\t2026/12/5 9:05:00\tDHCP\t000b29000005\r\n",
       {{"001", "000B29000005"}, {"002", "000B29000009"}, {"003", "000B29000001"}}},
      {"the rule of the other format reads nothing", LogFormat::WindowsDhcpServer,
       rqst + "Mac 00:0b:29:4e:57:3a [12/10 14:03:27.593]\r\n" + rqst +
           "Mac 00:0b:29:11:22:33 [12/10 14:03:29.015]\r\n",
       {}},
      {"empty file", LogFormat::Tftpd32, "", {}},
      {"empty lease list", LogFormat::WindowsDhcpServer, "", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Import(c.bytes, c.format), c.rows) << c.name;
}

TEST(ImportLogBytes, ReplacesRowsAndLeavesTheDirectionAscending) {
  PortableCodePageApi codePage;
  ListModel model;
  model.direction = SortDirection::Descending;
  ListRow old;
  old.cells[0] = "001";
  old.cells[1] = "192.168.0.1";
  old.cells[2] = "COMPUTER001";
  old.cells[3] = "00E0FD3A1B01";
  model.rows = {old, old};
  const std::string log =
      "Rcvd DHCP Rqst Msg, Mac 00:0b:29:4e:57:3a [12/10 14:03:27.593]\r\n";
  EXPECT_TRUE(ImportLogBytes(log, LogFormat::Tftpd32, model, SystemCollationApi(), codePage));
  ASSERT_EQ(model.rows.size(), 1u);
  const std::string expected[4] = {"001", "", "", "000B294E573A"};
  for (int column = 0; column < 4; ++column) {
    EXPECT_EQ(model.rows[0].cells[column], expected[column]) << column;
  }
  EXPECT_EQ(model.direction, SortDirection::Ascending);

  model.direction = SortDirection::None;
  EXPECT_FALSE(ImportLogBytes("nothing\r\n", LogFormat::Tftpd32, model, SystemCollationApi(),
                              codePage));
  EXPECT_TRUE(model.rows.empty());
  EXPECT_EQ(model.direction, SortDirection::Ascending);
}

TEST(ImportLogBytes, SequenceTextsRunPastOneThousand) {
  std::string log;
  for (int i = 0; i < 1001; ++i) {
    // One machine per second from 10:00:00 on, numbered in the MAC in reverse, so that MAC
    // order and time order differ.
    int seconds = 36000 + i;
    log += "Rcvd DHCP Rqst Msg, Mac 00:0b:29:00:" + ZeroPad(2000 - i, 4).substr(0, 2) + ":" +
           ZeroPad(2000 - i, 4).substr(2) + " [05/06 " + ZeroPad(seconds / 3600, 2) + ":" +
           ZeroPad(seconds / 60 % 60, 2) + ":" + ZeroPad(seconds % 60, 2) + ".000]\r\n";
  }
  Rows rows = Import(log, LogFormat::Tftpd32);
  ASSERT_EQ(rows.size(), 1001u);
  EXPECT_EQ(rows[0], std::make_pair(std::string("001"), std::string("000B29002000")));
  EXPECT_EQ(rows[997].first, "998");
  EXPECT_EQ(rows[998].first, "999");
  EXPECT_EQ(rows[999].first, "1000");
  EXPECT_EQ(rows[1000], std::make_pair(std::string("1001"), std::string("000B29001000")));
}

// A lease list that the rule reads as it is, and the same list as the console's other exports.
const char kLeaseList[] =
    "Client IP Address\tName\tLease Expiration\tType\tUnique ID\tDescription\r\n"
    "192.168.0.10\tPC-01\t2026/12/5 9:05:00\tDHCP\t000b294e573a\t\r\n"
    "192.168.0.11\t\t2026/12/5 9:04:00\tDHCP\t000b29112233\t\r\n"
    "192.168.0.12\tPC-03\tReservation (active)\tDHCP\t000b29aabbcc\tprinter\r\n";
const Rows kLeaseRows = {
    {"001", "000B29112233"}, {"002", "000B294E573A"}, {"003", "000B29AABBCC"}};

TEST(ImportLogBytes, UnicodeAndCommaExportsGiveTheSameRows) {
  std::u16string wide;
  for (const char* p = kLeaseList; *p; ++p) wide.push_back(static_cast<char16_t>(*p));
  std::string comma = kLeaseList;
  std::replace(comma.begin(), comma.end(), '\t', ',');

  EXPECT_EQ(Import(kLeaseList, LogFormat::WindowsDhcpServer), kLeaseRows);
  EXPECT_EQ(Import(Utf16Le(wide), LogFormat::WindowsDhcpServer), kLeaseRows);
  EXPECT_EQ(Import(comma, LogFormat::WindowsDhcpServer), kLeaseRows);
  // Chinese names and an odd last byte change nothing.
  std::u16string chinese = wide;
  chinese.replace(chinese.find(u"PC-01"), 5, u"\u8d22\u52a1\u90e8");
  EXPECT_EQ(Import(Utf16Le(chinese) + "x", LogFormat::WindowsDhcpServer), kLeaseRows);
  // A TFTPD32 log saved as Unicode text.
  std::u16string tftpd =
      u"Rcvd DHCP Rqst Msg for IP 192.168.0.5, Mac 00:0b:29:4e:57:3a [12/10 14:03:27.593]\r\n";
  EXPECT_EQ(Import(Utf16Le(tftpd), LogFormat::Tftpd32), Rows({{"001", "000B294E573A"}}));
  // Comma cutting is for lease lists only.
  EXPECT_EQ(Import(comma, LogFormat::Tftpd32), Rows());
}

TEST(ImportLogBytes, FilesThatGiveRowsAsTheyAreAreNotReadAgain) {
  // Tab lines give rows, so comma lines stay without rows as before.
  std::string mixed = std::string(kLeaseList) + "192.168.0.13,PC,2026/12/1 9:00:00,DHCP,000b29000001\r\n";
  EXPECT_EQ(Import(mixed, LogFormat::WindowsDhcpServer), kLeaseRows);
  // An ANSI log after the bytes FF FE is read as ANSI when that gives rows.
  std::string marked = "\xFF\xFE\r\nRcvd DHCP Rqst Msg, Mac 00:0b:29:4e:57:3a [12/10 14:03:27.593]\r\n";
  EXPECT_EQ(Import(marked, LogFormat::Tftpd32), Rows({{"001", "000B294E573A"}}));
  // A UTF-16 text without the mark ends at its first NUL, as before.
  std::string unmarked = Utf16Le(u"heading\r\n1\t2\t2026/12/5 9:05:00\t4\t000b294e573a\r\n").substr(2);
  EXPECT_EQ(Import(unmarked, LogFormat::WindowsDhcpServer), Rows());
}

TEST(ImportLogBytes, LongLinesAndBinaryInput) {
  // A megabyte-long MAC text is still one machine's text.
  std::string hugeMac(1 << 20, 'A');
  std::string log = "Rcvd DHCP Rqst Msg, Mac " + hugeMac + " [12/10 14:03:27.593]\r\n" +
                    "Rcvd DHCP Rqst Msg, Mac " + hugeMac + " [12/10 14:03:28.000]\r\n";
  Rows rows = Import(log, LogFormat::Tftpd32);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].second.size(), hugeMac.size());
  // A megabyte of colons and brackets after "Mac ".
  std::string colons = "Rcvd DHCP Mac " + std::string(1 << 20, ':') + "[]" + "\r\n";
  rows = Import(colons, LogFormat::Tftpd32);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].second.size(), (1u << 20) - 5 + 2);
  // A megabyte-long line without any line end in a lease list gives no row (it is the heading).
  EXPECT_EQ(Import(std::string(1 << 20, '\t'), LogFormat::WindowsDhcpServer), Rows());
}

// The import as the steps say it, row by row, to compare the import with.
Rows ReferenceImport(const std::vector<LogEntry>& entries, CollationApi& collation) {
  Rows rows;
  for (const LogEntry& entry : entries) {
    if (!entry.mac.empty()) rows.emplace_back(entry.timeKey, entry.mac);
  }
  std::stable_sort(rows.begin(), rows.end(), [&](const auto& a, const auto& b) {
    return collation.Compare(a.second, b.second) < 0;
  });
  for (size_t i = rows.size(); i-- > 1;) {
    if (rows[i].second == rows[i - 1].second) rows.erase(rows.begin() + static_cast<long>(i));
  }
  std::stable_sort(rows.begin(), rows.end(), [&](const auto& a, const auto& b) {
    return collation.Compare(a.first, b.first) < 0;
  });
  for (size_t i = 0; i < rows.size(); ++i) rows[i].first = ZeroPad(static_cast<long long>(i + 1), 3);
  return rows;
}

TEST(ImportLogBytes, BinaryInputGivesRowsOnlyWhereTheRulesDo) {
  // A megabyte of random bytes without NUL (fixed seed): no "Rcvd DHCP" line, while some lines
  // hold four tabs by chance and so give a lease list row with whatever field 5 holds.
  std::mt19937 random(7);
  std::string binary(1 << 20, '\0');
  for (char& c : binary) c = static_cast<char>(random() % 255 + 1);
  binary[0] = '\x7F';
  EXPECT_EQ(Import(binary, LogFormat::Tftpd32), Rows());
  Rows expected =
      ReferenceImport(CollectWindowsDhcpEntries(CutLogLines(binary)), SystemCollationApi());
  EXPECT_FALSE(expected.empty());
  EXPECT_EQ(Import(binary, LogFormat::WindowsDhcpServer), expected);
  // The same bytes behind a NUL give nothing at all.
  EXPECT_EQ(Import(std::string(1, '\0') + binary, LogFormat::WindowsDhcpServer), Rows());
}

TEST(ImportLogBytes, RandomLogsMatchTheStepByStepImport) {
  // Fixed seeds; logs built from the pieces the rules look for, with repeated MACs, mixed case,
  // short and odd time parts, stray line ends and bytes.
  const std::vector<std::string> pieces = {
      "Rcvd DHCP ", "Rqst Msg for IP 192.168.0.5, ", "Mac ", "Mac", ":", " ", "[", "]", "/", ".",
      "\t", ",", "\r\n", "\r", "\n", "00", "0b", "0B", "29", "4e", "4E", "3a", "ff", "12", "31",
      "01", "2026/12/5 9:05:00", "2007-5-20", "Reservation (active)", "\xB1\xA3", "-", "_"};
  PortableCodePageApi codePage;
  CollationApi& collation = SystemCollationApi();
  for (unsigned seed = 1; seed <= 300; ++seed) {
    std::mt19937 random(seed);
    std::string log;
    size_t count = random() % 400;
    for (size_t i = 0; i < count; ++i) log += pieces[random() % pieces.size()];
    if (random() % 50 == 0) log.insert(random() % (log.size() + 1), 1, '\0');
    for (LogFormat format : {LogFormat::Tftpd32, LogFormat::WindowsDhcpServer}) {
      std::vector<std::string> lines = CutLogLines(log);
      std::vector<LogEntry> entries = format == LogFormat::Tftpd32
                                          ? CollectTftpdEntries(lines)
                                          : CollectWindowsDhcpEntries(lines);
      Rows expected = ReferenceImport(entries, collation);
      if (expected.empty() && format == LogFormat::WindowsDhcpServer) {
        expected = ReferenceImport(CollectWindowsDhcpEntries(lines, true), collation);
      }
      ListModel model;
      bool any = ImportLogBytes(log, format, model, collation, codePage);
      ASSERT_EQ(RowsOf(model), expected) << "seed " << seed;
      ASSERT_EQ(any, !expected.empty()) << "seed " << seed;

      // The same text saved as UTF-16LE with its mark: read converted, lease list lines
      // without a tab cut at commas.
      std::u16string wide;
      for (char c : log) wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
      std::vector<std::string> converted = CutLogLines(codePage.Utf16ToAnsi(wide));
      Rows expectedWide =
          ReferenceImport(format == LogFormat::Tftpd32
                              ? CollectTftpdEntries(converted)
                              : CollectWindowsDhcpEntries(converted, true),
                          collation);
      ListModel wideModel;
      ImportLogBytes(Utf16Le(wide), format, wideModel, collation, codePage);
      ASSERT_EQ(RowsOf(wideModel), expectedWide) << "seed " << seed << " as UTF-16";
    }
  }
}

}  // namespace
