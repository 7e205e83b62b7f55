// DHCP log import: cutting lines, the TFTPD32 reader, the Windows lease list reader, MAC texts
// and time keys, the whole import with its fallback to the other readers, UTF-16 and
// comma-delimited lease lists, and bad input.
#include "generator/log_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "common/text_rules.h"
#include "generator/log_readers/text_lines.h"
#include "platform/portable/portable_code_page.h"
#include "platform/portable/portable_collation.h"
#include "tests/hex_bytes.h"

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
      // A run of NULs (blocks a crash left unwritten) ends a line; reading goes on.
      {std::string("ab\0cd\r\nef", 9), {"ab", "cd", "ef"}},
      {std::string("\0abc", 4), {"", "abc"}},
      {std::string("a\0\0\0\r\nb\0", 8), {"a", "", "b"}},
      {std::string("a\r\n\0\0b", 6), {"a", "b"}},  // NULs after a line end belong to it
      {"\xB1\xBE\xB5\xD8\r\n\x81\x0D", {"\xB1\xBE\xB5\xD8", "\x81"}},  // bytes as they are
  };
  for (const Case& c : cases) EXPECT_EQ(CutLogLines(c.bytes), c.lines) << c.bytes;
}

// The quick count a log reader gives for a file without its marker is the count of its lines.
TEST(CutLogLines, QuickCountMatchesTheLinesVisited) {
  for (const std::string& text : {std::string(), std::string("a"), std::string("a\n"),
                                 std::string("a\r\n"), std::string("a\rb"), std::string("a\n\r"),
                                 std::string("\r\n\r\n"), std::string("a\r\r\nb\n\nc"),
                                 std::string("a\r"), std::string("ab\0cd\n\n", 7),
                                 std::string("\0\0a\r\0", 5), std::string("a\0\0\n\0b", 6),
                                 std::string("a\n\0\0b\n", 6)}) {
    EXPECT_EQ(CountTextLines(text), ForEachTextLine(text, [](std::string_view, size_t) {}))
        << HexBytes(text);
  }
}

TEST(Tftpd32Reader, ReadsMacAndTimeKeyOfRcvdDhcpLines) {
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

TEST(Tftpd32Reader, ReadsEntriesWithTheirLineNumbers) {
  const std::string log =
      "Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:0b:29:4e:57:3a [12/10 14:03:27.593]\r\n"
      "DHCP: proposed address 192.168.0.5 [12/10 14:03:27.594]\r\n"
      "Rcvd DHCP Discover Msg for IP 0.0.0.0 [12/10 14:03:28.000]\n"  // a lone LF: one line
      "Rcvd DHCP Rqst Msg for IP 192.168.0.6, Mac 00:0b:29:11:22:33 [12/10 14:03:29.015]\r\n"
      "Rcvd DHCP Rqst Msg for IP 192.168.0.7, Mac 00:0b:29:aa:bb:cc [12/10 14:03:30.000]";
  LogReading reading = ReadTftpdLog(log);
  EXPECT_EQ(reading.lines, 4u);
  ASSERT_EQ(reading.entries.size(), 3u);
  const struct {
    const char* mac;
    size_t line;
  } expected[] = {{"000B294E573A", 1}, {"000B29112233", 3}, {"000B29AABBCC", 4}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(reading.entries[i].mac, expected[i].mac) << i;
    EXPECT_EQ(reading.entries[i].line, expected[i].line) << i;
  }
  EXPECT_EQ(reading.entries[2].timeKey, "1012140330000");
}

TEST(MacText, SpellingsClientIdsAndTextsThatAreNoMac) {
  const struct {
    const char* text;
    const char* mac;  // nullptr: no MAC address
  } cases[] = {
      {"00-0b-29-4e-57-3a", "000B294E573A"},
      {"00:0b:29:4e:57:3a", "000B294E573A"},
      {"000b.294e.573a", "000B294E573A"},
      {"000B294E573A", "000B294E573A"},
      {" 000b294e573a \t", "000B294E573A"},
      {"01-00-0b-29-4e-57-3a", "000B294E573A"},  // client identifier of hardware type 1
      {"01:00:0b:29:4e:57:3a", "000B294E573A"},
      {"01000b294e573a", "000B294E573A"},
      {"02-00-0b-29-4e-57-3a", nullptr},  // another hardware type
      {"00-0b-29-4e-57", nullptr},
      {"00-0b-29-4e-57-3a-01", nullptr},
      {"00 0b 29 4e 57 3a", nullptr},
      {"00-0b-29-4e-57-3g", nullptr},
      {"[x]", nullptr},
      {"a=b", nullptr},
      {"000b294e=573a", nullptr},
      {"\"00-0b-29-4e-57-3a\"", nullptr},
      {"", nullptr},
      {"---", nullptr},
  };
  for (const auto& c : cases) {
    std::string mac = "unchanged";
    EXPECT_EQ(NormalizeMacText(c.text, &mac), c.mac != nullptr) << c.text;
    if (c.mac) {
      EXPECT_EQ(mac, c.mac) << c.text;
    }
  }
}

TEST(WindowsLeaseListReader, TimeKeyOfLeaseExpiration) {
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
      {"2007-5-20 9:05:00 PM", "20070520210500"},  // AM and PM are honoured
      {"2007-5-20 12:05:00 AM", "20070520000500"},
      {"2007-5-20 12:05:00 pm", "20070520120500"},
      {"2026-12-15 \xC9\xCF\xCE\xE7 12:30:00", "20261215003000"},  // 上午
      {"2026-12-15 \xCF\xC2\xCE\xE7 1:05:00", "20261215130500"},   // 下午
      {"2026/12/15 \xCF\xC2\xCE\xE7 1:05", "20261215130500"},
      {"5/20/2007 9:05:00 PM", "20070520210500"},  // the year last: month/day/year
      {"12/5/2026 9:05:00 PM", "20261205210500"},
      {"12/5/2026", "20261205000000"},
      {"20.05.2007 21:05:00", "999999999999990000000007"},  // day first only when told
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
      {"20071-5-20", "999999999999990000000007"},
      {"2007-123-5", "999999999999990000000007"},
      {"2007-5-20 9:05:001", "999999999999990000000007"},
  };
  for (const Case& c : cases) EXPECT_EQ(LeaseTimeKey(c.text, 7), c.key) << c.text;
  // A file whose dates show a day above 12 before the year reads all its dates day first.
  EXPECT_TRUE(ShowsDayFirst("13/11/2026 18:00:00"));
  EXPECT_FALSE(ShowsDayFirst("12/11/2026 18:00:00"));
  EXPECT_FALSE(ShowsDayFirst("2026/13/11"));
  EXPECT_EQ(LeaseTimeKey("5/12/2026 09:05:00", 0, true), "20261205090500");
  EXPECT_EQ(LeaseTimeKey("20.05.2007 21:05:00", 0, true), "20070520210500");
  EXPECT_EQ(LeaseTimeKey("2026/12/5 9:05:00", 0, true), "20261205090500");  // year first stays
}

TEST(WindowsLeaseListReader, TimeKeyOfSecondsSince1970) {
  // Expectations from date -u -d @N +%Y%m%d%H%M%S.
  const struct {
    long long seconds;
    const char* key;
  } cases[] = {{0, "19700101000000"},          {951782400, "20000229000000"},
               {1796630400, "20261207080000"}, {4102444799, "20991231235959"},
               {253402300799, "99991231235959"}};
  std::string key;
  for (const auto& c : cases) {
    ASSERT_TRUE(EpochTimeKey(c.seconds, &key)) << c.seconds;
    EXPECT_EQ(key, c.key) << c.seconds;
  }
  EXPECT_FALSE(EpochTimeKey(-1, &key));
  EXPECT_FALSE(EpochTimeKey(253402300800, &key));
}

TEST(WindowsLeaseListReader, CutsFieldsAtTabsAndSkipsTheHeading) {
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
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  std::vector<LogEntry> entries = ReadWindowsLeaseList(text, false).entries;
  ASSERT_EQ(entries.size(), expected.size());
  const size_t lineNumbers[] = {2, 4, 5, 6, 7};
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(entries[i].mac, expected[i].first) << i;
    EXPECT_EQ(entries[i].timeKey, expected[i].second) << i;
    EXPECT_EQ(entries[i].line, lineNumbers[i]) << i;
  }
  std::vector<LogEntry> withCommas = ReadWindowsLeaseList(text, true).entries;
  ASSERT_EQ(withCommas.size(), expected.size());
  EXPECT_EQ(withCommas[4].mac, "E");
  EXPECT_EQ(withCommas[0].mac, "000B294E573A");  // lines with tabs are cut at tabs as before
  EXPECT_TRUE(ReadWindowsLeaseList("Client IP Address\tName\r\n", false).entries.empty());
  EXPECT_TRUE(ReadWindowsLeaseList("", true).entries.empty());
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
      {"the chosen rule reads nothing: the TFTPD32 reader takes the file", LogFormat::WindowsDhcpServer,
       rqst + "Mac 00:0b:29:4e:57:3a [12/10 14:03:27.593]\r\n" + rqst +
           "Mac 00:0b:29:11:22:33 [12/10 14:03:29.015]\r\n",
       {{"001", "000B294E573A"}, {"002", "000B29112233"}}},
      {"every MAC spelling; texts that are no MAC address give no row", LogFormat::WindowsDhcpServer,
       "heading\r\n"
       "192.168.0.10\tPC\t2026/12/5 9:00:00\tDHCP\t00-0b-29-00-00-01\r\n"
       "192.168.0.11\tPC\t2026/12/5 9:01:00\tDHCP\t[x]\r\n"
       "192.168.0.12\tPC\t2026/12/5 9:02:00\tDHCP\t00:0b:29:00:00:02\r\n"
       "192.168.0.13\tPC\t2026/12/5 9:03:00\tDHCP\ta=b\r\n"
       "192.168.0.14\tPC\t2026/12/5 9:04:00\tDHCP\t000b.2900.0003\r\n"
       "192.168.0.15\tPC\t2026/12/5 9:05:00\tDHCP\t\r\n"
       "192.168.0.16\tPC\t2026/12/5 9:06:00\tDHCP\t01-00-0b-29-00-00-04\r\n"
       "192.168.0.17\tPC\t2026/12/5 9:07:00\tDHCP\t000B29000001\r\n",  // the first again
       {{"001", "000B29000001"}, {"002", "000B29000002"}, {"003", "000B29000003"},
        {"004", "000B29000004"}}},
      {"a TFTPD32 MAC with hyphens", LogFormat::Tftpd32,
       rqst + "Mac 00-0b-29-4e-57-3a [12/10 14:03:27.593]\r\n", {{"001", "000B294E573A"}}},
      {"empty file", LogFormat::Tftpd32, "", {}},
      {"empty lease list", LogFormat::WindowsDhcpServer, "", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Import(c.bytes, c.format), c.rows) << c.name;
}

TEST(ImportLogBytes, ReplacesRowsAndLeavesTheDirectionAscending) {
  PortableCodePageApi codePage;
  ListModel model;
  model.direction = SortDirection::Descending;
  model.rows.resize(2);
  for (ListRow& row : model.rows) row.cells[1] = row.cells[2] = row.cells[3] = "old";
  const std::string log =
      "Rcvd DHCP Rqst Msg, Mac 00:0b:29:4e:57:3a [12/10 14:03:27.593]\r\n";
  EXPECT_TRUE(ImportLogBytes(log, LogFormat::Tftpd32, model, SystemCollationApi(), codePage));
  EXPECT_EQ(RowsOf(model), Rows({{"001", "000B294E573A"}}));
  EXPECT_EQ(model.rows[0].cells[1] + model.rows[0].cells[2], "") << "no address or name is kept";
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

  EXPECT_EQ(Import(comma, LogFormat::WindowsDhcpServer), kLeaseRows);
  // Chinese names and an odd last byte change nothing.
  std::u16string chinese = wide;
  chinese.replace(chinese.find(u"PC-01"), 5, u"\u8d22\u52a1\u90e8");
  EXPECT_EQ(Import(Utf16Le(chinese) + "x", LogFormat::WindowsDhcpServer), kLeaseRows);
  // A TFTPD32 log saved as Unicode text.
  std::u16string tftpd =
      u"Rcvd DHCP Rqst Msg for IP 192.168.0.5, Mac 00:0b:29:4e:57:3a [12/10 14:03:27.593]\r\n";
  EXPECT_EQ(Import(Utf16Le(tftpd), LogFormat::Tftpd32), Rows({{"001", "000B294E573A"}}));
}

TEST(ImportLogBytes, FilesThatGiveRowsAsTheyAreAreNotReadAgain) {
  // Tab lines give rows, so comma lines stay without rows as before.
  std::string mixed = std::string(kLeaseList) + "192.168.0.13,PC,2026/12/1 9:00:00,DHCP,000b29000001\r\n";
  EXPECT_EQ(Import(mixed, LogFormat::WindowsDhcpServer), kLeaseRows);
  // An ANSI log after the bytes FF FE is read as ANSI when that gives rows.
  std::string marked = "\xFF\xFE\r\nRcvd DHCP Rqst Msg, Mac 00:0b:29:4e:57:3a [12/10 14:03:27.593]\r\n";
  EXPECT_EQ(Import(marked, LogFormat::Tftpd32), Rows({{"001", "000B294E573A"}}));
  // A UTF-16 text without the mark is read as bytes: each NUL ends a line, no line is a lease.
  std::string unmarked = Utf16Le(u"heading\r\n1\t2\t2026/12/5 9:05:00\t4\t000b294e573a\r\n").substr(2);
  EXPECT_EQ(Import(unmarked, LogFormat::WindowsDhcpServer), Rows());
}

TEST(ImportLogBytes, LongLinesAndBinaryInput) {
  // A megabyte-long MAC text is no MAC address: the line is left out, the next one counts.
  std::string hugeMac(1 << 20, 'A');
  std::string log = "Rcvd DHCP Rqst Msg, Mac " + hugeMac + " [12/10 14:03:27.593]\r\n" +
                    "Rcvd DHCP Rqst Msg, Mac 00:0b:29:4e:57:3a [12/10 14:03:28.000]\r\n";
  PortableCodePageApi codePage;
  ListModel model;
  ImportReport report;
  ImportLogBytes(log, LogFormat::Tftpd32, model, SystemCollationApi(), codePage, &report);
  EXPECT_EQ(RowsOf(model), Rows({{"001", "000B294E573A"}}));
  ASSERT_EQ(report.leftOut.size(), 1u);
  EXPECT_EQ(report.leftOut[0].line, 1u);
  EXPECT_EQ(report.leftOut[0].text, std::string(64, 'A'));
  // A megabyte of colons and brackets after "Mac ".
  std::string colons = "Rcvd DHCP Mac " + std::string(1 << 20, ':') + "[]" + "\r\n";
  EXPECT_EQ(Import(colons, LogFormat::Tftpd32), Rows());
  // A megabyte-long line without any line end in a lease list gives no row (it is the heading).
  EXPECT_EQ(Import(std::string(1 << 20, '\t'), LogFormat::WindowsDhcpServer), Rows());
}

TEST(ImportLogBytes, BinaryInputGivesRowsOnlyWhereTheRulesDo) {
  // A megabyte of random bytes without NUL (fixed seed) holds no machine for any reader; one
  // well-formed lease line after it is the only row.
  std::mt19937 random(7);
  std::string binary(1 << 20, '\0');
  for (char& c : binary) c = static_cast<char>(random() % 255 + 1);
  binary[0] = '\x7F';
  for (LogFormat format : {LogFormat::Tftpd32, LogFormat::WindowsDhcpServer, LogFormat::Auto}) {
    EXPECT_EQ(Import(binary, format), Rows()) << LogFormatName(format);
  }
  const std::string lease = "\r\n1\t2\t2026/12/5 9:05:00\t4\t000b294e573a\r\n";
  EXPECT_EQ(Import(binary + lease, LogFormat::WindowsDhcpServer), Rows({{"001", "000B294E573A"}}));
  // NULs in front end a line and change nothing.
  EXPECT_EQ(Import(std::string(3, '\0') + binary + lease, LogFormat::WindowsDhcpServer),
            Rows({{"001", "000B294E573A"}}));
}

}  // namespace
